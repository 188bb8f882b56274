#include "platform/ini_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace galvora;

TEST(IniStore, WritesReadableTextInInsertionOrder) {
    IniStore store;
    ASSERT_TRUE(store.set("Administration", "fwidth", "800"));
    ASSERT_TRUE(store.set("LastSession\\basedirs", "BD1", "/home/me/pics"));
    ASSERT_TRUE(store.set("LastSession\\basedirs", "BD0", "/srv/fotos"));
    ASSERT_TRUE(store.set("Administration", "fheigth", "600"));
    ASSERT_TRUE(store.set("administration", "FWIDTH", "1024"));  // names ignore case; the first spelling stays
    EXPECT_EQ(store.serialize(),
              "[Administration]\nfwidth=1024\nfheigth=600\n\n"
              "[LastSession\\basedirs]\nBD1=/home/me/pics\nBD0=/srv/fotos\n");
    EXPECT_EQ(store.get("ADMINISTRATION", "FHeigth").value(), "600");
    EXPECT_FALSE(store.get("Administration", "missing").has_value());
    EXPECT_FALSE(store.get("Missing", "fwidth").has_value());
    EXPECT_EQ(store.sections(), (std::vector<std::string>{"Administration", "LastSession\\basedirs"}));
}

TEST(IniStore, EveryNameAndValueSurvivesARoundTrip) {
    struct Case { std::string name, value; };
    const std::vector<Case> cases = {
        {"plain", "text with = and ; and # inside"},
        {"path", "C:\\Bilder\\neu"},
        {"empty", ""},
        {"", "the unnamed value"},
        {"lines", "one\r\ntwo\nthree"},
        {"padded", "  blanks at both ends  "},
        {"quoted", "\"starts with a quote\""},
        {"nul", std::string("before\0after", 12)},
        {"control", "bell\x07tab\t"},
        {"a=b", "name with equals"},
        {"[not a section]", "x"},
        {";not a comment", "y"},
        {"#neither", "z"},
        {" spaced name ", "w"},
        {"Urlaub M\xC3\xBCnchen", "Gr\xC3\xBC\xC3\x9F" "e|2024"},
        {"\"quote", "\\\""},
    };
    IniStore store;
    for (const auto& c : cases) ASSERT_TRUE(store.set("ProfilesLastData", c.name, c.value)) << c.name;
    const std::string text = store.serialize();
    IniStore again;
    ASSERT_TRUE(again.parse(text)) << text;
    for (const auto& c : cases) {
        const auto value = again.get("ProfilesLastData", c.name);
        ASSERT_TRUE(value.has_value()) << c.name;
        EXPECT_EQ(*value, c.value) << c.name;
    }
    ASSERT_NE(again.values("ProfilesLastData"), nullptr);
    EXPECT_EQ(again.values("ProfilesLastData")->size(), cases.size());
    EXPECT_EQ(again.serialize(), text);
}

TEST(IniStore, ReadsHandWrittenFiles) {
    IniStore store;
    ASSERT_TRUE(store.parse("; settings\r\n\r\n[A]\r\nx = 1\r\n# note\ry=2\n  [B]  \nz=\"q\\\"t\"\n[a]\nw=3\nx=4"));
    EXPECT_EQ(store.get("A", "x").value(), "4");  // a section written twice is read as one
    EXPECT_EQ(store.get("A", "y").value(), "2");
    EXPECT_EQ(store.get("A", "w").value(), "3");
    EXPECT_EQ(store.get("B", "z").value(), "q\"t");
    EXPECT_EQ(store.sections(), (std::vector<std::string>{"A", "B"}));
}

TEST(IniStore, RefusesTextThatIsNotASettingsFile) {
    const std::vector<std::string> broken = {
        "x=1\n[A]\n",               // a value before any section
        "[A]\njust some words\n",   // neither value nor section
        "[A\nx=1\n",                // unclosed section
        "[]\n",                     // empty section name
        "[A]\nx=\"unterminated\n",  // open quote
        "[A]\nx=\"bad \\q escape\"\n",
        "[A]\nx=\"trailing\" text\n",
        "[A]\n\"name\" value\n",
        std::string("\x89PNG\r\n\x1a\n\0\0\0", 11),
    };
    for (const auto& text : broken) {
        IniStore store;
        store.set("Kept", "a", "b");
        EXPECT_FALSE(store.parse(text)) << text;
        EXPECT_TRUE(store.sections().empty()) << text;
    }
    IniStore store;
    EXPECT_TRUE(store.parse(""));
    EXPECT_TRUE(store.parse("\n\n; only comments\n"));
}

TEST(IniStore, SectionsAreMadeAndRemovedWhole) {
    IniStore store;
    EXPECT_FALSE(store.set("", "x", "1"));
    EXPECT_FALSE(store.set("A]B", "x", "1"));
    EXPECT_FALSE(store.set("A\nB", "x", "1"));
    EXPECT_FALSE(store.set(" A", "x", "1"));
    EXPECT_TRUE(store.sections().empty());
    store.set("LastSession", "profile", "web");
    store.set("LastSession\\basedirs", "BD0", "/a");
    EXPECT_FALSE(store.remove_section("Nothing"));
    EXPECT_TRUE(store.remove_section("lastsession"));
    EXPECT_EQ(store.values("LastSession"), nullptr);
    // A nested section is a section of its own and stays.
    ASSERT_NE(store.values("LastSession\\basedirs"), nullptr);
    EXPECT_EQ(store.values("LastSession\\basedirs")->front().second, "/a");
}
