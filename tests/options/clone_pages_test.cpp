// The clone settings page and the clone renaming page.
#include <gtest/gtest.h>

#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateClones = 52;
constexpr int kClonePath = 53;
constexpr int kCloneConvert = 56;
constexpr int kCloneSize = 58;
constexpr int kCloneSide = 61;
constexpr int kCloneQuality = 64;
constexpr int kCloneMaxSize = 65;
constexpr int kCloneMaxSizeBytes = 66;
constexpr int kCloneMinQuality = 67;
constexpr int kCloneFilter = 68;
constexpr int kClonePreserveDate = 76;
constexpr int kCloneProgressive = 78;
constexpr int kRename = 70;
constexpr int kRenameMask = 71;
constexpr int kRenameDigits = 72;
constexpr int kRenameCase = 73;
constexpr int kRenameFind = 74;
constexpr int kRenameReplace = 75;

class ClonePage : public OptionsTest {
protected:
    OptionPage& page() { return *dialog().seite(PageSlot::CClonen1); }
    PageControl& c(const std::string& name, int index = -1) { return page().control(name, index); }
    bool shown(const std::string& name, int index = -1) { return c(name, index).state().visible; }
};

TEST_F(ClonePage, MasterSwitchRaisesTreeThenThumbnailsAndEnablesThePage) {
    load({{kGenerateClones, "0"}});
    for (const auto& control : page().all_controls())
        EXPECT_EQ(control->state().enabled, control->name() == "CloneErzeugen") << control->id();
    std::vector<std::string> events;
    page().connect(PageEvent::BaumAnpassen, [&] {
        events.push_back("tree");
        dialog().OptionenBaumAufbauen();
    });
    page().connect(PageEvent::ClonenVerändert, [&] { events.push_back("thumbnails"); });
    page().user_click(c("CloneErzeugen"));
    EXPECT_EQ(profilwert(kGenerateClones), "1");
    EXPECT_EQ(events, (std::vector<std::string>{"tree", "thumbnails"}));
    EXPECT_TRUE(dialog().baum().contains("KEY13"));
    EXPECT_TRUE(dialog().baum().contains("KEY18"));
    EXPECT_TRUE(c("ClonePfad").state().enabled);
    EXPECT_TRUE(c("CloneQualität").state().enabled);
    // Off again: the controls keep their values, only the master is usable.
    page().user_text(c("ClonePfad"), "/srv/clones");
    page().user_click(c("CloneErzeugen"));
    EXPECT_EQ(profilwert(kGenerateClones), "0");
    EXPECT_FALSE(c("ClonePfad").state().enabled);
    EXPECT_EQ(c("ClonePfad").state().text, "/srv/clones");
    EXPECT_EQ(profilwert(kClonePath), "/srv/clones");
}

TEST_F(ClonePage, SideChoiceShowsItsSizeBoxesInItsRow) {
    struct Case {
        const char* side;
        std::vector<std::string> boxes;
        bool area;
    };
    const Case cases[] = {
        {"0", {}, false},
        {"1", {"CloneLängsteSeite"}, true},
        {"2", {"CloneBreite"}, true},
        {"3", {"CloneHöhe"}, true},
        {"4", {"CloneBreite", "CloneHöhe"}, true},
        {"7", {}, true},  // no button: no box, but the area and the filter
    };
    for (const Case& k : cases) {
        load({{kGenerateClones, "1"}, {kCloneSide, k.side}});
        for (const char* box : {"CloneLängsteSeite", "CloneBreite", "CloneHöhe"}) {
            const bool expected = std::find(k.boxes.begin(), k.boxes.end(), box) != k.boxes.end();
            EXPECT_EQ(shown(box), expected) << k.side << " " << box;
        }
        EXPECT_EQ(shown("FrameAusdehnung"), k.area) << k.side;
        EXPECT_EQ(shown("CloneFilterFrame"), k.area) << k.side;
    }
    load({{kGenerateClones, "1"}, {kCloneSide, "4"}});
    // Width, "x", height and "Pixel" stand in one row.
    EXPECT_EQ(c("CloneBreite").state().place.top, 810);
    EXPECT_EQ(c("CloneHöhe").state().place.top, 810);
    const TwipRect x = c("Label", 43).state().place;
    EXPECT_EQ(c("CloneHöhe").state().place.left, x.left + x.width);
    EXPECT_TRUE(shown("Label", 43));
    EXPECT_TRUE(shown("Label", 26));
    // Clicking another side writes it and reshapes the page.
    page().user_click(c("CloneSeitenwahl", 3));
    EXPECT_EQ(profilwert(kCloneSide), "3");
    EXPECT_TRUE(shown("CloneHöhe"));
    EXPECT_EQ(c("CloneHöhe").state().place.top, 540);
    EXPECT_FALSE(shown("CloneBreite"));
}

