// The script module page and the new-module stand-in.
#include <gtest/gtest.h>

#include "foundation/string_helpers.h"
#include "generation/script_glue.h"
#include "options/options_test_support.h"
#include "options/pages/script_modules_page.h"
#include "script/compiler.h"

namespace galvora::testing {
namespace {

class ModulesPage : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        // The working modules of a profile, as applying it leaves them.
        ProfileModules().add("abc", "function a() {\r\n  return 1;\r\n}\r\n", kModuleCompiled);
        ProfileModules().add("kaputt", "function k() {\r\n  a = 1;\r\n  b = 2 +;\r\n}", kModuleCompileError);
        ProfileModules().add("neu", "", kModuleNotCompiled);
        ProfileModules().verändert_reset();
        dialog().seite_laden(PageSlot::CZantoScript2);
    }
    CZantoScript& page() { return page_of<CZantoScript>(PageSlot::CZantoScript2); }
    PageControl& c(const char* name) { return page().control(name); }
    CZantoScriptModul& editor() { return page().editor(); }
    PageControl& text() { return editor().control("Modul_Inhalt"); }
    std::vector<std::string> images() {
        std::vector<std::string> keys;
        for (const ListItem& item : c("Modulliste").state().items) keys.push_back(item.image_key);
        return keys;
    }
};

TEST_F(ModulesPage, ListShowsEveryModuleWithItsStatus) {
    const auto& items = c("Modulliste").state().items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].key, "Mabc");
    EXPECT_EQ(images(), (std::vector<std::string>{"grün", "rot", "gold"}));
    EXPECT_EQ(c("Modulliste").state().value, 0);
    EXPECT_EQ(editor().ModulInhalt(), "function a() {\r\n  return 1;\r\n}\r\n");
    EXPECT_TRUE(editor().Enabled());
    page().user_choose(c("Modulliste"), 1);
    EXPECT_EQ(page().current_module()->Name(), "kaputt");
    EXPECT_EQ(text().state().text, "function k() {\n  a = 1;\n  b = 2 +;\n}");
    // Showing a module is no edit.
    EXPECT_EQ(page().current_module()->status(), kModuleCompileError);
    EXPECT_FALSE(ProfileModules().verändert());
}

TEST_F(ModulesPage, SyntaxTestMarksTheModuleAndTypingMakesItUntestedAgain) {
    page().user_choose(c("Modulliste"), 1);
    editor().user_click(editor().control("SyntaxTest"));
    EXPECT_EQ(images()[1], "rot");
    EXPECT_EQ(page().current_module()->status(), kModuleCompileError);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(port.boxes[0].style, MB_ICON_EXCLAMATION);
    EXPECT_EQ(port.boxes[0].text.rfind(msg("ErrModuleLastErr", {"kaputt", ""}), 0), 0u) << port.boxes[0].text;
    // The caret stands at the token where the compiler stopped, counted in
    // the editor's text (its line ends are one character each).
    const std::u32string shown = utf8_decode(text().state().text);
    const int32_t caret = text().state().selection_start;
    ASSERT_LT(caret, static_cast<int32_t>(shown.size()));
    EXPECT_EQ(shown[static_cast<size_t>(caret)], U';') << caret;

    // One typed character turns it gold at once.
    editor().user_text(text(), "function k() {\n  a = 1;\n  b = 2 +3;\n}");
    EXPECT_EQ(images()[1], "gold");
    EXPECT_EQ(page().current_module()->status(), kModuleNotCompiled);
    port.boxes.clear();
    editor().user_click(editor().control("SyntaxTest"));
    EXPECT_EQ(images()[1], "grün");
    EXPECT_EQ(page().current_module()->status(), kModuleCompiled);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_EQ(port.boxes[0].text, msg("ErrModuleLastErr", {"kaputt", inq("Msg", "ErrZNSOk")}));
    // A test leaves nothing compiled.
    EXPECT_FALSE(skriptfunktion_vorhanden("k"));
}

