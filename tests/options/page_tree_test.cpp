// The page tree: the fixed nodes of the load step, the conditional nodes
// over the profile's switches, node clicks with titles, help topics and the
// template editor frame, and the run state every rebuild sets.
#include <gtest/gtest.h>

#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateClones = 52;
constexpr int kGenerateHtml = 80;
constexpr int kGenerateFrame = 95;
constexpr int kGenerateIndex = 99;
constexpr int kHtmlIndexGroup = 104;
constexpr int kGenerateThumbpages = 107;
constexpr int kGeneratePicpage = 118;
constexpr int kDirSort = 28;
constexpr int kDirSortDirection = 29;

using Keys = std::vector<std::string>;

TEST_F(OptionsTest, LoadStepMakesTheEightFixedNodesAndShowsTheProfilePage) {
    optionen_freigeben();
    profile_hooks().options_dialog_reload = nullptr;
    Optionen fresh;
    std::vector<std::string> keys;
    for (const PageTreeNode* n : fresh.baum().in_order()) {
        keys.push_back(n->key);
        EXPECT_TRUE(n->expanded) << n->key;
        EXPECT_EQ(n->key, "KEY" + std::to_string(n->tag));
    }
    EXPECT_EQ(keys, (Keys{"KEY16", "KEY7", "KEY0", "KEY12", "KEY1", "KEY11", "KEY17", "KEY6"}));
    EXPECT_EQ(fresh.baum().node("KEY17")->parent, "KEY11");
    EXPECT_EQ(fresh.baum().node("KEY0")->parent, "KEY7");
    EXPECT_EQ(fresh.baum().selected(), "KEY7");
    EXPECT_EQ(fresh.sichtbare_box(), 7);
    EXPECT_EQ(fresh.help_context(), 1001);
    EXPECT_EQ(fresh.control("Überschrift_Titel").state().caption, "Profil");
    EXPECT_FALSE(fresh.sichtbar());
    // Every box stands right of the tree at the gap, 180 twips below the title line.
    const TwipRect tree = fresh.control("Optionen_Baum").state().place;
    const TwipRect title = fresh.control("Überschrift_Box").state().place;
    for (int b = 0; b < kPageBoxCount; ++b) {
        EXPECT_EQ(fresh.box(b).state().place.left, fresh.layout().baum_links + tree.left + tree.width) << b;
        EXPECT_EQ(fresh.box(b).state().place.top, tree.top + title.height + 180) << b;
        EXPECT_EQ(fresh.box(b).state().visible, b == 7) << b;
    }
}

TEST_F(OptionsTest, ConditionalNodesFollowTheSwitches) {
    struct Case {
        const char* clones;
        const char* html;
        const char* frame;
        const char* index;
        const char* thumbs;
        const char* pics;
        Keys keys;
    };
    const Keys html_off = {"KEY16", "KEY7", "KEY0", "KEY12", "KEY1", "KEY11", "KEY17", "KEY6"};
    const Case cases[] = {
        // HTML off hides every HTML page, whatever their own switches.
        {"0", "0", "1", "1", "1", "1", html_off},
        {"2", "-1", "1", "1", "1", "1", html_off},
        {"1", "0", "0", "0", "0", "0",
         {"KEY16", "KEY7", "KEY0", "KEY12", "KEY18", "KEY13", "KEY1", "KEY11", "KEY17", "KEY6"}},
        {"0", "1", "0", "0", "0", "0",
         {"KEY16", "KEY7", "KEY0", "KEY12", "KEY1", "KEY11", "KEY17", "KEY6", "KEY19", "KEY5", "KEY14", "KEY2",
          "KEY3", "KEY4"}},
        {"1.0", "1.0", "1", "1", "1", "1",
         {"KEY16", "KEY7", "KEY0", "KEY12", "KEY18", "KEY13", "KEY1", "KEY11", "KEY17", "KEY6", "KEY19", "KEY5",
          "KEY14", "KEY15", "KEY2", "KEY9", "KEY3", "KEY8", "KEY4", "KEY10"}},
        {"0", "1", "0", "1", "0", "1",
         {"KEY16", "KEY7", "KEY0", "KEY12", "KEY1", "KEY11", "KEY17", "KEY6", "KEY19", "KEY5", "KEY14", "KEY2",
          "KEY9", "KEY3", "KEY4", "KEY10"}},
    };
    for (const Case& c : cases) {
        load({{kGenerateClones, c.clones}, {kGenerateHtml, c.html}, {kGenerateFrame, c.frame},
              {kGenerateIndex, c.index}, {kGenerateThumbpages, c.thumbs}, {kGeneratePicpage, c.pics}});
        EXPECT_EQ(node_keys(), c.keys) << c.clones << c.html << c.frame << c.index << c.thumbs << c.pics;
    }
    // Switching HTML back on adds the six pages and then each template node whose switch is on.
    load({{kGenerateHtml, "0"}, {kGenerateIndex, "1"}, {kGenerateThumbpages, "0"}, {kGeneratePicpage, "1"}});
    profilwert_setzen(kGenerateHtml, "1");
    dialog().OptionenBaumAufbauen();
    EXPECT_TRUE(dialog().baum().contains("KEY9"));
    EXPECT_TRUE(dialog().baum().contains("KEY10"));
    EXPECT_FALSE(dialog().baum().contains("KEY8"));
    EXPECT_FALSE(dialog().baum().contains("KEY15"));
}

