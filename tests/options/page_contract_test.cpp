// The common rules of option pages, on a page made for the test: each kind
// of binding, the master switch, events, filling without messages and
// without marking the profile changed.
#include <gtest/gtest.h>

#include "options/option_page.h"
#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

// Free entries of the settings table the test page binds to.
constexpr int kMaster = 33;   // THUMBNAILS
constexpr int kName = 34;     // THUMB_DIRNAME
constexpr int kCheck = 36;    // THUMBDIR_CLEAN
constexpr int kNumber = 37;   // THUMB_SIZE
constexpr int kOption = 40;   // THUMB_SELECTED_SIDE
constexpr int kColour = 42;   // THUMB_FRAMEFILLCOLOR
constexpr int kSlider = 44;   // THUMB_QUALITY
constexpr int kBits = 115;    // REF_POS
constexpr int kFolder = 53;   // CLONE_PATH
constexpr int kLater = 92;    // HTML_DOCTYPE

class TestPage : public OptionPage {
public:
    TestPage() : OptionPage("CTestSeite", 6000, 4000) {
        using K = PageControlKind;
        auto& master = add(K::CheckBox, "Master", "Create", "Erzeugen", {});
        auto& frame = add(K::Frame, "Rahmen", "Frame", "Rahmen", {});
        auto& name = add(K::TextBox, "Name", "", "", {}, &frame);
        auto& check = add(K::CheckBox, "Check", "Check", "Prüfen", {}, &frame);
        auto& number = add(K::TextBox, "Zahl", "", "", {});
        for (int i = 0; i < 4; ++i) add(K::OptionButton, "Seite", "", "", {}, nullptr, i);
        auto& field = add(K::PictureBox, "Farbe", "", "", {});
        auto& colour = add(K::Button, "FarbeButton", "", "...", {});
        auto& slider = add(K::Slider, "Regler", "", "", {});
        slider.state().minimum = 20;
        slider.state().maximum = 90;
        auto& b4 = add(K::CheckBox, "Bit", "", "", {}, nullptr, 4);
        auto& b16 = add(K::CheckBox, "Bit", "", "", {}, nullptr, 16);
        auto& b32 = add(K::CheckBox, "Bit", "", "", {}, nullptr, 32);
        auto& path = add(K::TextBox, "Pfad", "", "", {});
        auto& browse = add(K::Button, "PfadButton", "", "...", {});
        auto& later = add(K::TextBox, "Spaeter", "", "", {});
        declare_events({PageEvent::BaumAnpassen, PageEvent::ClonenVerändert});

        bind_master_switch(master, ValueTarget::entry(kMaster), {PageEvent::BaumAnpassen, PageEvent::ClonenVerändert});
        bind_name_box(name, ValueTarget::entry(kName),
                      {.default_name = "thumbs",
                       .invalid_key = "ErrThumbDirInvalidCharacter",
                       .missing_key = "ErrThumbDirMissingName",
                       .missing_key_only_when_empty = true,
                       .message_first = true});
        bind_check_box(check, ValueTarget::entry(kCheck), [this] { ++check_writes; });
        bind_number_box(number, ValueTarget::entry(kNumber), {.minimum = 20, .fallback = 100, .key = "ErrThumbDimension"});
        bind_option_group("Seite", ValueTarget::entry(kOption), {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
        bind_colour_button(colour, field, ValueTarget::entry(kColour), "ThumbFrameFillColor");
        bind_slider(slider, ValueTarget::entry(kSlider));
        bind_bit_set({{&b4, 4}, {&b16, 16}, {&b32, 32}}, ValueTarget::entry(kBits));
        bind_text(path, ValueTarget::entry(kFolder));
        bind_folder_button(browse, path, {.root = 17, .prompt_key = "Prompt", .caption_key = "Caption"});
        bind_text(later, ValueTarget::entry(kLater), WriteOn::LostFocus);
    }
    void narrower_rules() override {
        ++narrower_runs;
        control("Zahl").set_enabled(control("Check").state().value == 1);
    }
    int narrower_runs = 0;
    int check_writes = 0;
};

class PageContract : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        page.connect(PageEvent::BaumAnpassen, [this] { events.push_back("BaumAnpassen"); });
        page.connect(PageEvent::ClonenVerändert, [this] { events.push_back("ClonenVerändert"); });
        page.InitDialog();
        profil_geaendert = false;
        events.clear();
        port.boxes.clear();
    }
    PageControl& c(const std::string& name, int index = -1) { return page.control(name, index); }
    TestPage page;
    std::vector<std::string> events;
};

