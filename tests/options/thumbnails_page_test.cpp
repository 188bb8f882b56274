// The thumbnail page.
#include <gtest/gtest.h>

#include "options/options_test_support.h"
#include "options/pages/thumbnails_page.h"

namespace galvora::testing {
namespace {

constexpr int kThumbnails = 33;
constexpr int kThumbDirname = 34;
constexpr int kThumbClone = 35;
constexpr int kThumbHeight = 39;
constexpr int kSelectedSide = 40;
constexpr int kFramefill = 41;
constexpr int kFramefillColor = 42;
constexpr int kFramefillColorFits = 43;
constexpr int kQuality = 44;
constexpr int kGenerateClones = 52;

class ThumbnailsPage : public OptionsTest {
protected:
    CThumbnails& page() { return page_of<CThumbnails>(PageSlot::CThumbnails1); }
    PageControl& c(const char* name, int index = -1) { return page().control(name, index); }
    // The ids of the size frame's boxes and labels that are shown.
    std::vector<std::string> shown() {
        std::vector<std::string> ids;
        for (const char* name : {"ThumbLängsteSeite", "ThumbBreite", "ThumbHöhe", "RahmenFüllFrame",
                                 "RahmenFüllfarbePassend", "RahmenFüllfarbeFrame"})
            if (c(name).state().visible) ids.push_back(name);
        for (int label : {7, 45, 46, 47, 48})
            if (c("Label", label).state().visible) ids.push_back("Label(" + std::to_string(label) + ")");
        return ids;
    }
};

TEST_F(ThumbnailsPage, MasterSwitchAndThumbnailsFromTheClone) {
    struct Case {
        const char* thumbnails;
        const char* clones;
        bool clone_box;
    };
    for (const Case& k : {Case{"1", "0", false}, Case{"1", "1", true}, Case{"0", "1", false}}) {
        load({{kThumbnails, k.thumbnails}, {kGenerateClones, k.clones}, {kThumbClone, "1"}});
        EXPECT_EQ(c("ThumbnailsClone").state().enabled, k.clone_box) << k.thumbnails << k.clones;
        // Its tick stays as loaded, also while it is not offered.
        EXPECT_EQ(c("ThumbnailsClone").state().value, 1);
        EXPECT_EQ(c("thumbverzeichnis").state().enabled, std::string(k.thumbnails) == "1");
        EXPECT_TRUE(c("ThumbnailsErstellen").state().enabled);
    }
    page().user_click(c("ThumbnailsErstellen"));
    EXPECT_EQ(profilwert(kThumbnails), "1");
    EXPECT_TRUE(c("Qualität").state().enabled);
    EXPECT_TRUE(c("ThumbnailsClone").state().enabled);
}

TEST_F(ThumbnailsPage, EachMeasureShowsItsOwnBoxesInItsRow) {
    struct Case {
        int button;
        const char* stored;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {0, "1", {"ThumbLängsteSeite", "Label(7)"}},
        {1, "2", {"ThumbBreite", "Label(45)"}},
        {2, "3", {"ThumbHöhe", "Label(46)"}},
        {3, "4", {"ThumbBreite", "ThumbHöhe", "RahmenFüllFrame", "Label(47)", "Label(48)"}},
    };
    for (const Case& k : cases) {
        page().user_click(c("Seitenwahl", k.button));
        EXPECT_EQ(profilwert(kSelectedSide), k.stored);
        EXPECT_EQ(shown(), k.shown) << k.button;
        // The boxes stand in the row of the chosen button.
        for (const char* box : {"ThumbLängsteSeite", "ThumbBreite", "ThumbHöhe"}) {
            if (!c(box).state().visible) continue;
            EXPECT_NEAR(c(box).state().place.top, c("Seitenwahl", k.button).state().place.top, 30) << box;
        }
    }
    // Box mode: width, "x" and height in one row.
    EXPECT_LT(c("ThumbBreite").state().place.left, c("Label", 47).state().place.left);
    EXPECT_GE(c("ThumbHöhe").state().place.left,
              c("Label", 47).state().place.left + c("Label", 47).state().place.width);
    // Filling the frame offers the matching colour; while that is off, the colour.
    page().user_click(c("RahmenFüllen"));
    EXPECT_EQ(profilwert(kFramefill), "1");
    EXPECT_TRUE(c("RahmenFüllfarbePassend").state().visible);
    EXPECT_TRUE(c("RahmenFüllfarbeFrame").state().visible);
    page().user_click(c("RahmenFüllfarbePassend"));
    EXPECT_EQ(profilwert(kFramefillColorFits), "1");
    EXPECT_FALSE(c("RahmenFüllfarbeFrame").state().visible);

    // A stored measure no button stands for: no button, no box, nothing written.
    load({{kSelectedSide, "7"}});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c("Seitenwahl", i).state().value, 0);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(profilwert(kSelectedSide), "7");
}

TEST_F(ThumbnailsPage, SizeBoxesAndFolderName) {
    struct Case {
        const char* typed;
        bool refused;
        const char* stored;
    };
    // The decimal point is a point: "12.5" is twelve and a half, too small.
    for (const Case& k : {Case{"19", true, "100"}, Case{"20", false, "20"}, Case{"12.5", true, "100"},
                          Case{"19.5", false, "19.5"}, Case{"groß", true, "100"}, Case{"4000", false, "4000"}}) {
        port.boxes.clear();
        type_and_leave(page(), c("ThumbHöhe"), k.typed);
        EXPECT_EQ(box_texts(), k.refused ? std::vector<std::string>{msg("ErrThumbDimension")} : std::vector<std::string>{})
            << k.typed;
        EXPECT_EQ(profilwert(kThumbHeight), k.stored) << k.typed;
    }

    port.boxes.clear();
    page().user_text(c("thumbverzeichnis"), "th/umbs");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrThumbDirInvalidCharacter")});
    EXPECT_EQ(profilwert(kThumbDirname), "th/umbs");
    page().user_focus_out(c("thumbverzeichnis"));
    EXPECT_EQ(box_texts().back(), msg("ErrThumbDirInvalidCharacter"));
    EXPECT_EQ(profilwert(kThumbDirname), "thumbs");
    for (const char* name : {"..", "."}) {
        port.boxes.clear();
        type_and_leave(page(), c("thumbverzeichnis"), name);
        EXPECT_EQ(box_texts().back(), msg("ErrThumbDirInvalidCharacter")) << name;
        EXPECT_EQ(profilwert(kThumbDirname), "thumbs") << name;
    }
    port.boxes.clear();
    page().user_text(c("thumbverzeichnis"), "");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(profilwert(kThumbDirname), "");
    page().user_focus_out(c("thumbverzeichnis"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrThumbDirMissingName")});
    EXPECT_EQ(c("thumbverzeichnis").state().text, "thumbs");
}

TEST_F(ThumbnailsPage, LoadingShowsNoMessageAndChangesNothing) {
    load({{kThumbDirname, "a/b"}, {kSelectedSide, "4"}, {kFramefill, "1"}, {kQuality, "95"}});
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(c("thumbverzeichnis").state().text, "a/b");
    EXPECT_EQ(profilwert(kThumbDirname), "a/b");
    // A quality the slider cannot show stands at its end, unwritten.
    EXPECT_EQ(c("Qualität").state().value, 90);
    EXPECT_EQ(profilwert(kQuality), "95");
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(ThumbnailsPage, QualitySliderAndFrameColour) {
    page().user_value(c("Qualität"), 90);
    EXPECT_EQ(profilwert(kQuality), "90");
    EXPECT_EQ(c("Qualität_Prozent").state().caption, "90%");
    const double at_end = c("Qualität_Prozent").state().place.left;
    page().user_value(c("Qualität"), 20);
    EXPECT_EQ(c("Qualität_Prozent").state().caption, "20%");
    EXPECT_LT(c("Qualität_Prozent").state().place.left, at_end);

    page().user_click(c("Seitenwahl", 3));
    page().user_click(c("RahmenFüllen"));
    dialogs.colours = {0x0000FF, -1, 0x0000FF};
    page().user_click(c("RahmenFüllfarbeButton"));
    EXPECT_EQ(profilwert(kFramefillColor), "255");
    EXPECT_EQ(c("RahmenFüllfarbe").state().back_colour, 0x0000FFu);
    EXPECT_EQ(dialogs.colour_initials.back(), 16777215);
    EXPECT_EQ(dialogs.colour_titles.back(), "Galvora - Thumbnails - Rahmenfarbe festlegen");
    // Cancel, and the colour already shown, write nothing.
    profil_geaendert = false;
    page().user_click(c("RahmenFüllfarbeButton"));
    page().user_click(c("RahmenFüllfarbeButton"));
    EXPECT_FALSE(profil_geaendert);
    EXPECT_EQ(dialogs.colour_initials.back(), 255);
}

}  // namespace
}  // namespace galvora::testing
