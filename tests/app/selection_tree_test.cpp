#include "app/selection_tree.h"

#include "app/app_test_support.h"
#include "app/base_directory.h"
#include "app/selection_tree_build.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "generation/settings_access.h"
#include "profile/profiles.h"

namespace galvora::testing {
namespace {

// A two-level tree: top, groups g1 (leaves a, b) and g2 (leaf c).
struct SmallTree {
    AuswahlBaum tree;
    AuswahlKnoten* g1;
    AuswahlKnoten* g2;
    AuswahlKnoten* a;
    AuswahlKnoten* b;
    AuswahlKnoten* c;
    SmallTree() {
        AuswahlKnoten* top = tree.add_top("K/base", "base");
        g1 = tree.add_child(*top, "Kg1", "g1");
        g2 = tree.add_child(*top, "Kg2", "g2");
        a = tree.add_child(*g1, "Kg1/a", "a (3)");
        b = tree.add_child(*g1, "Kg1/b", "b (4)");
        c = tree.add_child(*g2, "Kg2/c", "c (5)");
        a->tag_count = 3;
        b->tag_count = 4;
        c->tag_count = 5;
        tree.AuswahlSymboleSetzen(*tree.top());
        tree.AuswahlZaehlen();
    }
};

TEST(SelectionTree, ThreeStatePicturesFollowTheLeaves) {
    SmallTree t;
    EXPECT_EQ(t.tree.directory_count, 3);
    EXPECT_EQ(t.tree.picture_count, 12);
    EXPECT_EQ(t.tree.top()->image, "checked_alle");

    t.tree.click(*t.a);
    EXPECT_FALSE(t.a->ticked);
    EXPECT_EQ(t.a->colour, kSystemGreyText);
    EXPECT_EQ(t.g1->image, "checked_einige");
    EXPECT_TRUE(t.g1->ticked);
    EXPECT_EQ(t.tree.top()->image, "checked_einige");
    EXPECT_EQ(t.tree.directory_count, 2);
    EXPECT_EQ(t.tree.picture_count, 9);

    // A partly ticked parent is ticked, so a click unticks its whole subtree.
    t.tree.click(*t.g1);
    EXPECT_FALSE(t.b->ticked);
    EXPECT_EQ(t.g1->image, "unchecked");
    EXPECT_EQ(t.tree.picture_count, 5);

    // The top node hands its tick two levels down.
    t.tree.click(*t.tree.top());
    EXPECT_FALSE(t.c->ticked);
    EXPECT_EQ(t.tree.directory_count, 0);
    t.tree.click(*t.tree.top());
    EXPECT_TRUE(t.a->ticked && t.b->ticked && t.c->ticked);
    EXPECT_EQ(t.tree.picture_count, 12);
}

TEST(SelectionTree, KeysAreUniqueAndUntickedLeavesListed) {
    SmallTree t;
    EXPECT_EQ(t.tree.add_child(*t.g2, "Kg1/a", "again"), nullptr);
    t.tree.click(*t.c);
    t.tree.click(*t.a);
    EXPECT_EQ(t.tree.unticked_leaves(), (std::vector<std::string>{"g1/a", "g2/c"}));
}

TEST(SelectionTree, NodesAreFoundByKeyAndIdUntilCleared) {
    AuswahlBaum tree;
    AuswahlKnoten* top = tree.add_top("K/base", "base");
    std::vector<AuswahlKnoten*> added;
    for (int g = 0; g < 50; ++g) {
        AuswahlKnoten* group = tree.add_child(*top, "Kg" + std::to_string(g), "g");
        added.push_back(group);
        for (int d = 0; d < 20; ++d)
            added.push_back(tree.add_child(*group, "Kg" + std::to_string(g) + "/d" + std::to_string(d), "d"));
    }
    for (AuswahlKnoten* node : added) {
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(tree.find(node->key), node);
        EXPECT_EQ(tree.find(node->id), node);
    }
    EXPECT_EQ(tree.find("K/base"), top);
    EXPECT_EQ(tree.find("Kg7/d20"), nullptr);
    EXPECT_EQ(tree.add_child(*added.back(), "Kg3/d4", "twice"), nullptr);
    const int64_t old_id = added.front()->id;
    tree.clear();
    EXPECT_EQ(tree.find("Kg0"), nullptr);
    EXPECT_EQ(tree.find(old_id), nullptr);
    AuswahlKnoten* again = tree.add_top("K/base", "base");
    EXPECT_EQ(tree.find("K/base"), again);
}

class SelectionTreeFiles : public AppTest {};

TEST_F(SelectionTreeFiles, SummaryLineUsesTheWindowWords) {
    EXPECT_EQ(AuswahlTextSetzen(1, 12), "1 Verzeichnis mit 12 Bildern");
    EXPECT_EQ(AuswahlTextSetzen(0, 0), "0 Verzeichnisse mit 0 Bildern");
    EXPECT_EQ(AuswahlTextSetzen(2, 1, true), "2 Verzeichnissen mit 1 Bild");
}

TEST_F(SelectionTreeFiles, BuildsEachLevelWithCountsAndExclusions) {
    write_jpeg(base / "top.jpg");
    write_jpeg(base / "b" / "1.jpg");
    write_jpeg(base / "b" / "2.JPG");
    write_jpeg(base / "a" / "1.jpg");
    write_jpeg(base / "thumbs" / "t.jpg");      // the thumbnail folder is no picture directory
    fs::create_directories(base / "empty");
    write_jpeg(base / "g" / "x" / "1.jpg");
    write_jpeg(base / "g" / "y" / "1.jpg");
    write_jpeg(base / "g" / "y" / "2.jpg");

    Startdialog& window = startdialog();
    window.basisverzeichnis = base.string();
    window.basisverzeichnis_tag = "base";

    AuswahlBaumAufbauen(window, 0);
    ASSERT_NE(window.baum.top(), nullptr);
    EXPECT_EQ(window.baum.top()->text, "base (1)");
    EXPECT_EQ(window.baum.top()->key, "K" + base.string());

    AuswahlBaumAufbauen(window, 1);
    std::vector<std::string> leaves;
    for (auto& child : window.baum.top()->children) leaves.push_back(child->text);
    EXPECT_EQ(leaves, (std::vector<std::string>{"a (1)", "b (2)"}));
    EXPECT_EQ(window.gesamtfortschritt.Text(), "2 Verzeichnisse mit 3 Bildern");

    // Descending by picture count.
    DirSortKind = 6;
    DirSortDirection = 1;
    AuswahlBaumAufbauen(window, 1);
    EXPECT_EQ(window.baum.top()->children.front()->text, "b (2)");

    DirSortKind = 1;
    DirSortDirection = 0;
    AuswahlBaumAufbauen(window, 2);
    ASSERT_EQ(window.baum.top()->children.size(), 1u);
    AuswahlKnoten* group = window.baum.top()->children.front().get();
    EXPECT_EQ(group->tag_name, "g");
    ASSERT_EQ(group->children.size(), 2u);
    EXPECT_EQ(group->children[1]->key, "Kg/y");
    EXPECT_EQ(window.baum.picture_count, 3);

    AuswahlBaumAufbauen(window, 3);
    EXPECT_TRUE(window.baum.empty());
    EXPECT_EQ(window.gesamtfortschritt.Text(), "0 Verzeichnisse mit 0 Bildern");
}

TEST_F(SelectionTreeFiles, DeselectionFileIsWrittenReadAndRemoved) {
    write_jpeg(base / "a" / "1.jpg");
    write_jpeg(base / "b" / "1.jpg");
    write_jpeg(base / "c" / "1.jpg");
    Startdialog& window = startdialog();
    window.basisverzeichnis = base.string();
    const std::string file = abwahldatei(base.string(), "Voreinstellung");

    AuswahlBaumAufbauen(window, 1);
    window.baum.click(*window.baum.find("Ka"));
    window.baum.click(*window.baum.find("Kc"));

    // Without the user's switch nothing is written.
    AbwahlSpeichern(window.baum, base.string(), "Voreinstellung");
    EXPECT_FALSE(fs::exists(file));

    ASSERT_EQ(registry_schreiben("LastSession", "profilelastselection", "1"), 0);
    AbwahlSpeichern(window.baum, base.string(), "Voreinstellung");
    EXPECT_EQ(read_file(file), "a\r\nc\r\n");

    // A stale line and a line for a parent do no harm.
    write_file(file, "a\r\ngone\r\n" + base.string() + "\r\nc\r\n");
    AuswahlBaumAufbauen(window, 1);
    EXPECT_FALSE(window.baum.find("Ka")->ticked);
    EXPECT_TRUE(window.baum.find("Kb")->ticked);
    EXPECT_FALSE(window.baum.find("Kc")->ticked);
    EXPECT_EQ(window.baum.directory_count, 1);

    window.baum.click(*window.baum.find("Ka"));
    window.baum.click(*window.baum.find("Kc"));
    AbwahlSpeichern(window.baum, base.string(), "Voreinstellung");
    EXPECT_FALSE(fs::exists(file));
}

// Filling the list at load by inserting each stored entry in turn would put
// the last one on top and turn the list round at every start; the load keeps
// the stored order instead. Entries a shorter list no longer holds are removed
// from the store, so that they do not come back at the next start.
TEST_F(SelectionTreeFiles, RecentListKeepsItsOrderAndDropsStaleEntries) {
    Startdialog& window = startdialog();
    for (int i = 1; i <= 18; ++i) BasisverzeichnisMerken(window, "/pics/" + std::to_string(i));
    ASSERT_EQ(window.zuletzt.size(), kRecentListSize);
    EXPECT_EQ(window.zuletzt.front(), "/pics/18");
    EXPECT_EQ(window.zuletzt.back(), "/pics/3");
    // An entry already there stays where it is; a path that differs in
    // letter case only is another folder and goes on top.
    BasisverzeichnisMerken(window, "/pics/5");
    EXPECT_EQ(window.zuletzt.front(), "/pics/18");
    BasisverzeichnisMerken(window, "/PICS/5");
    EXPECT_EQ(window.zuletzt.front(), "/PICS/5");
    EXPECT_EQ(window.zuletzt[14], "/pics/5");

    zuletzt_speichern(window);
    Startdialog again;
    zuletzt_laden(again);
    EXPECT_EQ(again.zuletzt, window.zuletzt);
    zuletzt_laden(again);  // a second start changes nothing either
    EXPECT_EQ(again.zuletzt, window.zuletzt);

    Startdialog shorter;
    BasisverzeichnisMerken(shorter, "/only");
    zuletzt_speichern(shorter);
    Startdialog loaded;
    zuletzt_laden(loaded);
    EXPECT_EQ(loaded.zuletzt, (std::vector<std::string>{"/only"}));
}

TEST_F(SelectionTreeFiles, SettingTheBaseDirectory) {
    write_jpeg(base / "a" / "1.jpg");
    DirectoryLevel = 1;
    Startdialog& window = startdialog();
    EXPECT_TRUE(BasisverzeichnisSetzen(window, base.string()));
    EXPECT_EQ(window.basisverzeichnis_tag, "base");
    EXPECT_EQ(window.basisverzeichnis_farbe, kSystemButtonFace);
    EXPECT_EQ(window.baum.directory_count, 1);

    EXPECT_EQ(registry_lesen("ProfilesLastData", aktuelles_profil()->Name(), ""), base.string());

    // A folder that is not there builds no tree, so the profile keeps the last
    // folder that was there instead of remembering one it cannot open.
    EXPECT_FALSE(BasisverzeichnisSetzen(window, (tmp.path() / "missing").string()));
    EXPECT_EQ(window.basisverzeichnis_farbe, kMissingFolderColour);
    EXPECT_TRUE(window.baum.empty());
    EXPECT_EQ(registry_lesen("ProfilesLastData", aktuelles_profil()->Name(), ""), base.string());
}

TEST_F(SelectionTreeFiles, ChoosingFromTheRecentListKeepsItsOrder) {
    fs::create_directories(tmp.path() / "A");
    fs::create_directories(tmp.path() / "B");
    const std::string a = (tmp.path() / "A").string();
    const std::string b = (tmp.path() / "B").string();
    Startdialog& window = startdialog();
    BasisverzeichnisSetzen(window, a);
    basisverzeichnis_gewaehlt(window, b);
    EXPECT_EQ(window.basisverzeichnis, b);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{a}));
    zuletzt_gewaehlt(window, a);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{b, a}));
    // Back and forth between the two leaves the list as it is.
    zuletzt_gewaehlt(window, b);
    zuletzt_gewaehlt(window, a);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{b, a}));
    // The same folder again, or a cancelled browser, changes nothing.
    zuletzt_gewaehlt(window, a);
    basisverzeichnis_gewaehlt(window, "");
    EXPECT_EQ(window.basisverzeichnis, a);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{b, a}));
    EXPECT_TRUE(port.boxes.empty());
    // A folder whose name differs in letter case only is another folder.
    fs::create_directories(tmp.path() / "a");
    const std::string lower = (tmp.path() / "a").string();
    basisverzeichnis_gewaehlt(window, lower);
    EXPECT_EQ(window.basisverzeichnis, lower);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{b, a}));
    zuletzt_gewaehlt(window, a);
    EXPECT_EQ(window.basisverzeichnis, a);
    EXPECT_EQ(window.zuletzt, (std::vector<std::string>{lower, b, a}));
    EXPECT_TRUE(port.boxes.empty());

    const std::string gone = (tmp.path() / "gone").string();
    window.zuletzt.push_back(gone);
    zuletzt_gewaehlt(window, gone);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrBasedirNotAvailable", {gone}));
    EXPECT_EQ(window.basisverzeichnis, gone);
    EXPECT_EQ(window.basisverzeichnis_farbe, kMissingFolderColour);
}

}  // namespace
}  // namespace galvora::testing