// Pages are filled whenever a profile is applied, a batch start included, where
// any message ends the batch run: a stored value the user never touched is
// shown without a message (the run start checks the names it uses). A bit set
// is filled in one step, so no half-built value is ever stored in between.
TEST_F(PageContract, FillingShowsTheSettingsWithoutMarkingOrMessages) {
    load({{kMaster, "1"}, {kName, "a:b"}, {kCheck, "1"}, {kNumber, "7"}, {kOption, "4"}, {kColour, "255"},
          {kSlider, "75"}, {kBits, "48"}, {kFolder, "/srv"}});
    page.InitDialog();
    EXPECT_FALSE(profil_geaendert);
    // An invalid name in a profile is shown as it is, without a message.
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(c("Name").state().text, "a:b");
    EXPECT_EQ(c("Check").state().value, 1);
    EXPECT_EQ(c("Zahl").state().text, "7");
    EXPECT_EQ(c("Seite", 3).state().value, 1);
    EXPECT_EQ(c("Seite", 0).state().value, 0);
    EXPECT_EQ(c("Farbe").state().back_colour, 255u);
    EXPECT_EQ(c("Regler").state().value, 75);
    EXPECT_EQ(c("Bit", 4).state().value, 0);
    EXPECT_EQ(c("Bit", 16).state().value, 1);
    EXPECT_EQ(c("Bit", 32).state().value, 1);
    EXPECT_EQ(c("Pfad").state().text, "/srv");
    EXPECT_EQ(profilwert(kBits), "48");
}

TEST_F(PageContract, EncodingsOfWhatTheUserDoes) {
    load({{kMaster, "1"}});
    page.InitDialog();
    page.user_click(c("Check"));
    EXPECT_EQ(profilwert(kCheck), "1");
    page.user_click(c("Check"));
    EXPECT_EQ(profilwert(kCheck), "0");
    EXPECT_EQ(page.check_writes, 2);
    page.user_click(c("Seite", 2));
    EXPECT_EQ(profilwert(kOption), "3");
    EXPECT_EQ(c("Seite", 3).state().value, 0);
    page.user_value(c("Regler"), 90);
    EXPECT_EQ(profilwert(kSlider), "90");
    // Bit set: the sum of the ticked boxes, rebuilt on every click.
    load({{kMaster, "1"}, {kBits, "0"}});
    page.InitDialog();
    page.user_click(c("Bit", 16));
    EXPECT_EQ(profilwert(kBits), "16");
    page.user_click(c("Bit", 4));
    page.user_click(c("Bit", 32));
    EXPECT_EQ(profilwert(kBits), "52");
    for (int bit : {4, 16, 32}) page.user_click(c("Bit", bit));
    EXPECT_EQ(profilwert(kBits), "0");
    // A free text written on leaving only.
    page.user_text(c("Spaeter"), "<!DOCTYPE html>");
    EXPECT_EQ(profilwert(kLater), "");
    page.user_focus_out(c("Spaeter"));
    EXPECT_EQ(profilwert(kLater), "<!DOCTYPE html>");
}

