// OK, Cancel and the close box of the options dialog, and the sizes it
// opens with.
#include <gtest/gtest.h>

#include "foundation/registry.h"
#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateClones = 52;
constexpr int kHtmlBase = 81;
constexpr int kHtmlTitle = 150;

class DialogClosing : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        dialog().zeigen();
    }
    // The user edits the HTML folder name on the HTML page.
    void edit_base(const std::string& text) {
        OptionPage& page = *dialog().seite(PageSlot::CHTML1);
        page.user_text(page.control("htmlpath_base"), text);
    }
    size_t user_profile_files() const {
        size_t files = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(tmp.path() / "user", ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".qvp") ++files;
        return files;
    }
};

TEST_F(DialogClosing, OkAcceptsChangesWithoutWritingTheProfile) {
    profil_ungespeichert = false;
    dialog().OK_Click();
    EXPECT_FALSE(dialog().sichtbar());
    EXPECT_TRUE(dialog().ok_gedrueckt());
    EXPECT_FALSE(profil_ungespeichert);

    dialog().zeigen();
    edit_base("galerie");
    dialog().OK_Click();
    EXPECT_FALSE(dialog().sichtbar());
    EXPECT_EQ(geladene_Profileinstellungen()[kHtmlBase].value, "galerie");
    EXPECT_TRUE(profil_ungespeichert);
    EXPECT_FALSE(profil_geaendert);
    EXPECT_EQ(user_profile_files(), 0u);
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(DialogClosing, CancelWithoutChangesAsksNothingAndKeepsThePage) {
    click_node(6);
    dialog().Abbrechen_Click();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(dialog().sichtbar());
    EXPECT_FALSE(dialog().ok_gedrueckt());
    EXPECT_EQ(dialog().baum().selected(), "KEY6");
    EXPECT_EQ(dialog().sichtbare_box(), 6);
}

TEST_F(DialogClosing, CancelAnsweredNoKeepsEveryEditAndAsksAgain) {
    edit_base("galerie");
    port.answer = ID_NO;
    dialog().Abbrechen_Click();
    EXPECT_TRUE(dialog().sichtbar());
    EXPECT_EQ(profilwert(kHtmlBase), "galerie");
    dialog().Abbrechen_Click();
    ASSERT_EQ(port.boxes.size(), 2u);
    EXPECT_EQ(port.boxes[0].text, msg("MsgProfileChangesReject", {aktuelles_profil()->Name()}));
    EXPECT_EQ(port.boxes[0].style, MB_YESNO_STYLE | MB_ICON_QUESTION);
}

TEST_F(DialogClosing, CancelAnsweredYesRestoresAndReloadsThePages) {
    click_node(6);
    edit_base("galerie");
    port.answer = ID_YES;
    dialog().Abbrechen_Click();
    EXPECT_FALSE(dialog().sichtbar());
    EXPECT_EQ(profilwert(kHtmlBase), "html");
    EXPECT_EQ(dialog().seite(PageSlot::CHTML1)->control("htmlpath_base").state().text, "html");
    EXPECT_EQ(dialog().baum().selected(), "KEY6");
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(DialogClosing, CancelFallsBackToTheProfilePageWhenItsNodeIsGone) {
    profilwert_setzen(kGenerateClones, "1");
    dialog().OptionenBaumAufbauen();
    click_node(13);
    port.answer = ID_YES;
    dialog().Abbrechen_Click();
    EXPECT_FALSE(dialog().baum().contains("KEY13"));
    EXPECT_EQ(dialog().baum().selected(), "KEY7");
    EXPECT_EQ(dialog().sichtbare_box(), 7);
}

TEST_F(DialogClosing, CloseBoxIsCancelOtherUnloadsGoThrough) {
    edit_base("galerie");
    port.answer = ID_NO;
    EXPECT_TRUE(dialog().Form_QueryUnload(0));
    EXPECT_EQ(port.boxes.size(), 1u);
    EXPECT_TRUE(dialog().sichtbar());
    port.answer = ID_YES;
    EXPECT_TRUE(dialog().Form_QueryUnload(0));
    EXPECT_FALSE(dialog().sichtbar());
    EXPECT_EQ(profilwert(kHtmlBase), "html");
    port.boxes.clear();
    for (int mode : {1, 2, 3, 4, 5}) EXPECT_FALSE(dialog().Form_QueryUnload(mode));
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(DialogClosing, OkAndCancelTakeTheTemplateEditThatStillHasTheFocus) {
    click_node(8);
    dialog().editor().TagWaehlen(kHtmlTitle);
    dialog().user_text(control("Tag_Input"), "Neuer Titel");
    // OK pressed by keyboard: the text box never lost the focus.
    dialog().OK_Click();
    EXPECT_EQ(geladene_Profileinstellungen()[kHtmlTitle].value, "Neuer Titel");

    dialog().zeigen();
    dialog().user_text(control("Tag_Input"), "Verworfen");
    port.answer = ID_YES;
    dialog().Abbrechen_Click();
    ASSERT_EQ(port.boxes.size(), 1u);  // the edit counts as a change to reject
    EXPECT_EQ(profilwert(kHtmlTitle), "Neuer Titel");
    // The page shown before is shown again, its layout starting at the head.
    EXPECT_EQ(dialog().sichtbare_box(), 8);
    EXPECT_EQ(dialog().editor().TagIndex, 149);
}

TEST_F(OptionsTest, OpeningSizeFollowsTheStoredSizeWithinScreenAndMinimum) {
    DialogLayout& layout = dialog().layout();
    const int32_t w = layout.mindestbreite;
    const int32_t h = layout.mindesthoehe;
    const ScreenInfo screen{30000, 20000, 15, 15};
    struct Case {
        const char* width;
        const char* height;
        double expect_w;
        double expect_h;
        bool maximised;
    };
    const Case cases[] = {
        {nullptr, nullptr, double(w), double(h), false},
        {"100", "200", double(w), double(h), false},
        {"20000", "12000", 20000, 12000, false},
        {"40000", "25000", 30000, 20000, true},
        {"40000", "12000", 30000, 12000, false},
        {"breit", "", double(w), double(h), false},
    };
    for (const Case& c : cases) {
        registry_schluessel_loeschen("Administration");
        if (c.width != nullptr) registry_schreiben("Administration", "owidth", c.width);
        if (c.height != nullptr) registry_schreiben("Administration", "oheigth", c.height);
        const StartSize size = layout.startgroesse(screen);
        EXPECT_EQ(size.width, c.expect_w) << (c.width ? c.width : "-");
        EXPECT_EQ(size.height, c.expect_h) << (c.height ? c.height : "-");
        EXPECT_EQ(size.maximised, c.maximised) << (c.width ? c.width : "-");
        EXPECT_EQ(size.min_width_px, w / 15);
        EXPECT_EQ(size.max_height_px, 20000 / 15);
    }
    // Stored at the end and found again.
    layout.width = 15000;
    layout.height = 11000;
    optionen_groesse_speichern();
    EXPECT_EQ(registry_lesen("Administration", "owidth", ""), "15000");
    EXPECT_EQ(registry_lesen("Administration", "oheigth", ""), "11000");
}

TEST_F(OptionsTest, SmallestSizeHoldsTheWidestPageAndTheTallestContent) {
    const DialogLayout& layout = dialog().layout();
    double widest = 0;
    for (int b = 0; b < kPageBoxCount; ++b) widest = std::max(widest, dialog().box(b).state().place.width);
    const TwipRect& box = dialog().box(0).state().place;
    EXPECT_GE(layout.mindestbreite, box.left + widest + layout.baum_links);
    // A template layout with its editor below fits above the button row.
    const double editor = control("Frame_Tagdefinition").state().place.height +
                          control("Tag_Info_Bezeichnung").state().place.height;
    EXPECT_GE(layout.mindesthoehe,
              box.top + dialog().box(8).state().place.height + editor + control("Frame_Button").state().place.height);
}

}  // namespace
}  // namespace galvora::testing
