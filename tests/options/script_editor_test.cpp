// The script editor that the script module page and the file filter page embed.
#include <gtest/gtest.h>

#include "foundation/string_helpers.h"
#include "options/options_test_support.h"
#include "options/pages/script_editor.h"

namespace galvora::testing {
namespace {

// An input box that answers from a list.
struct AnsweringPort : test::RecordingPort {
    std::optional<std::string> input_box(std::string_view prompt, std::string_view) override {
        prompts.emplace_back(prompt);
        if (answers.empty()) return std::nullopt;
        std::string answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::optional<std::string> titled_input_box(std::string_view title, std::string_view prompt,
                                                std::string_view preset) override {
        titles.emplace_back(title);
        return input_box(prompt, preset);
    }
    std::vector<std::string> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> titles;
};

class ScriptEditor : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        editor.InitLanguage();
        editor.connect(PageEvent::SyntaxStatusReset, [this] { ++resets; });
        editor.connect(PageEvent::SyntaxTest, [this] { ++tests; });
        page_services().help_topic = [this](const std::string& topic) { topics.push_back(topic); };
        editor.Enabled(true);
    }

    PageControl& text() { return editor.control("Modul_Inhalt"); }
    // Text shown, as the user typed it, with the caret at the end of `caret` characters.
    void type(const std::string& shown, int32_t caret) {
        editor.user_caret(text(), caret, 0);
        editor.user_text(text(), shown);
    }
    void select(int32_t start, int32_t length) { editor.user_caret(text(), start, length); }
    bool key(int code, int shift = 0) { return editor.user_key(text(), ControlEvent::KeyDown, code, shift); }
    std::string shown() { return text().state().text; }
    int32_t caret_start() { return text().state().selection_start; }
    int32_t caret_end() { return text().state().selection_start + text().state().selection_length; }
    // Position of line l, column col in the shown text.
    int32_t at(int32_t line, int32_t column) {
        const std::u32string chars = utf8_decode(shown());
        int32_t position = 0;
        for (int32_t l = 0; l < line; ++l) position = static_cast<int32_t>(chars.find(U'\n', position)) + 1;
        return position + column;
    }
    bool undo_forgotten() {
        for (const auto& [control, request] : editor.take_view_requests())
            if (request == ViewRequest::ResetUndo) return true;
        return false;
    }