TEST_F(PageContract, NameBoxWarnsWhileTypingAndPutsTheDefaultBackOnLeaving) {
    load({{kMaster, "1"}});
    page.InitDialog();
    page.user_text(c("Name"), "a");
    page.user_text(c("Name"), "a/");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrThumbDirInvalidCharacter")});
    EXPECT_EQ(profilwert(kName), "a/");
    port.boxes.clear();
    page.user_focus_out(c("Name"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrThumbDirInvalidCharacter")});
    EXPECT_EQ(c("Name").state().text, "thumbs");
    EXPECT_EQ(profilwert(kName), "thumbs");
    // Clearing is silent while typing; leaving the empty box names what is missing.
    port.boxes.clear();
    page.user_text(c("Name"), "");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(profilwert(kName), "");
    page.user_focus_out(c("Name"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrThumbDirMissingName")});
    EXPECT_EQ(profilwert(kName), "thumbs");
    // A valid name is left alone.
    port.boxes.clear();
    page.user_text(c("Name"), "kleine");
    page.user_focus_out(c("Name"));
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(profilwert(kName), "kleine");
}

TEST_F(PageContract, NumberBoxMinimumRule) {
    load({{kMaster, "1"}});
    page.InitDialog();
    struct Case {
        const char* typed;
        const char* kept;
        bool message;
    };
    for (const Case& k : {Case{"19", "100", true}, Case{"20", "20", false}, Case{"abc", "100", true},
                          Case{"", "100", true}, Case{"25.5", "25.5", false}, Case{"-3", "100", true}}) {
        port.boxes.clear();
        page.user_text(c("Zahl"), k.typed);
        EXPECT_EQ(profilwert(kNumber), k.typed);
        page.user_focus_out(c("Zahl"));
        EXPECT_EQ(c("Zahl").state().text, k.kept) << k.typed;
        EXPECT_EQ(profilwert(kNumber), k.kept) << k.typed;
        EXPECT_EQ(port.boxes.size(), k.message ? 1u : 0u) << k.typed;
    }
}

TEST_F(PageContract, ValuesAControlCannotShowAreNeitherShownNorWritten) {
    load({{kMaster, "1"}, {kOption, "9"}, {kSlider, "120"}, {kCheck, "ja"}});
    page.InitDialog();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c("Seite", i).state().value, 0);
    EXPECT_EQ(c("Regler").state().value, 90);
    EXPECT_EQ(c("Check").state().value, 0);
    EXPECT_EQ(profilwert(kOption), "9");
    EXPECT_EQ(profilwert(kSlider), "120");
    EXPECT_EQ(profilwert(kCheck), "ja");
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(PageContract, ColourButtonWritesOnlyANewColour) {
    load({{kMaster, "1"}, {kColour, "16777215"}});
    page.InitDialog();
    dialogs.colours = {-1, 16777215, 0x00FF80};
    page.user_click(c("FarbeButton"));  // cancelled
    page.user_click(c("FarbeButton"));  // the colour shown already
    EXPECT_FALSE(profil_geaendert);
    page.user_click(c("FarbeButton"));
    EXPECT_EQ(profilwert(kColour), std::to_string(0x00FF80));
    EXPECT_EQ(c("Farbe").state().back_colour, 0x00FF80u);
    ASSERT_EQ(dialogs.colour_initials.size(), 3u);
    EXPECT_EQ(dialogs.colour_initials[0], 16777215);
    EXPECT_EQ(dialogs.colour_titles[0], "Galvora - " + inq("CTestSeite", "ThumbFrameFillColor"));
}

TEST_F(PageContract, FolderButtonStartsAtTheBoxAndLetsTheBoxWrite) {
    load({{kMaster, "1"}, {kFolder, "/start"}});
    page.InitDialog();
    dialogs.folders = {"", "/gewählt"};
    page.user_click(c("PfadButton"));
    EXPECT_EQ(profilwert(kFolder), "/start");
    page.user_click(c("PfadButton"));
    EXPECT_EQ(profilwert(kFolder), "/gewählt");
    EXPECT_EQ(dialogs.folder_starts, (std::vector<std::string>{"/start", "/start"}));
}

TEST_F(PageContract, MasterSwitchEnablesRaisesAndRefills) {
    struct Case {
        const char* value;
        bool on;
    };
    for (const Case& k : {Case{"1", true}, Case{"1.0", true}, Case{"0", false}, Case{"2", false}, Case{"-1", false},
                          Case{"x", false}}) {
        load({{kMaster, k.value}, {kCheck, "0"}});
        page.InitDialog();
        EXPECT_TRUE(c("Master").state().enabled) << k.value;
        EXPECT_EQ(c("Check").state().enabled, k.on) << k.value;
        EXPECT_EQ(c("Name").state().enabled, k.on) << k.value;
        // Narrower rules only while the master is on.
        EXPECT_FALSE(c("Zahl").state().enabled) << k.value;
    }
    load({{kMaster, "0"}});
    page.InitDialog();
    const int runs = page.narrower_runs;
    events.clear();
    page.user_click(c("Master"));
    EXPECT_EQ(profilwert(kMaster), "1");
    EXPECT_EQ(events, (std::vector<std::string>{"BaumAnpassen", "ClonenVerändert"}));
    EXPECT_EQ(page.narrower_runs, runs + 1);
    EXPECT_TRUE(c("Check").state().enabled);
    EXPECT_EQ(page.event_number(PageEvent::BaumAnpassen), 1);
    EXPECT_EQ(page.event_number(PageEvent::ClonenVerändert), 2);
    EXPECT_EQ(page.event_number(PageEvent::VerteilungVerändert), 0);
}

TEST_F(PageContract, CaptionsComeFromTheLanguageByTag) {
    page.InitLanguage();
    EXPECT_EQ(inq("CTestSeite", "Create"), "Erzeugen");
    EXPECT_EQ(inq("CTestSeite", "Frame"), "Rahmen");
    EXPECT_EQ(c("Check").state().caption, "Prüfen");
}

// An effect editor's number box: checked against both ends on Enter and on leaving.
class RangePage : public OptionPage {
public:
    RangePage() : OptionPage("CRangeTest", 1000, 1000) {
        auto& box = add(PageControlKind::TextBox, "Breite", "", "", {});
        declare_events({PageEvent::BildEffekteChanged});
        bind_range_box(
            box,
            ValueTarget::property([this] { return std::to_string(slot); },
                                  [this](const std::string& v) { slot = std::stoi(v); }),
            {.minimum = 1, .maximum = 99, .key = "ErrImageeffectMosaicWidth"}, [this] { ++changes; });
    }
    int slot = 10;
    int changes = 0;
};

TEST_F(OptionsTest, RangeBoxPutsTheOldValueBackAndAlwaysReportsAChange) {
    RangePage page;
    page.InitDialog();
    PageControl& box = page.control("Breite");
    page.user_text(box, "150");
    EXPECT_EQ(page.slot, 10);
    EXPECT_TRUE(page.user_key(box, ControlEvent::KeyDown, kKeyReturn, 0));
    EXPECT_EQ(box.state().text, "10");
    EXPECT_EQ(page.slot, 10);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrImageeffectMosaicWidth", {"1", "99"}));
    page.user_text(box, "42");
    page.user_focus_out(box);
    EXPECT_EQ(page.slot, 42);
    EXPECT_EQ(page.changes, 2);
    EXPECT_FALSE(page.user_key(box, ControlEvent::KeyDown, 'A', 0));
}

}  // namespace
}  // namespace galvora::testing