TEST_F(ClonePage, MaximumSizeMovesTheSliderToTheMinimumQuality) {
    load({{kGenerateClones, "1"}, {kCloneQuality, "80"}, {kCloneMinQuality, "30"}});
    EXPECT_EQ(c("CloneQualität").state().value, 80);
    EXPECT_EQ(c("FrameQuality").state().caption, "Qualität");
    EXPECT_EQ(c("CloneMaxSizeText").state().caption, "max. Dateigröße festlegen");
    EXPECT_FALSE(shown("CloneMaxSizeBytes"));
    page().user_click(c("CloneMaxSize"));
    EXPECT_EQ(profilwert(kCloneMaxSize), "1");
    EXPECT_TRUE(shown("CloneMaxSizeBytes"));
    EXPECT_TRUE(shown("Label", 49));
    EXPECT_EQ(c("FrameQuality").state().caption, "min. Qualität");
    EXPECT_EQ(c("CloneMaxSizeText").state().caption, "max. Dateigröße festlegen auf");
    EXPECT_EQ(c("CloneQualität").state().value, 30);
    // The byte box follows the caption with a gap of 60 twips.
    const TwipRect text = c("CloneMaxSizeText").state().place;
    EXPECT_EQ(c("CloneMaxSizeBytes").state().place.left, text.left + text.width + 60);
    page().user_value(c("CloneQualität"), 40);
    EXPECT_EQ(profilwert(kCloneMinQuality), "40");
    EXPECT_EQ(profilwert(kCloneQuality), "80");
    EXPECT_EQ(c("CloneQualitätProzent").state().caption, "40%");
    // The caption text toggles the box as a click on it does.
    page().user_click(c("CloneMaxSizeText"));
    EXPECT_EQ(profilwert(kCloneMaxSize), "0");
    EXPECT_EQ(c("CloneQualität").state().value, 80);
    EXPECT_FALSE(shown("CloneMaxSizeBytes"));
}

TEST_F(ClonePage, NumberBoxesFallBackBelowTheirMinimum) {
    load({{kGenerateClones, "1"}, {kCloneSide, "1"}, {kCloneMaxSize, "1"}});
    struct Case {
        const char* box;
        int index;
        const char* typed;
        const char* kept;
        const char* key;
    };
    const Case cases[] = {
        {"CloneMaxSizeBytes", kCloneMaxSizeBytes, "999", "1000", "ErrClonesMaxSize"},
        {"CloneMaxSizeBytes", kCloneMaxSizeBytes, "1000", "1000", nullptr},
        {"CloneMaxSizeBytes", kCloneMaxSizeBytes, "viel", "1000", "ErrClonesMaxSize"},
        {"CloneLängsteSeite", kCloneSize, "99", "640", "ErrClonesDimension"},
        {"CloneLängsteSeite", kCloneSize, "100", "100", nullptr},
        {"CloneLängsteSeite", kCloneSize, "", "640", "ErrClonesDimension"},
    };
    for (const Case& k : cases) {
        port.boxes.clear();
        page().user_text(c(k.box), k.typed);
        page().user_focus_out(c(k.box));
        EXPECT_EQ(c(k.box).state().text, k.kept) << k.box << " " << k.typed;
        EXPECT_EQ(profilwert(k.index), k.kept) << k.box << " " << k.typed;
        EXPECT_EQ(box_texts(), k.key ? std::vector<std::string>{msg(k.key)} : std::vector<std::string>{})
            << k.box << " " << k.typed;
    }
}

