// The include script file of the options dialog and the template syntax test.
#include <gtest/gtest.h>

#include <fstream>

#include "options/options_test_support.h"
#include "script/engine.h"

namespace galvora::testing {
namespace {

using namespace std::string_literals;

constexpr int kZantoscriptFile = 79;
constexpr int kHtmlHeadDisable = 116;

class IncludeFileTest : public OptionsTest {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path p = tmp.path() / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    void type(const std::string& text) { dialog().user_text(control("ZNSDatei"), text); }
    uint32_t colour() { return control("ZNSDatei").state().back_colour; }
    std::vector<std::string> module_names() {
        std::vector<std::string> names;
        for (const auto& m : ScriptFileModules()) names.push_back(m->Name());
        return names;
    }
};

TEST_F(IncludeFileTest, TypingLoadsAsSoonAsThePathNamesAFile) {
    const std::string file = write("inc.zsf", "!*helfer\r\n!+function h() { return 1; }\r\n");
    const std::string partial = file.substr(0, file.size() - 2);
    type(partial);
    EXPECT_EQ(profilwert(kZantoscriptFile), partial);
    EXPECT_EQ(colour(), kLightRed);
    EXPECT_TRUE(module_names().empty());
    type(file);
    EXPECT_EQ(colour(), kLightGreen);
    EXPECT_EQ(module_names(), std::vector<std::string>{"helfer"});
    EXPECT_FALSE(ScriptFileModules().verändert());
    // A folder is no file.
    type(tmp.path().string());
    EXPECT_EQ(colour(), kLightRed);
    EXPECT_TRUE(module_names().empty());
    type("");
    EXPECT_EQ(colour(), kSysWindowBackground);
    EXPECT_EQ(profilwert(kZantoscriptFile), "");
}

TEST_F(IncludeFileTest, UnreadableFileTurnsTheBoxRed) {
    const std::string file = write("bad.zsf", "!+text before any module\n");
    type(file);
    EXPECT_EQ(colour(), kLightRed);
    EXPECT_EQ(port.boxes.size(), 1u);
}

TEST_F(IncludeFileTest, OpenReloadsEvenTheFileShownAlready) {
    const std::string file = write("inc.zsf", "!*a\n!+x = 1;\n");
    dialogs.files = {file, file, ""};
    dialog().user_click(control("ZNSDateiButton"));
    EXPECT_EQ(module_names(), std::vector<std::string>{"a"});
    ScriptFileModules().item("a")->inhalt("changed in the editor");
    dialog().user_click(control("ZNSDateiButton"));
    EXPECT_EQ(ScriptFileModules().item("a")->inhalt(), "x = 1;");
    dialog().user_click(control("ZNSDateiButton"));  // cancelled
    EXPECT_EQ(control("ZNSDatei").state().text, file);
    ASSERT_EQ(dialogs.file_asks.size(), 3u);
    EXPECT_FALSE(dialogs.file_asks[0].save);
    EXPECT_EQ(dialogs.file_asks[1].proposed, file);
    EXPECT_EQ(dialogs.file_asks[0].title, "ZantoScript-Datei auswählen");
    EXPECT_EQ(dialogs.file_asks[0].filter, "ZantoScript-Datei\0*.zsf\0*.*\0*.*\0"s);
}

TEST_F(IncludeFileTest, ResetEmptiesListAndSettingButKeepsTheFile) {
    const std::string file = write("inc.zsf", "!*a\n!+x = 1;\n");
    type(file);
    dialog().user_click(control("ZNSDateiResetAsButton"));
    EXPECT_TRUE(module_names().empty());
    EXPECT_EQ(profilwert(kZantoscriptFile), "");
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(IncludeFileTest, SaveAndSaveAs) {
    dialog().user_click(control("ZNSDateiSaveButton"));  // empty box: nothing
    EXPECT_TRUE(dialogs.file_asks.empty());
    EXPECT_EQ(colour(), kSysWindowBackground);

    ScriptFileModules().add("neu", "y = 2;", kModuleNotCompiled);
    const std::string target = (tmp.path() / "saved.zsf").string();
    dialogs.files = {target};
    dialog().user_click(control("ZNSDateiSaveAsButton"));
    ASSERT_EQ(dialogs.file_asks.size(), 1u);
    EXPECT_TRUE(dialogs.file_asks[0].save);
    EXPECT_EQ(dialogs.file_asks[0].proposed, "");
    EXPECT_EQ(dialogs.file_asks[0].flags, kFileDialogOverwritePrompt);
    EXPECT_EQ(control("ZNSDatei").state().text, target);
    EXPECT_EQ(colour(), kLightGreen);
    EXPECT_EQ(module_names(), std::vector<std::string>{"neu"});  // read back from the file written
    EXPECT_EQ(profilwert(kZantoscriptFile), target);

    // Saving where nothing can be written: save turns red, save as changes nothing.
    const std::string blocked = (tmp.path() / "no-such-folder" / "x.zsf").string();
    dialogs.files = {blocked};
    port.boxes.clear();
    dialog().user_click(control("ZNSDateiSaveAsButton"));
    EXPECT_EQ(control("ZNSDatei").state().text, target);
    EXPECT_EQ(colour(), kLightGreen);
    EXPECT_EQ(port.boxes.size(), 1u);
    fs::remove(target);
    fs::create_directory(target);  // a folder where the file was: the store fails
    dialog().user_click(control("ZNSDateiSaveButton"));
    EXPECT_EQ(colour(), kLightRed);
}

TEST_F(IncludeFileTest, ProfileLoadSetsThePathAndReloadsOnlyWhenItChanges) {
    const std::string file = write("inc.zsf", "!*a\n!+x = 1;\n");
    load({{kZantoscriptFile, file}});
    EXPECT_EQ(control("ZNSDatei").state().text, file);
    EXPECT_EQ(module_names(), std::vector<std::string>{"a"});
    ScriptFileModules().item("a")->inhalt("edited");
    profil_anwenden();  // the same path: the modules stay as edited
    EXPECT_EQ(ScriptFileModules().item("a")->inhalt(), "edited");
    EXPECT_FALSE(profil_geaendert);
}

class SyntaxTestTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        click_node(kBoxThumbLayout);
    }
    void select_and_store(int entry, const std::string& editor_text) {
        dialog().editor().TagWaehlen(entry);
        dialog().user_text(control("Tag_Input"), editor_text);
        dialog().user_focus_out(control("Tag_Input"));  // pressing the button takes the focus
    }
};

TEST_F(SyntaxTestTest, EmptyTemplateNeedsNoTest) {
    select_and_store(173, "");
    dialog().user_click(control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_EQ(port.boxes[0].text, msg("ErrTagLastErr", {"HTML-Thumbseite", TemplateEditor::description(173),
                                                         "Syntaxtest nicht nötig"}));
}

TEST_F(SyntaxTestTest, HeadWithScriptSwitchedOffIsNotCompiled) {
    profilwert_setzen(kHtmlHeadDisable, "1");
    select_and_store(149, "{ kaputt ( }");
    dialog().user_click(control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("Syntaxtest nicht nötig"), std::string::npos);
}

TEST_F(SyntaxTestTest, ErrorPutsTheCaretOnItWhateverTheLineBreaks) {
    // Line 3 holds the error; the stored text ends its lines with CR LF.
    select_and_store(150, "<b>\nzwei\n{x = (;}");
    ASSERT_EQ(profilwert(150), "<b>\r\nzwei\r\n{x = (;}");
    (void)dialog().take_view_requests();
    dialog().user_click(control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, MB_ICON_EXCLAMATION);
    EXPECT_NE(port.boxes[0].text.find("HTML-Thumbseite"), std::string::npos);
    const ControlState& box = control("Tag_Input").state();
    const std::string& text = box.text;
    ASSERT_LT(static_cast<size_t>(box.selection_start), text.size());
    EXPECT_EQ(text[static_cast<size_t>(box.selection_start)], ';');
    EXPECT_EQ(control("tag_input_pos").state().caption.rfind("Zeile 3:3", 0), 0u);
    bool focus = false;
    for (const auto& [c, r] : dialog().take_view_requests()) focus = focus || (c == &control("Tag_Input") && r == ViewRequest::Focus);
    EXPECT_TRUE(focus);
    // The test leaves no script function behind.
    EXPECT_FALSE(zns()->fkt_oba.funktion_per_bezeichner("HTML_TITLE"));
}

TEST_F(SyntaxTestTest, SuccessShowsTheCompilersText) {
    select_and_store(150, "Titel {x = 1; x}");
    dialog().user_click(control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_EQ(port.boxes[0].text, msg("ErrTagLastErr", {"HTML-Thumbseite", TemplateEditor::description(150), "Code Ok"}));
    EXPECT_FALSE(zns()->fkt_oba.funktion_per_bezeichner("HTML_TITLE"));
}

TEST_F(SyntaxTestTest, NothingWithoutTheEditorShown) {
    click_node(6);
    dialog().user_click(control("SyntaxTest"));
    EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace galvora::testing
