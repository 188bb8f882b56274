// The HTML template editor: the 60 elements and their settings, choosing and
// storing, the caret label, the strip layouts, the gradient and the tiles.
#include <gtest/gtest.h>

#include <set>

#include "options/editor_text.h"
#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateFrame = 95;
constexpr int kGenerateIndex = 99;
constexpr int kNavExtended = 113;
constexpr int kRefPos = 115;
constexpr int kPicNavExtended = 119;
constexpr int kPicRefPos = 121;

class TemplateEditing : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        load({{kGenerateFrame, "1"}, {kGenerateIndex, "1"}});
        click_node(kBoxThumbLayout);
    }
    TemplateEditor& editor() { return dialog().editor(); }
    PageControl& input() { return control("Tag_Input"); }
    void type(const std::string& text) { dialog().user_text(input(), text); }
};

TEST_F(TemplateEditing, SixtyElementsEachSelectTheirEntry) {
    const auto& elements = template_elements();
    ASSERT_EQ(elements.size(), 60u);
    std::set<int> entries;
    for (const TemplateElement& e : elements) {
        entries.insert(e.entry);
        EXPECT_EQ(Profileinstellungen()[static_cast<size_t>(e.entry)].key, e.settings_key) << e.control;
        EXPECT_EQ(TemplateEditor::description(e.entry), inq("Profile", e.description_key)) << e.control;
        // Every control of the element, every member of an array, selects the entry.
        int members = 0;
        for (const char* name : {e.control, e.second_control}) {
            if (name == nullptr) continue;
            for (const auto& c : dialog().all_controls()) {
                if (c->name() != name) continue;
                ++members;
                editor().TagWaehlen(e.entry == 125 ? 126 : 125);  // another entry first
                dialog().user_click(*c);
                EXPECT_EQ(editor().TagIndex, e.entry) << c->id();
                EXPECT_EQ(input().state().text, editor_text(profilwert(e.entry))) << c->id();
                EXPECT_EQ(control("Tag_Info_Bezeichnung").state().caption, TemplateEditor::description(e.entry));
                EXPECT_EQ(c->state().tooltip, TemplateEditor::description(e.entry) + " - " + inq("Optionen", "Click"));
            }
        }
        EXPECT_GE(members, 1) << e.control;
        if (std::string(e.control) == "HTML_thumb_SD_Pic") {
            EXPECT_EQ(members, 10);
        }
    }
    EXPECT_EQ(entries.size(), 60u);
    for (int untouched : {132, 134, 164, 167}) EXPECT_EQ(entries.count(untouched), 0u) << untouched;
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(TemplateEditing, ChoosingAnotherElementStoresTheEditFirst) {
    editor().TagWaehlen(150);
    type("Titel\nzweite Zeile");
    EXPECT_EQ(profilwert(150), "Galvora - Thumbnails");  // nothing per keystroke
    editor().TagWaehlen(152);
    EXPECT_EQ(profilwert(150), "Titel\r\nzweite Zeile");
    EXPECT_EQ(editor().TagIndex, 152);
    EXPECT_FALSE(editor().TagGeaendert);
    // The same element twice keeps the edit too.
    type("Seitentitel");
    editor().TagWaehlen(152);
    EXPECT_EQ(profilwert(152), "Seitentitel");
    EXPECT_EQ(input().state().text, "Seitentitel");
}

TEST_F(TemplateEditing, LosingTheFocusStoresAChangedTextOnly) {
    editor().TagWaehlen(173);
    profil_geaendert = false;
    dialog().user_focus_out(input());
    EXPECT_FALSE(profil_geaendert);
    type("Fuß");
    dialog().user_focus_out(input());
    EXPECT_EQ(profilwert(173), "Fuß");
    EXPECT_FALSE(editor().TagGeaendert);
}

TEST_F(TemplateEditing, StoredLineBreaksSurviveAnUnchangedText) {
    // The default head ends its lines in CR LF; the editor shows LF.
    editor().TagWaehlen(149);
    EXPECT_EQ(input().state().text.find('\r'), std::string::npos);
    const std::string shown = input().state().text;
    type(shown + "x");
    type(shown);
    profil_geaendert = false;
    dialog().user_focus_out(input());
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(TemplateEditing, CaretLabel) {
    struct Case {
        std::string text;
        int32_t start;
        int32_t length;
        const char* label;
    };
    const Case cases[] = {
        {"", 0, 0, "Zeile 1:1, Spalte 1:0"},
        {"abc", 3, 0, "Zeile 1:1, Spalte 4:3"},
        {"abc\nde\nfghij", 5, 0, "Zeile 2:3, Spalte 2:2"},
        {"abc\nde\nfghij", 0, 9, "Zeile 3:3, Spalte 3:5"},  // the caret is the selection's end
        {"abc\n", 4, 0, "Zeile 2:2, Spalte 1:0"},
        {"äöü\nß", 5, 0, "Zeile 2:2, Spalte 2:1"},  // characters, not bytes
    };
    for (const Case& c : cases) {
        type(c.text);
        dialog().user_caret(input(), c.start, c.length);
        dialog().user_click(input());
        EXPECT_EQ(control("tag_input_pos").state().caption, c.label) << c.text;
    }
}

TEST_F(TemplateEditing, AltBackspaceAsksForUndo) {
    (void)dialog().take_view_requests();
    dialog().user_key(input(), ControlEvent::KeyUp, kKeyBack, 0);
    dialog().user_key(input(), ControlEvent::KeyUp, kKeyBack, kAltMask | kShiftMask);
    EXPECT_TRUE(dialog().take_view_requests().empty());
    dialog().user_key(input(), ControlEvent::KeyUp, kKeyBack, kAltMask);
    const auto requests = dialog().take_view_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, &input());
    EXPECT_EQ(requests[0].second, ViewRequest::Undo);
}

TEST_F(TemplateEditing, LayoutStartsAtTheHead) {
    for (const auto& [box, head] : std::vector<std::pair<int, int>>{{15, 144}, {9, 125}, {8, 149}, {10, 176}}) {
        click_node(box);
        EXPECT_EQ(editor().TagIndex, head);
        EXPECT_EQ(control("Tag_Info_Bezeichnung").state().caption, TemplateEditor::description(head));
    }
}

TEST(StripLayout, PositionBitsAndTheirOrder) {
    const std::array<int32_t, 5> design = {120, 3600, 540, 900, 3240};  // title, strip, before, content, after
    const double h = 360;
    struct Case {
        int32_t position;
        bool visible;
        double strip;
        double before;
        double content;
        double after;
    };
    const Case cases[] = {
        {0, false, 3600, 540, 900, 3240},
        {4, true, 540, 900, 1260, 3600},
        {16, true, 3240, 540, 900, 3600},
        {20, true, 540, 900, 1260, 3600},  // 4 wins over 16
        {32, true, 3600, 540, 900, 3240},
        {48, true, 3240, 540, 900, 3600},  // 16 wins over 32
    };
    for (const Case& c : cases) {
        const StripLayout l = strip_layout(design, h, false, c.position);
        EXPECT_EQ(l.strip_visible, c.visible) << c.position;
        EXPECT_EQ(l.strip_top, c.strip) << c.position;
        EXPECT_EQ(l.before_top, c.before) << c.position;
        EXPECT_EQ(l.content_top, c.content) << c.position;
        EXPECT_EQ(l.after_top, c.after) << c.position;
    }
}

TEST_F(TemplateEditing, MockupsFollowNavigationAndPosition) {
    struct Case {
        int box;
        int nav_entry;
        int pos_entry;
        const char* extended;
        const char* position;
    };
    for (const Case& c : {Case{8, kNavExtended, kRefPos, "1", "4"}, Case{8, kNavExtended, kRefPos, "0", "20"},
                          Case{10, kPicNavExtended, kPicRefPos, "0", "16"}, Case{10, kPicNavExtended, kPicRefPos, "1", "0"},
                          Case{8, kNavExtended, kRefPos, "0", "keine"}}) {
        load({{kGenerateFrame, "1"}, {kGenerateIndex, "1"}, {c.nav_entry, c.extended}, {c.pos_entry, c.position}});
        click_node(c.box);
        const bool picture = c.box == 10;
        const std::string prefix = picture ? "HTML_BSD_" : "HTML_thumb_SD_";
        PageControl& extended = control(prefix + "Verweise");
        PageControl& simple = control(prefix + "Verweise_einfach");
        const auto& tops = editor().layout_basis_top;
        const size_t first = picture ? 5 : 0;
        const StripLayout expected =
            strip_layout({tops[first], tops[first + 1], tops[first + 2], tops[first + 3], tops[first + 4]},
                         extended.state().place.height, std::string(c.extended) == "1",
                         entry_as_int32(c.position).value_or(0));
        PageControl& shown = expected.extended ? extended : simple;
        PageControl& other = expected.extended ? simple : extended;
        EXPECT_EQ(shown.state().visible, expected.strip_visible) << c.position;
        EXPECT_FALSE(other.state().visible);
        if (expected.strip_visible) {
            EXPECT_EQ(shown.state().place.top, expected.strip_top);
        }
        EXPECT_EQ(control(picture ? "HTML_BSD_PrePic" : "HTML_thumb_SD_pre_table").state().place.top, expected.before_top);
        EXPECT_EQ(control(picture ? "HTML_BSD_Pic" : "HTML_thumb_SD_table").state().place.top, expected.content_top);
        EXPECT_EQ(control(picture ? "HTML_BSD_PostPic" : "HTML_thumb_SD_post_table").state().place.top,
                  expected.after_top);
    }
    // Repeated layouts start from the design tops and do not drift.
    load({{kRefPos, "4"}});
    click_node(8);
    const double once = control("HTML_thumb_SD_table").state().place.top;
    click_node(8);
    EXPECT_EQ(control("HTML_thumb_SD_table").state().place.top, once);
}

TEST(Gradient, OneColumnPerPixelBothEndsIncluded) {
    const std::vector<uint32_t> columns = Farbverlauf(100, make_colour(153, 187, 221), make_colour(255, 255, 255));
    ASSERT_EQ(columns.size(), 101u);
    EXPECT_EQ(columns.front(), make_colour(153, 187, 221));
    EXPECT_EQ(columns.back(), make_colour(255, 255, 255));
    // 153 + 1.02 * 50 = 204 exactly; 187 + 0.68 * 25 = 204; halves go to the even neighbour.
    EXPECT_EQ(colour_red(columns[50]), 204);
    EXPECT_EQ(colour_green(columns[25]), 204);
    EXPECT_EQ(colour_red(Farbverlauf(4, make_colour(0, 0, 0), make_colour(2, 0, 0))[1]), 0);   // 0.5 -> 0
    EXPECT_EQ(colour_red(Farbverlauf(4, make_colour(0, 0, 0), make_colour(6, 0, 0))[1]), 2);   // 1.5 -> 2
    EXPECT_EQ(Farbverlauf(0, 7, 9), std::vector<uint32_t>{7});
}

TEST(BackgroundTiles, CoverTheBoxIncludingItsEdges) {
    const auto tiles = HintergrundKacheln(64, 40, 32, 32);
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 32}, {32, 0}, {32, 32}, {64, 0}, {64, 32}};
    EXPECT_EQ(tiles, expected);
    EXPECT_TRUE(HintergrundKacheln(10, 10, 0, 32).empty());
    EXPECT_EQ(HintergrundKacheln(0, 0, 32, 32).size(), 1u);
}

TEST(EditorText, LineBreaksAndCompilerPositions) {
    EXPECT_EQ(editor_text("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(stored_text("a\nb\r\nc"), "a\r\nb\r\nc");
    // The compiler counts CR LF as two characters; the editor has LF only.
    const std::string source = "ab\r\ncd\r\nxy{";
    EXPECT_EQ(editor_position(source, 11), 8);   // the "{" on line 3
    EXPECT_EQ(editor_position(source, 5), 3);    // the "c" on line 2
    EXPECT_EQ(editor_position(source, 1), 0);
    EXPECT_EQ(editor_position(source, 0), 0);
    EXPECT_EQ(editor_position(source, 99), 9);   // past the end: the end
    EXPECT_EQ(editor_position("äb\r\nc", 5), 3);  // characters, not bytes
    // A wrapped text: "{" CR LF in front of the editor's text.
    EXPECT_EQ(editor_position("{\r\nx = (\r\n}", 9, 3), 5);
    EXPECT_EQ(editor_position("{\r\nx", 2, 3), 0);
}

}  // namespace
}  // namespace galvora::testing
