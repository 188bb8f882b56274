#include "app/script_file.h"

#include "app/app_test_support.h"
#include "app/run_start.h"
#include "foundation/file_size_limit.h"

namespace galvora::testing {
namespace {

class ScriptFile : public AppTest {
protected:
    std::string path(const std::string& name) { return (tmp.path() / name).string(); }
    std::vector<std::pair<std::string, std::string>> modules() {
        std::vector<std::pair<std::string, std::string>> list;
        for (const auto& m : ScriptFileModules()) list.emplace_back(m->Name(), m->inhalt());
        return list;
    }
};

TEST_F(ScriptFile, ReadsModulesCommentsAndBlanksAsTheFormatSays) {
    write_file(path("a.zsf"),
               "* a comment\r\n\r\n   !*  spaced  \r\n!+ first\r\n  !+second\r\n!*m\r\n!+\r\n!+a\r\n!*Spaced\r\n!+later\r\n");
    ASSERT_TRUE(ZNSLoad(path("a.zsf")));
    EXPECT_TRUE(port.boxes.empty());
    // "  spaced" and "Spaced" differ in their leading blanks, so both stay;
    // m keeps its empty first line.
    EXPECT_EQ(modules(), (std::vector<std::pair<std::string, std::string>>{
                             {"  spaced", " first\r\nsecond"}, {"m", "\r\na"}, {"Spaced", "later"}}));
    EXPECT_FALSE(ScriptFileModules().verändert());
}

// A module that begins with empty lines keeps them, as the profile's own
// modules do. Dropped, as a text that is still empty would take the next
// line without a break, every line after them would move up, and a compile
// error would name a line other than the one the file and the editor show.
TEST_F(ScriptFile, LeadingEmptyLinesOfAModuleAreKeptSoErrorLinesMatchTheFile) {
    write_file(path("lead.zsf"), "!*m\r\n!+\r\n!+\r\n!+function f( {\r\n!*empty\r\n!+\r\n!*none\r\n");
    ASSERT_TRUE(ZNSLoad(path("lead.zsf")));
    EXPECT_EQ(modules(), (std::vector<std::pair<std::string, std::string>>{
                             {"m", "\r\n\r\nfunction f( {"}, {"empty", ""}, {"none", ""}}));
    EXPECT_EQ(ScriptFileModules().item("m")->status(), kModuleCompileError);
    // The run start compiles the modules and names the faulty line.
    EXPECT_EQ(ModuleUebersetzen(), kModuleCompileError);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("in Zeile: 3"), std::string::npos) << port.boxes[0].text;
}

TEST_F(ScriptFile, LaterModuleOfTheSameNameReplacesTheEarlier) {
    write_file(path("dup.zsf"), "!*Mod\n!+one\n!*other\n!+x\n!*mod\n!+two\n");
    ASSERT_TRUE(ZNSLoad(path("dup.zsf")));
    EXPECT_EQ(modules(), (std::vector<std::pair<std::string, std::string>>{{"other", "x"}, {"mod", "two"}}));
}

TEST_F(ScriptFile, CompileStatusIsRecordedWithoutMessage) {
    write_file(path("c.zsf"), "!*ok\n!+function f() { return 1; }\n!*broken\n!+function g( {\n");
    ASSERT_TRUE(ZNSLoad(path("c.zsf")));
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(ScriptFileModules().item("ok")->status(), kModuleCompiled);
    EXPECT_EQ(ScriptFileModules().item("broken")->status(), kModuleCompileError);
}

TEST_F(ScriptFile, FaultyLinesAndMissingFilesEmptyTheListWithTheirMessage) {
    ScriptFileModules().add("kept", "x", kModuleNotCompiled);
    write_file(path("bad.zsf"), "* c\n\n!*m\n\t!+tabbed\n");
    EXPECT_FALSE(ZNSLoad(path("bad.zsf")));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript-Datei laden");
    EXPECT_EQ(port.boxes[0].text, msg("ErrZNSFileRead", {"1000", path("bad.zsf"), "4", "\t!+tabbed"}));
    EXPECT_EQ(ScriptFileModules().count(), 0);

    port.boxes.clear();
    write_file(path("early.zsf"), "!+text before a module\n");
    EXPECT_FALSE(ZNSLoad(path("early.zsf")));
    ASSERT_EQ(port.boxes.size(), 1u);

    port.boxes.clear();
    ScriptFileModules().add("kept", "x", kModuleNotCompiled);
    EXPECT_FALSE(ZNSLoad(path("missing.zsf")));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find(path("missing.zsf")), std::string::npos);
    EXPECT_EQ(ScriptFileModules().count(), 0);
    EXPECT_FALSE(ScriptFileModules().verändert());
}

TEST_F(ScriptFile, StoreWritesTheFormatAndLoadsBackTheSameTexts) {
    ScriptFileModules().add("m", "a\r\nb", kModuleNotCompiled);
    ScriptFileModules().add("empty", "", kModuleNotCompiled);
    ScriptFileModules().add("trailing", "x\r\n", kModuleNotCompiled);
    ASSERT_TRUE(ZNSStore(path("out.zsf")));
    EXPECT_EQ(read_file(path("out.zsf")), "!*m\r\n!+a\r\n!+b\r\n!*empty\r\n!+\r\n!*trailing\r\n!+x\r\n!+\r\n");
    EXPECT_FALSE(ScriptFileModules().verändert());
    ASSERT_TRUE(ZNSLoad(path("out.zsf")));
    EXPECT_EQ(modules(), (std::vector<std::pair<std::string, std::string>>{
                             {"m", "a\r\nb"}, {"empty", ""}, {"trailing", "x\r\n"}}));
}

TEST_F(ScriptFile, AFailedStoreIsReportedAndKeepsTheChangedMarks) {
    write_file(path("plain"), "a file, not a folder");
    ScriptFileModules().add("new", "y", kModuleNotCompiled);
    EXPECT_FALSE(ZNSStore(path("plain/x.zsf")));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript-Datei speichern");
    EXPECT_NE(port.boxes[0].text.find(path("plain/x.zsf")), std::string::npos);
    EXPECT_TRUE(ScriptFileModules().verändert());
    EXPECT_EQ(read_file(path("plain")), "a file, not a folder");
}

TEST_F(ScriptFile, CreatingAndWritingFailuresHaveTheirOwnMessages) {
    ScriptFileModules().add("long", std::string(4000, 'x'), kModuleNotCompiled);
    write_file(path("plain"), "a file, not a folder");
    EXPECT_FALSE(ZNSStore(path("plain/x.zsf")));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("beim Erzeugen der ZantoScript-Datei"), std::string::npos) << port.boxes[0].text;

    port.boxes.clear();
    write_file(path("kept.zsf"), "!*old\r\n!+y\r\n");
    {
        // The file can be made, its contents do not fit.
        FileSizeLimit limit(100);
        EXPECT_FALSE(ZNSStore(path("kept.zsf")));
    }
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript-Datei speichern");
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler ", 0), 0u);
    EXPECT_NE(port.boxes[0].text.find("beim Schreiben der ZantoScript-Datei"), std::string::npos) << port.boxes[0].text;
    EXPECT_NE(port.boxes[0].text.find(path("kept.zsf")), std::string::npos);
    EXPECT_TRUE(ScriptFileModules().verändert());
    EXPECT_EQ(read_file(path("kept.zsf")), "!*old\r\n!+y\r\n");
}

}  // namespace
}  // namespace galvora::testing