TEST_F(ClonePage, FilterListWritesItsCodeAndFileTypesOnlyShow) {
    load({{kGenerateClones, "1"}, {kCloneSide, "1"}, {kCloneFilter, "-2"}});
    const ControlState& filter = c("CloneFilter").state();
    ASSERT_EQ(filter.items.size(), 13u);
    EXPECT_EQ(filter.items[static_cast<size_t>(filter.value)].text, "Linear 2x2");
    EXPECT_EQ(filter.items[0].image_key, "grün");
    EXPECT_EQ(filter.items[12].image_key, "rot");
    page().user_choose(c("CloneFilter"), 5);
    EXPECT_EQ(filter.items[5].text, "Hermite");
    EXPECT_EQ(profilwert(kCloneFilter), "11");
    // A value no item carries keeps the choice.
    load({{kGenerateClones, "1"}, {kCloneSide, "1"}, {kCloneFilter, "10"}});
    EXPECT_EQ(c("CloneFilter").state().value, 5);

    EXPECT_TRUE(shown("FrameJPGOptionen"));
    EXPECT_FALSE(shown("FrameTIFOptionen"));
    profil_geaendert = false;
    page().user_choose(c("BildtypOptionen"), 1);
    EXPECT_FALSE(shown("FrameJPGOptionen"));
    EXPECT_TRUE(shown("FrameTIFOptionen"));
    EXPECT_EQ(c("FrameTIFOptionen").state().place.left, c("FrameJPGOptionen").state().place.left);
    EXPECT_EQ(c("FrameTIFOptionen").state().place.top, c("FrameJPGOptionen").state().place.top);
    EXPECT_FALSE(profil_geaendert);
}

// The two formats' options share one place: a page first shown with cloning
// off shows only the chosen format's, and keeps showing them when turned off.
TEST_F(ClonePage, OnlyTheChosenFormatsOptionsStandInTheirPlaceWhileOff) {
    load({{kGenerateClones, "0"}});
    EXPECT_TRUE(shown("FrameJPGOptionen"));
    EXPECT_FALSE(shown("FrameTIFOptionen"));
    page().user_click(c("CloneErzeugen"));
    page().user_choose(c("BildtypOptionen"), 1);
    page().user_click(c("CloneErzeugen"));
    EXPECT_EQ(profilwert(kGenerateClones), "0");
    EXPECT_FALSE(shown("FrameJPGOptionen"));
    EXPECT_TRUE(shown("FrameTIFOptionen"));
}

