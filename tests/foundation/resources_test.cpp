#include "foundation/resources.h"

#include <gtest/gtest.h>

#include "foundation/error.h"
#include "ui_test_support.h"

namespace galvora {
namespace {

struct ReadOutcome {
    long error = 0;
    std::string source;
    std::string description;
};

ReadOutcome read_into(CResources& res, const std::string& path) {
    try {
        res.ReadFile(path);
    } catch (const GalvoraError& e) {
        return {e.number(), e.source(), e.description()};
    }
    return {};
}

struct BadFileCase {
    const char* name;
    const char* content;
    long error;
    const char* description;
};

TEST(ResourcesReadFile, FaultyLinesStopWithTheirError) {
    const BadFileCase cases[] = {
        {"entry before any header", "a = b\n[S]\n", 1001, "Section missing"},
        {"header with a remark is an entry line", "[S] remark\n", 1001, "Section missing"},
        {"unclosed header inside a section", "[S]\n[T\n", 1002, "Value missing"},
        {"line without equals sign", "[S]\nkey only\n", 1002, "Value missing"},
        {"tab before semicolon is no comment", "[S]\n\t; note\n", 1002, "Value missing"},
        {"comment before header does not open it", ";[S]\nk = v\n", 1001, "Section missing"},
    };
    test::TempFolder tmp;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CResources res;
        ReadOutcome out = read_into(res, tmp.write("bad.lng", c.content).string());
        EXPECT_EQ(out.error, c.error);
        EXPECT_EQ(out.description, c.description);
        EXPECT_EQ(out.source, "ResourceReadFileReadError");
    }
}

TEST(ResourcesReadFile, GrammarOfGoodFiles) {
    test::TempFolder tmp;
    const std::string content =
        "; comment\r\n"
        "\r\n"
        "  [  Msg  ]  \r\n"
        "Key1 = first = with equals \r\n"
        "empty =   \r\n"
        "  = no key\r\n"
        "quoted = \"%1 stays\" ; not a comment\r\n"
        "[Other]\r"              // lone CR ends a line
        "x=1\n"                  // and so does a lone LF
        "[msg]\n"
        "KEY1 = second definition\n"
        "tabbed =\tvalue\t\n";
    CResources res;
    ReadOutcome out = read_into(res, tmp.write("good.lng", content).string());
    ASSERT_EQ(out.error, 0) << out.description;

    ASSERT_EQ(res.count(), 2);
    const CResourceSection* msg = res.item("MSG");
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->key(), "Msg");  // the name as first written, blanks inside the brackets dropped
    EXPECT_FALSE(msg->init());
    ASSERT_NE(msg->item("key1"), nullptr);
    EXPECT_EQ(msg->item("key1")->value, "first = with equals");
    EXPECT_EQ(msg->item("key1")->key, "Key1");
    EXPECT_EQ(msg->item("empty"), nullptr);
    EXPECT_EQ(msg->item("quoted")->value, "\"%1 stays\" ; not a comment");
    EXPECT_EQ(msg->item("tabbed")->value, "\tvalue\t");  // only blanks are trimmed
    EXPECT_EQ(msg->count(), 3);
    ASSERT_NE(res.item("other"), nullptr);
    EXPECT_EQ(res.item("other")->item("X")->value, "1");
}

TEST(ResourcesReadFile, CommentsOnlyAndEmptyNameAndMissingFile) {
    test::TempFolder tmp;
    CResources res;
    EXPECT_EQ(read_into(res, tmp.write("c.lng", "; one\n\n   ; two\n").string()).error, 0);
    EXPECT_EQ(res.count(), 0);

    EXPECT_EQ(read_into(res, "").error, 0);

    ReadOutcome missing = read_into(res, (tmp.path() / "absent.lng").string());
    EXPECT_NE(missing.error, 0);
    EXPECT_EQ(missing.source, "ResourceReadFileOpenError");
    EXPECT_FALSE(missing.description.empty());

    ReadOutcome folder = read_into(res, tmp.path().string());
    EXPECT_NE(folder.error, 0);
    EXPECT_EQ(folder.source, "ResourceReadFileOpenError");
}

TEST(ResourcesReadFile, CurrentSectionDoesNotCarryOverAndEarlierLinesStay) {
    test::TempFolder tmp;
    CResources res;
    ASSERT_EQ(read_into(res, tmp.write("a.lng", "[S]\na=1\n").string()).error, 0);
    // A second file must open its own section first.
    EXPECT_EQ(read_into(res, tmp.write("b.lng", "b=2\n").string()).error, 1001);
    // A failing line keeps what was read before it.
    EXPECT_EQ(read_into(res, tmp.write("c.lng", "[T]\nc=3\nbroken\n").string()).error, 1002);
    ASSERT_NE(res.item("T"), nullptr);
    EXPECT_EQ(res.item("T")->item("c")->value, "3");
}

TEST(ResourcesReadFile, Windows1252FileIsDecoded) {
    test::TempFolder tmp;
    CResources res;
    ASSERT_EQ(read_into(res, tmp.write("w.lng", "[S]\nk = Gr\xF6\xDF" "e\n").string()).error, 0);
    EXPECT_EQ(res.item("S")->item("k")->value, "Größe");
}

TEST(ResourceSection, FirstDefinitionWinsAndRemoveIgnoresAbsentKeys) {
    CResources res;
    CResourceSection& s = res.add("Fenster");
    EXPECT_EQ(&res.add("FENSTER"), &s);
    CResource& first = s.add("Erster", "Key");
    CResource& again = s.add("Zweiter", "KEY");
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(again.value, "Erster");
    s.add("Ä-Text", "Äpfel");
    EXPECT_EQ(s.item("äPFEL")->value, "Ä-Text");  // letter case of umlauts too
    s.remove("nothing");
    s.remove("key");
    EXPECT_EQ(s.item("Key"), nullptr);
    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(res.item("absent"), nullptr);
}

}  // namespace
}  // namespace galvora
