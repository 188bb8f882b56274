// The file filter page and its picture oracle.
#include <gtest/gtest.h>

#include "foundation/string_helpers.h"
#include "generation/script_glue.h"
#include "options/options_test_support.h"
#include "options/pages/file_filter_page.h"

namespace galvora::testing {
namespace {

constexpr int kDirLevel = 27;
constexpr int kFilter = 30;
constexpr int kOracle = 31;
constexpr int kPcdFormat = 32;

class FileFilterPage : public OptionsTest {
protected:
    CDateifilter& page() { return page_of<CDateifilter>(PageSlot::CDateifilter1); }
    PageControl& c(const char* name, int index = -1) { return page().control(name, index); }
    PageControl& oracle() { return page().editor().control("Modul_Inhalt"); }
};

TEST_F(FileFilterPage, SelectAllTicksEveryOfferedTypeAndJp2IsNeverOffered) {
    load({{6, "1"}, {7, "0"}, {10, "1"}});
    EXPECT_FALSE(c("bild_art", 10).state().visible);
    EXPECT_FALSE(c("bild_art", 10).state().enabled);
    TreeRebuildRequested = false;
    page().user_click(c("AlleFormate"));
    for (int i = 0; i < 12; ++i) {
        const int entry = CDateifilter::type_entry(i);
        EXPECT_EQ(profilwert(entry), i == 10 ? "0" : "1") << entry;
        EXPECT_EQ(c("bild_art", i).state().value, i == 10 ? 0 : 1) << i;
    }
    EXPECT_TRUE(TreeRebuildRequested);
}

TEST_F(FileFilterPage, PhotoCdResolutionFollowsItsType) {
    load({{8, "0"}, {kPcdFormat, "3"}});
    EXPECT_FALSE(c("FramePCDFormat").state().enabled);
    EXPECT_EQ(c("PCD_FormatAuswahl").state().value, 2);
    page().user_click(c("bild_art", 4));
    EXPECT_EQ(profilwert(8), "1");
    EXPECT_TRUE(c("FramePCDFormat").state().enabled);
    page().user_choose(c("PCD_FormatAuswahl"), 5);
    EXPECT_EQ(profilwert(kPcdFormat), "6");
    page().user_click(c("bild_art", 4));
    EXPECT_FALSE(c("FramePCDFormat").state().enabled);
    // Stored values the page cannot show choose nothing and are kept.
    load({{kPcdFormat, "9"}, {kDirLevel, "4"}});
    EXPECT_EQ(c("PCD_FormatAuswahl").state().value, -1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c("Auswertelevel", i).state().value, 0);
    EXPECT_EQ(profilwert(kPcdFormat), "9");
    EXPECT_EQ(profilwert(kDirLevel), "4");
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(FileFilterPage, LevelMaskAndExtensions) {
    TreeRebuildRequested = false;
    page().user_click(c("Auswertelevel", 2));
    EXPECT_EQ(profilwert(kDirLevel), "2");
    EXPECT_TRUE(TreeRebuildRequested);
    // The thumbnail pages follow at once.
    EXPECT_FALSE(dialog().seite(PageSlot::CHTMLThumbnails1)->control("html_default").state().enabled);

    page().user_text(c("dateinamen"), "IMG*");
    EXPECT_EQ(profilwert(kFilter), "IMG*");
    type_and_leave(page(), c("dateinamen"), "");
    EXPECT_EQ(profilwert(kFilter), "*");
    EXPECT_EQ(c("dateinamen").state().text, "*");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrMissingTemplate")});

    // A right click edits the type's extensions; other buttons do nothing.
    std::vector<int> asked;
    page_services().dateiarten = [&asked](int entry) { asked.push_back(entry); };
    page().user_mouse_up(c("bild_art", 3), kLeftButton, 0);
    page().user_mouse_up(c("bild_art", 3), kRightButton, 0);
    page().user_mouse_up(c("bild_art", 11), kRightButton, 0);
    EXPECT_EQ(asked, (std::vector<int>{18, 24}));
}

TEST_F(FileFilterPage, OracleIsStoredOnLeavingAndTestedAsATemplate) {
    load({{kOracle, "if (bildname() == \"x\") {\r\n  return 0;\r\n}"}});
    EXPECT_EQ(oracle().state().text, "if (bildname() == \"x\") {\n  return 0;\n}");
    page().editor().user_focus_out(oracle());
    EXPECT_FALSE(profil_geaendert);

    // An error in the third line: the caret goes to the token, in the
    // oracle's own text (the "{" line around it is not the user's).
    page().editor().user_text(oracle(), "a = 1;\nb = 2;\nc = 3 +;\n");
    page().editor().user_click(page().editor().control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(port.boxes[0].style, MB_ICON_EXCLAMATION);
    const std::u32string shown = utf8_decode(oracle().state().text);
    const int32_t caret = oracle().state().selection_start;
    ASSERT_LT(caret, static_cast<int32_t>(shown.size()));
    EXPECT_EQ(shown[static_cast<size_t>(caret)], U';') << caret;
    // A test writes nothing.
    EXPECT_EQ(profilwert(kOracle), "if (bildname() == \"x\") {\r\n  return 0;\r\n}");
    EXPECT_FALSE(skriptfunktion_vorhanden("_oracle"));

    port.boxes.clear();
    page().editor().user_text(oracle(), "return 1;");
    page().editor().user_click(page().editor().control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_EQ(port.boxes[0].text, msg("ErrOracleLastErr", {inq("Msg", "ErrZNSOk")}));
    EXPECT_FALSE(skriptfunktion_vorhanden("_oracle"));

    TreeRebuildRequested = false;
    page().editor().user_focus_out(oracle());
    EXPECT_EQ(profilwert(kOracle), "return 1;");
    EXPECT_TRUE(TreeRebuildRequested);
}

}  // namespace
}  // namespace galvora::testing