    CZantoScriptModul editor;
    int resets = 0;
    int tests = 0;
    std::vector<std::string> topics;
};

TEST_F(ScriptEditor, LoadingColoursEveryLineAndRaisesNoEvent) {
    editor.ModulInhalt("");
    EXPECT_EQ(editor.control("editpos").state().caption, "Zeile 1:1, Spalte 1:0");
    EXPECT_EQ(editor.coloured_line_count(), 1u);
    editor.ModulInhalt("function f(a) {\r\n  return exif(1); // Kommentar\r\n}\r\n");
    EXPECT_EQ(shown(), "function f(a) {\n  return exif(1); // Kommentar\n}\n");
    EXPECT_EQ(editor.coloured_line_count(), 4u);
    EXPECT_EQ(resets, 0);
    EXPECT_TRUE(undo_forgotten());
    EXPECT_TRUE(editor.take_recoloured().all);
    // The text goes back with CR LF.
    EXPECT_EQ(editor.ModulInhalt(), "function f(a) {\r\n  return exif(1); // Kommentar\r\n}\r\n");
    const std::vector<ZNSFarbspanne> expected = {{0, 8, ZNSFarbe::keyword},  {9, 1, ZNSFarbe::function},
                                                 {10, 1, ZNSFarbe::operator_}, {11, 1, ZNSFarbe::variable},
                                                 {12, 1, ZNSFarbe::operator_}, {14, 1, ZNSFarbe::operator_}};
    EXPECT_EQ(editor.line_colours(0), expected);
    EXPECT_EQ(editor.line_colours(1).back().rolle, ZNSFarbe::comment);
}

TEST_F(ScriptEditor, ATypedCharacterColoursItsLinePasteColoursEveryPastedLine) {
    editor.ModulInhalt("a = 1\nb = 2\nc = 3");
    editor.take_recoloured();
    EXPECT_TRUE(undo_forgotten());
    type("a = 1\nb = 22\nc = 3", 10);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(editor.lines_coloured_by_last_change(), 1);
    EXPECT_EQ(editor.take_recoloured().lines, std::vector<int32_t>{1});
    // The user's edits keep what can be undone.
    EXPECT_FALSE(undo_forgotten());
    // A paste of three lines into line 2.
    type("a = 1\nb = 22\nx = @TRUE\ny = \"s\"\nz = 0x1F\nc = 3", 43);
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(editor.lines_coloured_by_last_change(), 4);
    EXPECT_EQ(editor.coloured_line_count(), 6u);
    EXPECT_EQ(editor.line_colours(2)[2].rolle, ZNSFarbe::enum_);
    EXPECT_EQ(editor.line_colours(3)[2].rolle, ZNSFarbe::stringdelimiter);
    EXPECT_EQ(editor.line_colours(4)[2].rolle, ZNSFarbe::number);
    EXPECT_EQ(editor.line_colours(5)[0].offset, 0);
    EXPECT_EQ(editor.line_colours(5)[0].rolle, ZNSFarbe::variable);
    EXPECT_FALSE(undo_forgotten());
}

TEST_F(ScriptEditor, TabIndentsTheCaretsLine) {
    struct Case {
        const char* text;
        int32_t line;
        int32_t column;
        int32_t selected;  // characters selected from the caret
        const char* after;
        int32_t caret;
    };
    const Case cases[] = {
        {"    a\nb", 1, 0, 0, "    a\n    b", 10},  // as far in as the line above
        {"a\nb", 1, 0, 0, "a\n  b", 4},            // under an unindented line: two
        {"a\nb", 0, 0, 0, "  a\nb", 2},            // the first line: two
        {"abc", 0, 1, 1, "a  c", 3},               // a selection in the line becomes two blanks
        {"ab", 0, 1, 0, "a  b", 3},
    };
    for (const Case& k : cases) {
        editor.ModulInhalt(k.text);
        resets = 0;
        select(at(k.line, k.column), k.selected);
        EXPECT_TRUE(key(kKeyTab));
        EXPECT_EQ(shown(), k.after) << k.text;
        EXPECT_EQ(caret_start(), k.caret) << k.text;
        // A single-line edit counts as typing.
        EXPECT_EQ(resets, 1) << k.text;
    }
    editor.ModulInhalt("  a");
    select(0, 0);
    EXPECT_TRUE(key(kKeyTab, kShiftMask));
    EXPECT_EQ(shown(), "  a");
}

TEST_F(ScriptEditor, BlockIndentAndOutdent) {
    editor.ModulInhalt("l1\nline2\nl3\n  l4\nl5\nl6");
    // From the middle of line 2 to column 0 of line 5.
    select(at(1, 2), at(4, 0) - at(1, 2));
    EXPECT_TRUE(key(kKeyTab));
    EXPECT_EQ(shown(), "l1\n  line2\n  l3\n    l4\nl5\nl6");
    EXPECT_EQ(caret_start(), at(1, 0));
    EXPECT_EQ(caret_end(), at(4, 0));
    EXPECT_EQ(resets, 0);
    // The moved lines keep their colours in place.
    EXPECT_EQ(editor.line_colours(1)[0].offset, 2);

    select(at(1, 2), at(4, 0) - at(1, 2));
    EXPECT_TRUE(key(kKeyTab, kShiftMask));
    EXPECT_EQ(shown(), "l1\nline2\nl3\n  l4\nl5\nl6");
    EXPECT_EQ(caret_start(), at(1, 0));
    EXPECT_EQ(caret_end(), at(3, 4));
    EXPECT_EQ(resets, 0);

    // One blank before a letter goes; a line starting with a letter keeps it.
    editor.ModulInhalt(" x\ny\n   z");
    select(0, at(2, 2));
    key(kKeyTab, kShiftMask);
    EXPECT_EQ(shown(), "x\ny\n z");
}

// The anchor is the word in lower case: the help's anchors are lower case and
// a page's anchors are matched exactly, so "EXIF" would open the page at its
// top; script names do not depend on case.
TEST_F(ScriptEditor, F1OpensTheHelpOfTheWordAtTheCaret) {
    editor.ModulInhalt("x = exif(1) + EXIF(2)");
    struct Case {
        int32_t caret;
        const char* topic;
    };
    for (const Case& k : {Case{8, "zng_doc703.htm#exif"}, Case{4, "zng_doc703.htm#exif"}, Case{6, "zng_doc703.htm#exif"},
                          Case{1, "zng_doc703.htm#"}, Case{0, "zng_doc703.htm#"}, Case{10, "zng_doc703.htm#"},
                          Case{3, "zng_doc703.htm#"}, Case{16, "zng_doc703.htm#exif"}}) {
        topics.clear();
        select(k.caret, 0);
        EXPECT_TRUE(key(kKeyF1));
        EXPECT_EQ(topics, std::vector<std::string>{k.topic}) << k.caret;
    }
}

TEST_F(ScriptEditor, FindAndFindAgain) {
    AnsweringPort asking;
    editor.ModulInhalt("Exif(1)\nx = exif(2)\ny = EXIF(3)");
    // F3 before any search does nothing.
    select(0, 0);
    EXPECT_TRUE(key(kKeyF3));
    EXPECT_EQ(caret_end(), 0);
    EXPECT_TRUE(asking.prompts.empty());

    asking.answers = {"exif"};
    select(1, 0);
    EXPECT_TRUE(key('F', kCtrlMask));
    EXPECT_EQ(asking.prompts, std::vector<std::string>{"Zu suchender Text"});
    EXPECT_EQ(asking.titles, std::vector<std::string>{"Suchen"});
    EXPECT_EQ(caret_start(), at(1, 4));
    EXPECT_EQ(text().state().selection_length, 4);
    EXPECT_TRUE(key(kKeyF3));
    EXPECT_EQ(caret_start(), at(2, 4));
    editor.take_view_requests();
    // Past the last hit: a beep, no wrapping around.
    EXPECT_TRUE(key(kKeyF3));
    EXPECT_EQ(caret_start(), at(2, 4));
    bool beeped = false;
    for (const auto& [control, request] : editor.take_view_requests()) beeped = beeped || request == ViewRequest::Beep;
    EXPECT_TRUE(beeped);
    // Other keys pass to the text.
    EXPECT_FALSE(key('F'));
    EXPECT_FALSE(key('A', kCtrlMask));
}

TEST_F(ScriptEditor, CaretLabelCountsCharacters) {
    editor.ModulInhalt("ä\r\nöü = 1\r\n");
    select(at(1, 2), 0);
    editor.user_key(text(), ControlEvent::KeyUp, 39, 0);
    EXPECT_EQ(editor.control("editpos").state().caption, "Zeile 2:3, Spalte 3:6");
    editor.ModulPos(1);
    EXPECT_EQ(editor.control("editpos").state().caption, "Zeile 1:3, Spalte 2:1");
}

TEST_F(ScriptEditor, TestButtonAsksTheHostAndGivesTheFocusBack) {
    editor.take_view_requests();
    editor.user_click(editor.control("SyntaxTest"));
    EXPECT_EQ(tests, 1);
    const auto requests = editor.take_view_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, &text());
    EXPECT_EQ(requests[0].second, ViewRequest::Focus);
    editor.Enabled(false);
    EXPECT_FALSE(editor.control("SyntaxTest").state().enabled);
    EXPECT_FALSE(text().state().enabled);
}

}  // namespace
}  // namespace galvora::testing
