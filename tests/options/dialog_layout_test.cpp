// The options dialog's layout on resize: the five stretch cases, the
// template editor's controls, and a failing layout.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "foundation/registry.h"
#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateHtml = 80;

// A page that reports what the layout gave it, and can refuse it.
class MeasuredPage : public OptionPage {
public:
    MeasuredPage() : OptionPage("CMessSeite", 3000, 2000) {}
    bool has_bottom_border() const override { return true; }
    void BottomBorderHeight(int32_t height) override {
        if (fail) throw std::runtime_error("refused");
        bottom_border = height;
    }
    int32_t bottom_border = -1;
    bool fail = false;
};

class Layout : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        for (PageSlot slot : {PageSlot::CDateifilter1, PageSlot::CZantoScript1, PageSlot::CZantoScript2}) {
            auto page = std::make_unique<MeasuredPage>();
            pages[slot] = page.get();
            dialog().seite_einsetzen(slot, std::move(page));
        }
        pages[PageSlot::CZantoScript1]->Move(0, 1200, 3000, 2000);
        w = dialog().layout().mindestbreite + 1500;
        h = dialog().layout().mindesthoehe + 900;
        ASSERT_TRUE(dialog().layout().Form_Resize(w, h));
    }
    TwipRect place(const std::string& name, int index = -1) { return control(name, index).state().place; }
    std::map<PageSlot, MeasuredPage*> pages;
    double w = 0;
    double h = 0;
};

TEST_F(Layout, HeadingTreeAndButtonsKeepToTheEdges) {
    const double m = dialog().layout().baum_links;
    const TwipRect heading = place("Überschrift_Box");
    EXPECT_EQ(heading.width, w - heading.left - m);
    EXPECT_EQ(place("Überschrift_Titel").width, heading.width);
    const TwipRect tree = place("Optionen_Baum");
    const TwipRect buttons = place("Frame_Button");
    EXPECT_EQ(tree.height, h - m - buttons.height - m);
    EXPECT_EQ(buttons.top, tree.top + tree.height + m);
    EXPECT_EQ(dialog().layout().heading_colours().size(), static_cast<size_t>(heading.width / 15) + 1);
}

TEST_F(Layout, TheFiveStretchCases) {
    const double m = dialog().layout().baum_links;
    const double W = place("Überschrift_Box").width;
    const TwipRect tree = place("Optionen_Baum");
    const int32_t below_tree = static_cast<int32_t>(h - (tree.top + tree.height));

    click_node(17);
    TwipRect box = dialog().box(17).state().place;
    EXPECT_EQ(box.width, W);
    EXPECT_EQ(box.height, h - box.top);
    EXPECT_EQ(pages[PageSlot::CZantoScript1]->bottom_border, below_tree);
    EXPECT_EQ(pages[PageSlot::CZantoScript1]->Width(), W);
    EXPECT_EQ(pages[PageSlot::CZantoScript1]->Height(), box.height - 1200);
    EXPECT_EQ(pages[PageSlot::CZantoScript1]->Top(), 1200);

    click_node(8);
    const TwipRect editor = place("Frame_Tagdefinition");
    EXPECT_EQ(editor.width, W);
    EXPECT_EQ(editor.height, h - editor.top - m - place("Frame_Button").height);
    const TwipRect input = place("Tag_Input");
    EXPECT_EQ(input.width, W - 2 * 15);
    EXPECT_EQ(input.height, editor.height - input.top);
    const TwipRect caret = place("tag_input_pos");
    EXPECT_EQ(caret.left, input.width - caret.width - m);
    EXPECT_EQ(place("Tag_Info_Bezeichnung").width, caret.left);
    const TwipRect test = place("FrameSyntaxTest");
    EXPECT_EQ(test.left, editor.left + (editor.width - test.width) / 2);
    EXPECT_EQ(test.top, place("Frame_Button").top);

    click_node(11);
    box = dialog().box(11).state().place;
    EXPECT_EQ(box.height, h - box.top);
    EXPECT_EQ(pages[PageSlot::CZantoScript2]->Height(), box.height);
    EXPECT_EQ(pages[PageSlot::CZantoScript2]->bottom_border, below_tree);

    click_node(7);
    box = dialog().box(7).state().place;
    EXPECT_EQ(box.width, W);
    EXPECT_EQ(box.height, h - box.top - place("FrameSyntaxTest").height - m);

    click_node(0);
    box = dialog().box(0).state().place;
    EXPECT_EQ(box.height, h - box.top);
    EXPECT_EQ(pages[PageSlot::CDateifilter1]->Height(), box.height);

    // Any other page keeps its size; only heading, tree and buttons move.
    click_node(6);
    const TwipRect html = dialog().box(6).state().place;
    ASSERT_TRUE(dialog().layout().Form_Resize(w + 3000, h + 3000));
    EXPECT_EQ(dialog().box(6).state().place.width, html.width);
    EXPECT_EQ(dialog().box(6).state().place.height, html.height);
    EXPECT_EQ(place("Überschrift_Box").width, W + 3000);
}

TEST_F(Layout, MinimisedChangesNothing) {
    const TwipRect heading = place("Überschrift_Box");
    EXPECT_TRUE(dialog().layout().Form_Resize(0, 0, true));
    EXPECT_EQ(place("Überschrift_Box").width, heading.width);
    EXPECT_FALSE(dialog().layout().take_requested_size());
}

TEST_F(Layout, WithoutSubclassingTheMinimumIsRequestedBack) {
    dialog().layout().subclassing = false;
    dialog().layout().Form_Resize(100, 100);
    const auto size = dialog().layout().take_requested_size();
    ASSERT_TRUE(size);
    EXPECT_EQ(size->first, dialog().layout().mindestbreite);
    EXPECT_EQ(size->second, dialog().layout().mindesthoehe);
}

// Ending the program here would lose unsaved profile changes (it ends without
// the close question), and removing the "Administration" values would lose
// the chosen language with the sizes: a failed resize keeps both, says so
// once and leaves the controls where they were.
TEST_F(Layout, AFailingLayoutKeepsTheSettingsAndTheProgram) {
    registry_schreiben("Administration", "owidth", "15000");
    click_node(0);
    const TwipRect heading = place("Überschrift_Box");
    pages[PageSlot::CDateifilter1]->fail = true;
    EXPECT_FALSE(dialog().layout().Form_Resize(w + 600, h));
    EXPECT_FALSE(dialog().layout().Form_Resize(w + 900, h));
    EXPECT_EQ(registry_lesen("Administration", "owidth", ""), "15000");
    EXPECT_EQ(place("Überschrift_Box").width, heading.width);
    ASSERT_EQ(port.boxes.size(), 1u);  // shown once, not at every resize
    EXPECT_EQ(port.boxes[0].text, msg("ErrOptiondialogResize"));
    pages[PageSlot::CDateifilter1]->fail = false;
    EXPECT_TRUE(dialog().layout().Form_Resize(w + 900, h));
}

}  // namespace
}  // namespace galvora::testing
