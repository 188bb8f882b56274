// The HTML output page and the sorting page.
#include <gtest/gtest.h>

#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kDirSort = 28;
constexpr int kDirSortDirection = 29;
constexpr int kGenerateHtml = 80;
constexpr int kHtmlBase = 81;
constexpr int kHtmlExtension = 83;
constexpr int kThumbSortierung = 84;
constexpr int kHtmlDoctype = 92;
constexpr int kHtmlHtml = 93;

class HtmlPage : public OptionsTest {
protected:
    OptionPage& page() { return *dialog().seite(PageSlot::CHTML1); }
    PageControl& c(const std::string& name, int index = -1) { return page().control(name, index); }
};

TEST_F(HtmlPage, MasterSwitchDecidesTheControlsAndTheTree) {
    load({{kGenerateHtml, "0"}});
    for (const auto& control : page().all_controls())
        EXPECT_EQ(control->state().enabled, control->name() == "HTML") << control->id();
    EXPECT_FALSE(dialog().baum().contains("KEY19"));
    page().user_click(c("HTML"));
    EXPECT_EQ(profilwert(kGenerateHtml), "1");
    for (const auto& control : page().all_controls()) EXPECT_TRUE(control->state().enabled) << control->id();
    EXPECT_TRUE(dialog().baum().contains("KEY19"));
    EXPECT_TRUE(dialog().baum().contains("KEY4"));
}

TEST_F(HtmlPage, FolderNameWarnsOnEveryInvalidChangeAndFallsBackOnLeaving) {
    TreeRebuildRequested = false;
    for (const char* typed : {"a", "a:", "a:b"}) page().user_text(c("htmlpath_base"), typed);
    EXPECT_EQ(box_texts(), (std::vector<std::string>{msg("ErrHTMLDirInvalidCharacter"), msg("ErrHTMLDirInvalidCharacter")}));
    EXPECT_EQ(profilwert(kHtmlBase), "a:b");
    EXPECT_TRUE(TreeRebuildRequested);
    port.boxes.clear();
    page().user_focus_out(c("htmlpath_base"));
    EXPECT_EQ(c("htmlpath_base").state().text, "html");
    EXPECT_EQ(profilwert(kHtmlBase), "html");
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrHTMLDirMissingName")});
    // Starting with "$" or a blank at either end is invalid too.
    port.boxes.clear();
    page().user_text(c("htmlfile_extension"), "$htm");
    page().user_text(c("htmlfile_extension"), "");
    page().user_focus_out(c("htmlfile_extension"));
    EXPECT_EQ(box_texts(), (std::vector<std::string>{msg("ErrHTMLExtInvalidCharacter"), msg("ErrHTMLExtMissingName")}));
    EXPECT_EQ(profilwert(kHtmlExtension), "html");
}

TEST_F(HtmlPage, DocumentTypeOnLeavingHtmlTagOnEveryKey) {
    page().user_text(c("html_DocType"), "<!DOCTYPE html>");
    page().user_text(c("html_HTMLTag"), "lang=\"de\"");
    EXPECT_EQ(profilwert(kHtmlDoctype), "");
    EXPECT_EQ(profilwert(kHtmlHtml), "lang=\"de\"");
    page().user_focus_out(c("html_DocType"));
    EXPECT_EQ(profilwert(kHtmlDoctype), "<!DOCTYPE html>");
}

TEST_F(HtmlPage, LoadingAnotherFolderNameAsksForANewTreeWithoutMessages) {
    TreeRebuildRequested = false;
    load({{kHtmlBase, "web:seiten"}});
    EXPECT_TRUE(TreeRebuildRequested);
    EXPECT_EQ(c("htmlpath_base").state().text, "web:seiten");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(profil_geaendert);
}

class SortPage : public OptionsTest {
protected:
    OptionPage& page() { return *dialog().seite(PageSlot::CHTMLSortierung1); }
    PageControl& c(const std::string& name, int index) { return page().control(name, index); }
};

TEST_F(SortPage, DirectoryOrderGoesToTheMainWindowAtOnce) {
    TreeRebuildRequested = false;
    page().user_click(c("dirSort", 6));
    page().user_click(c("dirSortDirection", 1));
    EXPECT_EQ(profilwert(kDirSort), "6");
    EXPECT_EQ(profilwert(kDirSortDirection), "1");
    EXPECT_EQ(DirSortKind, 6);
    EXPECT_EQ(DirSortDirection, 1);
    EXPECT_TRUE(TreeRebuildRequested);
    EXPECT_EQ(c("dirSort", 1).state().value, 0);
    // The picture order touches neither the main window nor its tree.
    TreeRebuildRequested = false;
    page().user_click(c("ImageSort", 7));
    EXPECT_EQ(profilwert(kThumbSortierung), "7");
    EXPECT_FALSE(TreeRebuildRequested);
    EXPECT_EQ(DirSortKind, 6);
}

TEST_F(SortPage, LoadingChoosesTheButtonsAndTheOrder) {
    struct Case {
        const char* html;
        const char* sort;
        const char* direction;
        int chosen;  // the dirSort button chosen, -1 none
        int32_t kind;
        int32_t dir;
    };
    const Case cases[] = {
        {"1", "2", "1", 2, 2, 1},
        {"1", "5", "0", 5, 5, 0},
        {"1", "3", "0", -1, 3, 0},  // a code without a button: none chosen, nothing written
        // Without HTML pages the tree stays in name order, whatever was loaded
        // before: a loaded button taking over the order here would leave the
        // tree sorted by a page that is not in use, differently from one load
        // to the next.
        {"0", "6", "1", 6, 1, 0},
        {"0", "2", "1", 2, 1, 0},
    };
    for (const Case& k : cases) {
        load({{kGenerateHtml, k.html}, {kDirSort, k.sort}, {kDirSortDirection, k.direction}});
        for (int i : {1, 2, 5, 6}) EXPECT_EQ(c("dirSort", i).state().value, i == k.chosen ? 1 : 0) << k.sort;
        EXPECT_EQ(profilwert(kDirSort), k.sort);
        EXPECT_EQ(DirSortKind, k.kind) << k.html << k.sort;
        EXPECT_EQ(DirSortDirection, k.dir) << k.html << k.direction;
        EXPECT_FALSE(profil_geaendert);
    }
}

}  // namespace
}  // namespace galvora::testing