TEST_F(OptionsTest, ARebuildLeavesExistingNodesAsTheyAre) {
    load({{kGenerateClones, "1"}, {kGenerateHtml, "1"}, {kGenerateIndex, "1"}});
    dialog().user_expanded("KEY12", false);
    click_node(13);
    const unsigned revision = dialog().baum().revision();
    const Keys keys = node_keys();
    dialog().OptionenBaumAufbauen();
    dialog().OptionenBaumAufbauen();
    EXPECT_EQ(dialog().baum().revision(), revision);
    EXPECT_EQ(node_keys(), keys);
    EXPECT_FALSE(dialog().baum().node("KEY12")->expanded);
    EXPECT_EQ(dialog().baum().selected(), "KEY13");
}

TEST_F(OptionsTest, EveryRebuildSetsTheMainWindowsTreeRequestAndOrder) {
    struct Case {
        const char* html;
        const char* sort;
        const char* direction;
        int32_t kind;
        int32_t dir;
    };
    for (const Case& c : {Case{"1", "5", "1", 5, 1}, Case{"1", "2", "0", 2, 0}, Case{"0", "6", "1", 1, 0},
                          Case{"1", "x", "y", 1, 0}}) {
        load({{kGenerateHtml, c.html}, {kDirSort, c.sort}, {kDirSortDirection, c.direction}});
        options_hand_off().TreeRebuildRequested = false;
        dialog().OptionenBaumAufbauen();
        EXPECT_TRUE(options_hand_off().TreeRebuildRequested);
        EXPECT_EQ(DirSortKind, c.kind) << c.sort;
        EXPECT_EQ(DirSortDirection, c.dir) << c.direction;
    }
}