TEST_F(ClonePage, ProgressiveBoxShowsTheProfileAndDateKeepsItsValueWhileOff) {
    load({{kGenerateClones, "1"}, {kCloneProgressive, "1"}, {kClonePreserveDate, "1"}});
    EXPECT_EQ(c("JPGProgressive").state().value, 1);
    EXPECT_EQ(c("CloneDatumZeitErhalten").state().value, 1);
    load({{kGenerateClones, "0"}, {kCloneProgressive, "0"}, {kClonePreserveDate, "0"}});
    EXPECT_EQ(c("JPGProgressive").state().value, 0);
    // Filled only while cloning is on: it still shows what it showed.
    EXPECT_EQ(c("CloneDatumZeitErhalten").state().value, 1);
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(ClonePage, ConvertingAndTheFolderChooser) {
    load({{kGenerateClones, "1"}, {kClonePath, "/alt"}});
    page().user_click(c("CloneKopieJPG"));
    EXPECT_EQ(profilwert(kCloneConvert), "0");
    page().user_click(c("ClonePfadFestlegen"));
    EXPECT_EQ(dialogs.folder_starts, std::vector<std::string>{"/alt"});
    EXPECT_EQ(profilwert(kClonePath), "/alt");
    dialogs.folders.push_back("/neu");
    page().user_click(c("ClonePfadFestlegen"));
    EXPECT_EQ(c("ClonePfad").state().text, "/neu");
    EXPECT_EQ(profilwert(kClonePath), "/neu");
}

class RenamePage : public OptionsTest {
protected:
    OptionPage& page() { return *dialog().seite(PageSlot::CClonenUmbenennen1); }
    PageControl& c(const std::string& name, int index = -1) { return page().control(name, index); }
    std::pair<std::string, std::string> examples() {
        return {c("RenameBeispiele", 0).state().caption, c("RenameBeispiele", 1).state().caption};
    }
};

TEST_F(RenamePage, ExamplesFollowEveryEdit) {
    struct Case {
        const char* mask;
        const char* digits;
        const char* case_mode;
        const char* find;
        const char* replacement;
        std::pair<std::string, std::string> shown;
    };
    const Case cases[] = {
        {"clone_#", "4", "0", "", "", {"clone_0001", "clone_0002"}},
        {"%_$", "4", "0", "", "", {"Verzeichnisname_Bild-Dateiname-Eins", "Verzeichnisname_Bild-Dateiname-Zwei"}},
        {"$", "4", "0", "Eins,Zwei", "1", {"Bild-Dateiname-1", "Bild-Dateiname-"}},
        {"$", "4", "0", "a,b", "1,2,3", {"Bild-Dateiname-Eins", "Bild-Dateiname-Zwei"}},
        {"%_$_#", "2", "2", "eins", "x", {"VERZEICHNISNAME_BILD-DATEINAME-X_01", "VERZEICHNISNAME_BILD-DATEINAME-ZWEI_02"}},
        {"#", "10", "0", "", "", {"0000000001", "0000000002"}},
    };
    load({{kRename, "1"}});
    for (const Case& k : cases) {
        page().user_text(c("RenameSuche"), k.find);
        page().user_text(c("RenameErsatz"), k.replacement);
        page().user_value(c("RenameVScroll"), std::stoi(k.digits));
        page().user_click(c("RenameSchreibweise", std::stoi(k.case_mode)));
        page().user_text(c("RenameMaske"), k.mask);
        EXPECT_EQ(examples(), k.shown) << k.mask;
        EXPECT_EQ(c("RenameZiffern").state().text, k.digits);
        EXPECT_EQ(profilwert(kRenameMask), k.mask);
        EXPECT_EQ(profilwert(kRenameDigits), k.digits);
        EXPECT_EQ(profilwert(kRenameCase), k.case_mode);
        EXPECT_EQ(profilwert(kRenameFind), k.find);
        EXPECT_EQ(profilwert(kRenameReplace), k.replacement);
    }
}

TEST_F(RenamePage, MasterAndTheDollarRule) {
    load({{kRename, "0"}});
    for (const auto& control : page().all_controls())
        EXPECT_EQ(control->state().enabled, control->name() == "CloneUmbenennen") << control->id();
    page().user_click(c("CloneUmbenennen"));
    EXPECT_EQ(profilwert(kRename), "1");
    EXPECT_TRUE(c("RenameMaske").state().enabled);
    // "clone_#" has no "$": the find/replace group is disabled.
    EXPECT_FALSE(c("RenameSuche").state().enabled);
    EXPECT_FALSE(c("RenameErsatzFrame").state().enabled);
    page().user_text(c("RenameMaske"), "clone_$");
    EXPECT_TRUE(c("RenameSuche").state().enabled);
    EXPECT_TRUE(c("RenameErsatz").state().enabled);
    EXPECT_TRUE(c("Label0", 2).state().enabled);
    page().user_text(c("RenameMaske"), "clone_");
    EXPECT_FALSE(c("RenameSuche").state().enabled);
}

TEST_F(RenamePage, ValuesTheControlsCannotShowAreLeftAsTheyAre) {
    load({{kRename, "1"}, {kRenameDigits, "12"}, {kRenameCase, "5"}});
    EXPECT_EQ(c("RenameVScroll").state().value, 10);
    EXPECT_EQ(c("RenameZiffern").state().text, "10");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c("RenameSchreibweise", i).state().value, 0);
    EXPECT_EQ(profilwert(kRenameDigits), "12");
    EXPECT_EQ(profilwert(kRenameCase), "5");
    EXPECT_FALSE(profil_geaendert);
}

}  // namespace
}  // namespace galvora::testing
