// The shipped profiles in the main window, chosen as a new user chooses
// them: a folder of albums as the base folder, then each profile from the
// profile page of the options dialog. Each is made for a folder of albums,
// so the tree shows the albums with their pictures, whichever comes first,
// the folder or the profile.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>

#include <set>

#include "gui/options_view_support.h"
#include "gui/window_test_support.h"
#include "options/options_dialog.h"
#include "profile/profiles.h"

namespace galvora::testing {
namespace {

// The profiles beside the program, by name.
std::set<std::string> shipped_profile_names() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(GALVORA_BIN_DIR) / "profiles"))
        if (entry.path().extension() == ".qvp") names.insert(entry.path().stem().string());
    return names;
}

class ShippedProfilesWindow : public WindowTest {
protected:
    // Opens the options dialog through the Options menu, chooses the profile
    // in the profile page's list (a click opens it, the arrow keys move to
    // the profile, Return takes it) and closes the dialog with OK.
    void choose_profile(const std::string& name) {
        bool chosen = false;
        with_modal_dialog(
            [&](QWidget* dialog) {
                auto* view = qobject_cast<OptionenDialog*>(dialog);
                ASSERT_NE(view, nullptr) << "not the options dialog";
                // The offscreen platform makes no window active by itself; focus needs one.
                QApplication::setActiveWindow(view);
                click_tree_node(*view, kBoxProfile);
                auto* list = qobject_cast<QComboBox*>(page_widget(*view, PageSlot::CProfil1, "ProfilListe"));
                ASSERT_NE(list, nullptr);
                const int wanted = list->findText(QString::fromStdString(name));
                ASSERT_GE(wanted, 0) << name << " is not in the list";
                QTest::mouseClick(list, Qt::LeftButton);
                QAbstractItemView* popup = list->view();
                ASSERT_TRUE(popup->isVisible()) << "the list did not open";
                for (int step = 0; step <= list->count() && popup->currentIndex().row() != wanted; ++step)
                    QTest::keyClick(popup, popup->currentIndex().row() < wanted ? Qt::Key_Down : Qt::Key_Up);
                QTest::keyClick(popup, Qt::Key_Return);
                chosen = aktuelles_profil() != nullptr && aktuelles_profil()->Name() == name;
                QTest::mouseClick(view->widget("OK"), Qt::LeftButton);
            },
            [this] { window().menue_optionen()->trigger(); });
        EXPECT_TRUE(chosen) << name << " was not loaded";
    }

    // The text of the tree's top node; empty without one.
    std::string top_node() {
        QTreeWidgetItem* root = window().baum()->topLevelItem(0);
        return root != nullptr ? root->text(0).toStdString() : std::string();
    }
};

TEST_F(ShippedProfilesWindow, EachShowsTheAlbumsOfAFolderOfAlbums) {
    const std::vector<std::string> expected{"alpha (3)", "beta (2)", "gamma (3)"};
    const std::set<std::string> names = shipped_profile_names();
    ASSERT_EQ(names, (std::set<std::string>{"album", "album-english", "galerie", "gallery-english"}));
    make_base();
    ASSERT_EQ(start(), kExitDone);

    // The folder first: the built-in profile looks at the folder itself,
    // which holds no picture.
    choose_base(base);
    EXPECT_EQ(top_node(), "");
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "0 Verzeichnisse mit 0 Bildern");

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        choose_profile(name);
        EXPECT_EQ(window().windowTitle().toStdString(), "Galvora - " + name);
        EXPECT_EQ(top_node(), "base");
        EXPECT_EQ(tree_order(), expected);
        EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");
    }

    // The profile first: a folder of albums chosen afresh shows its albums.
    choose_base(tmp.path());
    choose_base(base);
    EXPECT_EQ(tree_order(), expected);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
}

}  // namespace
}  // namespace galvora::testing