TEST_F(OptionsTest, NodeClickShowsThePageWithTitleHelpAndEditor) {
    load({{kGenerateClones, "1"}, {kGenerateHtml, "1"}, {kGenerateFrame, "1"}, {kGenerateIndex, "1"}});
    struct Case {
        int box;
        const char* title;
        int help;
        bool editor;
    };
    const Case cases[] = {
        {16, "Allgemeines", 1017, false},
        {13, "Clonen, Effekte", 1023, false},
        {18, "Clonen, Umbenennen", 1016, false},
        {17, "ZantoScript, Include-Datei", 1002, false},
        {11, "ZantoScript", 1002, false},
        {9, "Index-Seite, Seitendefinition", 1008, true},
        {15, "Startseite, Seitendefinition", 1021, true},
        {8, "Thumbnail-Seite, Seitendefinition", 1007, true},
        {10, "Bild-Seite, Seitendefinition", 1006, true},
        {6, "HTML", 1005, false},
    };
    for (const Case& c : cases) {
        (void)dialog().take_view_requests();
        click_node(c.box);
        EXPECT_EQ(control("Überschrift_Titel").state().caption, c.title);
        EXPECT_EQ(dialog().help_context(), c.help);
        EXPECT_EQ(dialog().sichtbare_box(), c.box);
        for (int b = 0; b < kPageBoxCount; ++b) EXPECT_EQ(dialog().box(b).state().visible, b == c.box);
        EXPECT_EQ(control("Frame_Tagdefinition").state().visible, c.editor) << c.box;
        EXPECT_EQ(control("FrameSyntaxTest").state().visible, c.editor) << c.box;
        EXPECT_EQ(control("SyntaxTest").state().enabled, c.editor) << c.box;
        if (!c.editor) continue;
        // The editor frame stands right below the layout, the gap between them.
        const TwipRect box = dialog().box(c.box).state().place;
        const TwipRect editor = control("Frame_Tagdefinition").state().place;
        EXPECT_EQ(editor.left, box.left);
        EXPECT_EQ(editor.top, box.top + box.height + dialog().layout().baum_links);
        bool focus = false;
        for (const auto& [target, request] : dialog().take_view_requests())
            focus = focus || (target == &control("Tag_Input") && request == ViewRequest::Focus);
        EXPECT_TRUE(focus) << c.box;
    }
}

TEST_F(OptionsTest, LanguageSwitchShowsAChildsOwnTextUntilClickedAgain) {
    load({{kGenerateClones, "1"}, {kGenerateHtml, "1"}, {kGenerateIndex, "1"}});
    click_node(13);
    EXPECT_EQ(control("Überschrift_Titel").state().caption, "Clonen, Effekte");
    dialog().InitLanguage();
    EXPECT_EQ(control("Überschrift_Titel").state().caption, "Effekte");
    click_node(9);
    dialog().InitLanguage();
    EXPECT_EQ(control("Überschrift_Titel").state().caption, "Index-Seite, Seitendefinition");
    EXPECT_EQ(dialog().caption(), "Galvora Optionen - " + aktuelles_profil()->Name());
}

TEST_F(OptionsTest, GroupMarkerOfTheIndexLayoutFollowsItsSwitch) {
    for (const auto& [value, shown] : std::vector<std::pair<const char*, bool>>{{"1", true}, {"0", false}, {"2", false}}) {
        load({{kGenerateHtml, "1"}, {kGenerateIndex, "1"}, {kHtmlIndexGroup, value}});
        click_node(9);
        EXPECT_EQ(control("shape_pfadgruppierung").state().visible, shown) << value;
    }
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(OptionsTest, EveryCaptionOfTheDialogAndItsPagesHasAnEnglishText) {
    ZNLanguage* english = sprachen().AddFile(GALVORA_SOURCE_DIR "/resources/languages/english.lng");
    ASSERT_NE(english, nullptr);
    sprache_waehlen("en");
    dialog().InitLanguage();
    std::vector<OptionPage*> forms{&dialog()};
    for (PageSlot slot : all_page_slots())
        if (OptionPage* page = dialog().seite(slot)) forms.push_back(page);
    for (OptionPage* form : forms) {
        for (const auto& c : form->all_controls()) {
            const std::optional<std::string> caption = c->caption();
            if (c->tag().empty() || !caption) continue;
            EXPECT_NE(caption->front(), '?') << form->Name() << "/" << c->id() << ": " << *caption;
        }
    }
    EXPECT_EQ(dialog().baum().node("KEY7")->text, "Profile");
    EXPECT_EQ(dialog().control("OK").state().caption, "OK");
    EXPECT_EQ(dialog().control("Abbrechen").state().caption, "Cancel");
    sprache_waehlen("de");
    sprachen().remove("en");
    dialog().InitLanguage();
    EXPECT_EQ(dialog().control("Abbrechen").state().caption, "Abbrechen");
}

}  // namespace
}  // namespace galvora::testing
