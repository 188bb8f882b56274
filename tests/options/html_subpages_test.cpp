// The pages under the HTML node: start page, index page, thumbnail pages,
// picture pages and decoration.
#include <gtest/gtest.h>

#include "foundation/dialog_helpers.h"
#include "options/options_test_support.h"
#include "options/pages/deco_page.h"
#include "options/pages/index_page.h"
#include "options/pages/picture_pages_page.h"
#include "options/pages/start_page.h"
#include "options/pages/thumbnail_pages_page.h"

namespace galvora::testing {
namespace {

constexpr int kDirLevel = 27;
constexpr int kDecoPath = 86;
constexpr int kDecoCopy = 87;
constexpr int kDecoSource = 90;
constexpr int kGenerateFrame = 95;
constexpr int kFrameFilename = 96;
constexpr int kFrameInBase = 97;
constexpr int kGenerateIndex = 99;
constexpr int kIndexFilename = 100;
constexpr int kIndexPerLine = 102;
constexpr int kIndexFirstPage = 103;
constexpr int kGenerateThumbpages = 107;
constexpr int kSplit = 109;
constexpr int kThumbsPerLine = 110;
constexpr int kLinesPerPage = 111;
constexpr int kSplitDigits = 112;
constexpr int kVerweisfolge = 114;
constexpr int kRefPos = 115;
constexpr int kGeneratePicpage = 118;
constexpr int kPicVerweisfolge = 120;
constexpr int kPicRefPos = 121;

// Every control of the page enabled exactly when `enabled` says so.
void expect_enabled(const OptionPage& page, const std::function<bool(const PageControl&)>& enabled) {
    for (const auto& c : page.all_controls()) EXPECT_EQ(c->state().enabled, enabled(*c)) << page.Name() << "/" << c->id();
}

TEST_F(OptionsTest, StartPageMasterSwitchAndFileName) {
    auto& page = page_of<CHTMLStartseite>(PageSlot::CHTMLStartseite1);
    expect_enabled(page, [](const PageControl& c) { return c.name() == "mit_HTML_Frameseite"; });
    EXPECT_FALSE(dialog().baum().contains("KEY15"));
    page.user_click(page.control("mit_HTML_Frameseite"));
    EXPECT_EQ(profilwert(kGenerateFrame), "1");
    EXPECT_TRUE(dialog().baum().contains("KEY15"));
    expect_enabled(page, [](const PageControl&) { return true; });

    page.user_click(page.control("Frame_in_Basisverzeichnis"));
    EXPECT_EQ(profilwert(kFrameInBase), "1");
    // Leaving an empty name or one with "*": the message first, then the default.
    struct Case {
        const char* typed;
        const char* key;
    };
    for (const Case& k : {Case{"", "ErrFrameMissingName"}, Case{"st*rt", "ErrFrameInvalidCharacter"},
                          Case{"..", "ErrFrameInvalidCharacter"}}) {
        port.boxes.clear();
        type_and_leave(page, page.control("html_framefile_name"), k.typed);
        EXPECT_EQ(box_texts().back(), msg(k.key)) << k.typed;
        EXPECT_EQ(profilwert(kFrameFilename), "start") << k.typed;
    }
    port.boxes.clear();
    type_and_leave(page, page.control("html_framefile_name"), "willkommen");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(profilwert(kFrameFilename), "willkommen");
}

class IndexPage : public OptionsTest {
protected:
    CHTMLIndex& page() { return page_of<CHTMLIndex>(PageSlot::CHTMLIndex1); }
    PageControl& c(const char* name) { return page().control(name); }
};

TEST_F(IndexPage, FirstThumbnailPageFollowsTheDistribution) {
    struct Case {
        const char* generate;
        const char* split;
        const char* first;
        bool first_enabled;
        int32_t first_value;
        const char* stored_first;
    };
    const Case cases[] = {
        {"1", "0", "1", false, 0, "0"},  // one page: the box means nothing and is cleared
        {"1", "1", "1", true, 1, "1"},
        {"0", "1", "1", false, 1, "1"},  // page off: only the master box, whatever the split
        {"0", "0", "1", false, 1, "1"},
    };
    for (const Case& k : cases) {
        load({{kGenerateIndex, k.generate}, {kSplit, k.split}, {kIndexFirstPage, k.first}});
        EXPECT_EQ(c("NurErsteThumbSeite").state().enabled, k.first_enabled) << k.generate << k.split;
        EXPECT_EQ(c("NurErsteThumbSeite").state().value, k.first_value) << k.generate << k.split;
        EXPECT_EQ(profilwert(kIndexFirstPage), k.stored_first) << k.generate << k.split;
        EXPECT_EQ(c("mit_HTML_Indexfestlegung").state().enabled, true);
        EXPECT_EQ(c("Indexgruppierung").state().enabled, std::string(k.generate) == "1");
        EXPECT_TRUE(port.boxes.empty());
    }
}

TEST_F(IndexPage, SplittingTheThumbnailPagesOffersTheBoxAtOnce) {
    load({{kGenerateIndex, "1"}, {kSplit, "0"}, {kIndexFirstPage, "1"}});
    auto& thumbs = page_of<CHTMLThumbnails>(PageSlot::CHTMLThumbnails1);
    thumbs.user_click(thumbs.control("einige_auf_seite"));
    EXPECT_TRUE(c("NurErsteThumbSeite").state().enabled);
    EXPECT_EQ(c("NurErsteThumbSeite").state().value, 0);
    thumbs.user_click(thumbs.control("alle_auf_seite"));
    EXPECT_FALSE(c("NurErsteThumbSeite").state().enabled);
}

TEST_F(IndexPage, FileNameAndEntriesPerLine) {
    load({{kGenerateIndex, "1"}});
    struct Case {
        const char* typed;
        const char* key;  // nullptr: accepted as typed
        const char* stored;
    };
    for (const Case& k : {Case{"", "ErrIndexMissingName", "index"}, Case{"in*dex", "ErrIndexInvalidCharacter", "index"},
                          Case{"uebersicht", nullptr, "uebersicht"}}) {
        port.boxes.clear();
        type_and_leave(page(), c("html_indexfile_name"), k.typed);
        // Typing an invalid name warns already; leaving ends with the key's message.
        if (k.key != nullptr) {
            ASSERT_FALSE(port.boxes.empty());
            EXPECT_EQ(box_texts().back(), msg(k.key)) << k.typed;
        } else {
            EXPECT_TRUE(port.boxes.empty()) << k.typed;
        }
        EXPECT_EQ(profilwert(kIndexFilename), k.stored);
    }
    for (const Case& k : {Case{"0", "ErrIndexCountEntriesPerLine", "6"}, Case{"x", "ErrIndexCountEntriesPerLine", "6"},
                          Case{"1", nullptr, "1"}, Case{"250", nullptr, "250"}}) {
        port.boxes.clear();
        type_and_leave(page(), c("indexeinträge_horizontal"), k.typed);
        EXPECT_EQ(box_texts(), k.key ? std::vector<std::string>{msg(k.key)} : std::vector<std::string>{}) << k.typed;
        EXPECT_EQ(profilwert(kIndexPerLine), k.stored);
        EXPECT_EQ(c("indexeinträge_horizontal").state().text, k.stored);
    }
}

class ThumbnailPages : public OptionsTest {
protected:
    CHTMLThumbnails& page() { return page_of<CHTMLThumbnails>(PageSlot::CHTMLThumbnails1); }
    PageControl& c(const char* name, int index = -1) { return page().control(name, index); }
};

TEST_F(ThumbnailPages, DistributionEnablesSplitControlsAndAsksForATreeOnlyWhenSplitting) {
    load({{kSplit, "0"}});
    for (const char* name : {"lines_per_page", "SplitDigitCount", "SplitDigitCountVScroll", "Verweis_fortlaufend",
                             "Verweis_umlaufend", "Verweis_begrenzt"})
        EXPECT_FALSE(c(name).state().enabled) << name;
    EXPECT_TRUE(c("thumbs_per_line").state().enabled);
    TreeRebuildRequested = false;
    page().user_click(c("einige_auf_seite"));
    EXPECT_EQ(profilwert(kSplit), "1");
    EXPECT_TRUE(TreeRebuildRequested);
    EXPECT_EQ(c("alle_auf_seite").state().value, 0);
    for (const char* name : {"lines_per_page", "SplitDigitCountVScroll", "Verweis_begrenzt"})
        EXPECT_TRUE(c(name).state().enabled) << name;
    TreeRebuildRequested = false;
    page().user_click(c("alle_auf_seite"));
    EXPECT_EQ(profilwert(kSplit), "0");
    EXPECT_FALSE(TreeRebuildRequested);
}

TEST_F(ThumbnailPages, NumberBoxes) {
    struct Case {
        const char* box;
        const char* typed;
        const char* key;  // nullptr: accepted
        int entry;
        const char* stored;
    };
    const Case cases[] = {
        {"thumbs_per_line", "0", "ErrCountPicPerLine", kThumbsPerLine, "6"},
        {"thumbs_per_line", "3", nullptr, kThumbsPerLine, "3"},
        {"lines_per_page", "0", nullptr, kLinesPerPage, "0"},
        {"lines_per_page", "-1", "ErrCountLinesPerFile", kLinesPerPage, "10"},
        {"lines_per_page", "zwei", "ErrCountLinesPerFile", kLinesPerPage, "10"},
    };
    load({{kSplit, "1"}});
    for (const Case& k : cases) {
        port.boxes.clear();
        type_and_leave(page(), c(k.box), k.typed);
        EXPECT_EQ(box_texts(), k.key ? std::vector<std::string>{msg(k.key)} : std::vector<std::string>{})
            << k.box << " " << k.typed;
        EXPECT_EQ(profilwert(k.entry), k.stored) << k.box << " " << k.typed;
    }
    // The digits of the page number: the scroll bar writes, the label shows it.
    page().user_value(c("SplitDigitCountVScroll"), 3);
    EXPECT_EQ(profilwert(kSplitDigits), "3");
    EXPECT_EQ(c("SplitDigitCount").state().caption, "3");
}

TEST_F(ThumbnailPages, LinkPositionsAreABitSetAndTheSequenceAButton) {
    load({{kRefPos, "0"}, {kVerweisfolge, "7"}});
    for (int i : {2, 4, 5}) EXPECT_EQ(c("Verweisposition", i).state().value, 0);
    // A sequence no button stands for: none chosen, nothing written.
    for (const char* name : {"Verweis_fortlaufend", "Verweis_umlaufend", "Verweis_begrenzt"})
        EXPECT_EQ(c(name).state().value, 0);
    EXPECT_EQ(profilwert(kVerweisfolge), "7");
    page().user_click(c("Verweisposition", 4));
    EXPECT_EQ(profilwert(kRefPos), "16");
    page().user_click(c("Verweisposition", 2));
    page().user_click(c("Verweisposition", 5));
    EXPECT_EQ(profilwert(kRefPos), "52");
    for (int i : {2, 4, 5}) page().user_click(c("Verweisposition", i));
    EXPECT_EQ(profilwert(kRefPos), "0");
    page().user_click(c("Verweis_umlaufend"));
    EXPECT_EQ(profilwert(kVerweisfolge), "2");
    page().user_click(c("Verweis_begrenzt"));
    EXPECT_EQ(profilwert(kVerweisfolge), "3");
    EXPECT_EQ(c("Verweis_umlaufend").state().value, 0);
    // The sequence is compared as text: "2.0" or " 2" names no button.
    for (const char* stored : {"2.0", " 2", "02"}) {
        load({{kVerweisfolge, stored}});
        for (const char* name : {"Verweis_fortlaufend", "Verweis_umlaufend", "Verweis_begrenzt"})
            EXPECT_EQ(c(name).state().value, 0) << stored << " " << name;
        EXPECT_EQ(profilwert(kVerweisfolge), stored);
    }
    load({{kVerweisfolge, "2"}});
    EXPECT_EQ(c("Verweis_umlaufend").state().value, 1);
    // A loaded bit set shows its bits without writing a half-filled sum.
    load({{kRefPos, "36"}});
    EXPECT_EQ(c("Verweisposition", 2).state().value, 1);
    EXPECT_EQ(c("Verweisposition", 4).state().value, 0);
    EXPECT_EQ(c("Verweisposition", 5).state().value, 1);
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(ThumbnailPages, FileNameBaseOnlyForTheBaseDirectoryAndMasterSwitch) {
    load({{kDirLevel, "1"}});
    EXPECT_FALSE(c("html_default").state().enabled);
    EXPECT_TRUE(c("thumbs_per_line").state().enabled);
    // The file filter page's level reloads this page at once.
    auto& filter = *dialog().seite(PageSlot::CDateifilter1);
    filter.user_click(filter.control("Auswertelevel", 0));
    EXPECT_TRUE(c("html_default").state().enabled);
    page().user_text(c("html_default"), "seite");
    EXPECT_EQ(profilwert(108), "seite");

    load({{kGenerateThumbpages, "0"}});
    expect_enabled(page(), [](const PageControl& control) { return control.name() == "mit_HTML_Thumbnailfestlegung"; });
    page().user_click(c("mit_HTML_Thumbnailfestlegung"));
    EXPECT_EQ(profilwert(kGenerateThumbpages), "1");
    EXPECT_TRUE(dialog().baum().contains("KEY8"));
}

TEST_F(OptionsTest, PicturePagesPage) {
    auto& page = page_of<CHTMLBildseite>(PageSlot::CHTMLBildseite1);
    load({{kGeneratePicpage, "0"}, {kPicRefPos, "48"}, {kPicVerweisfolge, "3"}});
    expect_enabled(page, [](const PageControl& c) { return c.name() == "mit_HTML_Bildfestlegung"; });
    EXPECT_EQ(page.control("BS_HTML_Verweisposition", 4).state().value, 1);
    EXPECT_EQ(page.control("BS_HTML_Verweisposition", 5).state().value, 1);
    EXPECT_EQ(page.control("BS_Verweis_begrenzt").state().value, 1);
    EXPECT_FALSE(profil_geaendert);
    page.user_click(page.control("mit_HTML_Bildfestlegung"));
    EXPECT_TRUE(dialog().baum().contains("KEY10"));
    expect_enabled(page, [](const PageControl&) { return true; });
    page.user_click(page.control("BS_HTML_Verweisposition", 4));
    EXPECT_EQ(profilwert(kPicRefPos), "32");
    page.user_click(page.control("BS_Verweis_fortlaufend"));
    EXPECT_EQ(profilwert(kPicVerweisfolge), "1");
    EXPECT_EQ(page.control("BS_Verweis_begrenzt").state().value, 0);
    load({{kPicVerweisfolge, "1.0"}});
    EXPECT_EQ(page.control("BS_Verweis_fortlaufend").state().value, 0);
    EXPECT_EQ(profilwert(kPicVerweisfolge), "1.0");
}

class DecoPage : public OptionsTest {
protected:
    CDeko& page() { return page_of<CDeko>(PageSlot::CDeko1); }
    PageControl& c(const char* name) { return page().control(name); }
    std::string pool(const std::string& name) { return dekopool_pfad(name); }
};

TEST_F(DecoPage, SourceChosenInThePoolIsStoredByName) {
    fs::create_directories(tmp.path() / "elsewhere");
    struct Case {
        std::string chosen;
        std::string stored;
        uint32_t colour;
    };
    std::string pool_itself = pool("");
    pool_itself.pop_back();  // the chooser answers without a closing "/"
    const Case cases[] = {
        {pool("standard"), "standard", kLightGreen},
        {(tmp.path() / "elsewhere").string(), (tmp.path() / "elsewhere").string(), kLightGreen},
        {pool_itself, pool_itself, kLightGreen},
    };
    for (const Case& k : cases) {
        dialogs.folders.push_back(k.chosen);
        page().user_click(c("DekoSammelpfadFestlegen"));
        EXPECT_EQ(c("DekoSammelPfad").state().text, k.chosen);
        EXPECT_EQ(profilwert(kDecoSource), k.stored);
        EXPECT_EQ(c("DekoSammelPfad").state().back_colour, k.colour) << k.chosen;
    }
    // The chooser starts at the box's folder; cancelling changes nothing.
    page().user_click(c("DekoSammelpfadFestlegen"));
    EXPECT_EQ(dialogs.folder_starts.back(), pool_itself);
    EXPECT_EQ(profilwert(kDecoSource), pool_itself);
    // A folder that does not exist is stored all the same, on a red box; an
    // empty box has the window colour.
    page().user_text(c("DekoSammelPfad"), "/gibt/es/nicht");
    EXPECT_EQ(profilwert(kDecoSource), "/gibt/es/nicht");
    EXPECT_EQ(c("DekoSammelPfad").state().back_colour, kLightRed);
    page().user_text(c("DekoSammelPfad"), "");
    EXPECT_EQ(profilwert(kDecoSource), "");
    EXPECT_EQ(c("DekoSammelPfad").state().back_colour, kSysWindowBackground);
}

// A load that unticks the box must not run the user's untick: the profile
// would lose its stored source (entry 90 "") by being opened, and a later
// save would store the loss.
TEST_F(DecoPage, UntickingForgetsTheSourceButLoadingKeepsIt) {
    EXPECT_EQ(c("DekoSammelPfad").state().text, pool("standard"));
    page().user_click(c("DekoClonen"));
    EXPECT_EQ(profilwert(kDecoCopy), "0");
    EXPECT_EQ(profilwert(kDecoSource), "");
    for (const char* name : {"DekoImmerKopieren", "DekoSammelpfadFestlegen", "DekoSammelPfad"})
        EXPECT_FALSE(c(name).state().enabled) << name;
    page().user_click(c("DekoClonen"));
    EXPECT_EQ(c("DekoSammelPfad").state().text, pool("standard"));
    EXPECT_EQ(profilwert(kDecoSource), "standard");
    EXPECT_TRUE(c("DekoSammelPfad").state().enabled);

    // A profile that copies no decoration still names its source: loading it
    // keeps the name, shows it disabled, and saving keeps it in the profile.
    load({{kDecoCopy, "0"}, {kDecoSource, "/eigene/deko"}});
    EXPECT_EQ(profilwert(kDecoSource), "/eigene/deko");
    EXPECT_EQ(c("DekoSammelPfad").state().text, "/eigene/deko");
    EXPECT_FALSE(c("DekoSammelPfad").state().enabled);
    EXPECT_FALSE(profil_geaendert);
    load({{kDecoCopy, "1"}, {kDecoSource, "standard"}});
    EXPECT_TRUE(c("DekoSammelPfad").state().enabled);
    EXPECT_EQ(profilwert(kDecoSource), "standard");
}

TEST_F(DecoPage, FolderNameRule) {
    TreeRebuildRequested = false;
    page().user_text(c("decopath"), "de:ko");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrDecoInvalidCharacter")});
    EXPECT_EQ(profilwert(kDecoPath), "de:ko");
    EXPECT_TRUE(TreeRebuildRequested);
    port.boxes.clear();
    type_and_leave(page(), c("decopath"), "");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrDecoMissingName")});
    EXPECT_EQ(profilwert(kDecoPath), "deco");
    EXPECT_EQ(c("decopath").state().text, "deco");
}

}  // namespace
}  // namespace galvora::testing