TEST_F(ModulesPage, LeavingTheEditorStoresAChangedTextOnly) {
    editor().user_focus_out(text());
    EXPECT_FALSE(ProfileModules().verändert());
    editor().user_text(text(), "function a() {\n  return 2;\n}\n");
    EXPECT_EQ(ProfileModules().item("abc")->inhalt(), "function a() {\r\n  return 1;\r\n}\r\n");
    editor().user_focus_out(text());
    EXPECT_EQ(ProfileModules().item("abc")->inhalt(), "function a() {\r\n  return 2;\r\n}\r\n");
    EXPECT_TRUE(ProfileModules().item("abc")->verändert());
    EXPECT_TRUE(ProfileModules().verändert());
}

TEST_F(ModulesPage, NewDeleteAndDeleteAll) {
    page_services().modul_neu = [](ZNModule& modules) { return modules.add("zusatz", "", kModuleNotCompiled); };
    page().user_click(c("Modul_Neu_Button"));
    ASSERT_EQ(c("Modulliste").state().items.size(), 4u);
    EXPECT_EQ(c("Modulliste").state().items[static_cast<size_t>(c("Modulliste").state().value)].text, "zusatz");
    EXPECT_EQ(page().current_module()->Name(), "zusatz");
    EXPECT_EQ(text().state().text, "");

    // Deleting takes the module's compiled functions with it, and asks nothing.
    page().user_choose(c("Modulliste"), 0);
    ASSERT_EQ(uebersetze(0, 1, "abc", ProfileModules().item("abc")->inhalt()), 0);
    ASSERT_TRUE(skriptfunktion_vorhanden("a"));
    page().user_click(c("Modul_löschen_Button"));
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(ProfileModules().item("abc"), nullptr);
    EXPECT_FALSE(skriptfunktion_vorhanden("a"));
    EXPECT_EQ(c("Modulliste").state().items.size(), 3u);
    EXPECT_EQ(c("Modulliste").state().value, 0);

    page().user_click(c("ModulAlleLöschen_Button"));
    EXPECT_EQ(ProfileModules().count(), 0);
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(c("Modulliste").state().enabled);
    EXPECT_TRUE(c("Modulliste").state().items.empty());
    EXPECT_FALSE(editor().Enabled());
    EXPECT_EQ(text().state().text, "");
    EXPECT_FALSE(c("Modul_löschen_Button").state().enabled);
    EXPECT_FALSE(c("ModulAlleLöschen_Button").state().enabled);
    EXPECT_FALSE(editor().control("SyntaxTest").state().enabled);
}

// An input box that answers with one text.
struct NamingPort : test::RecordingPort {
    std::optional<std::string> input_box(std::string_view, std::string_view) override { return name; }
    std::optional<std::string> name;
};

TEST_F(ModulesPage, NewModuleStandInChecksTheName) {
    NamingPort naming;
    struct Case {
        std::optional<std::string> typed;
        int answer;
        const char* message;  // nullptr: none
        bool created;
    };
    const Case cases[] = {
        {std::nullopt, ID_OK, nullptr, false},
        {"   ", ID_OK, "ErrModuleMissingName", false},
        {" abc ", ID_NO, "MsgModuleExist", false},
        {"abc", ID_YES, "MsgModuleExist", true},
        {"eigen", ID_OK, nullptr, true},
    };
    for (const Case& k : cases) {
        naming.name = k.typed;
        naming.answer = k.answer;
        naming.boxes.clear();
        const std::shared_ptr<ZNModul> module = page_services().modul_neu(ProfileModules());
        EXPECT_EQ(module != nullptr, k.created) << k.typed.value_or("(cancel)");
        if (k.message != nullptr) {
            ASSERT_EQ(naming.boxes.size(), 1u);
            EXPECT_EQ(naming.boxes[0].text.substr(0, 10), msg(k.message, {"abc"}).substr(0, 10));
        } else {
            EXPECT_TRUE(naming.boxes.empty());
        }
        if (module) {
            EXPECT_EQ(module->inhalt(), "");
            EXPECT_EQ(module->status(), kModuleNotCompiled);
        }
    }
    // "abc" was replaced by an empty module.
    EXPECT_EQ(ProfileModules().item("abc")->inhalt(), "");
}

}  // namespace
}  // namespace galvora::testing
