// The main window's menu opens the program's own options dialog and about
// box. A setting changed through a page's widget and taken with OK reaches
// the main window at once and the next run started from the window; Cancel
// leaves the profile, the tree and the run as they were.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "gui/about_box_view.h"
#include "gui/options_view_support.h"
#include "gui/window_test_support.h"
#include "options/options_dialog.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"

namespace galvora::testing {
namespace {

constexpr int kSetDirSortDirection = 29;
constexpr int kSetHtmlFolder = 81;
constexpr int kBoxHtml = 6;
constexpr int kBoxSort = 19;
constexpr int kBoxGeneral = 16;

// Chooses an entry of a page's combo box by keys, as a user does: the list
// drops down when the box takes the focus (F4 opens it otherwise), the
// arrow keys go to the entry, Return takes it.
void choose_by_keys(QComboBox* combo, const QString& text) {
    ASSERT_NE(combo, nullptr);
    const int row = combo->findText(text);
    ASSERT_GE(row, 0) << text.toStdString();
    combo->setFocus();
    QApplication::processEvents();
    if (!combo->view()->isVisible()) QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    for (int step = 0; step < combo->count() && list->currentIndex().row() < row; ++step)
        QTest::keyClick(list, Qt::Key_Down);
    for (int step = 0; step < combo->count() && list->currentIndex().row() > row; ++step)
        QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(list->currentIndex().row(), row);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
}

class MainWindowMenu : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        start_over_base();
    }

    // Opens the options dialog through the Options menu and runs the steps
    // while it is open. Whatever the steps leave open is closed, so a failing
    // step cannot leave the dialog waiting.
    void through_options_menu(const std::function<void(OptionenDialog&)>& steps) {
        bool opened = false;
        with_modal_dialog(
            [&](QWidget* dialog) {
                auto* view = qobject_cast<OptionenDialog*>(dialog);
                ASSERT_NE(view, nullptr) << "not the options dialog";
                opened = true;
                // The offscreen platform makes no window active by itself; focus needs one.
                QApplication::setActiveWindow(view);
                steps(*view);
                if (view->isVisible()) view->done(QDialog::Rejected);
            },
            [this] { window().menue_optionen()->trigger(); });
        EXPECT_TRUE(opened);
    }

    // The user types a new text into a page's text box.
    static void retype(QWidget* widget, const char* text) {
        auto* box = qobject_cast<QLineEdit*>(widget);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isVisible());
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // The HTML folder and the directory order, changed through the pages'
    // widgets: the folder on the HTML page, descending on the sorting page.
    static void change_folder_and_order(OptionenDialog& view, const char* folder) {
        click_tree_node(view, kBoxHtml);
        ASSERT_EQ(view.model().sichtbare_box(), kBoxHtml);
        retype(page_widget(view, PageSlot::CHTML1, "htmlpath_base"), folder);
        click_tree_node(view, kBoxSort);
        ASSERT_EQ(view.model().sichtbare_box(), kBoxSort);
        auto* descending = qobject_cast<QRadioButton*>(page_widget(view, PageSlot::CHTMLSortierung1, "dirSortDirection", 1));
        ASSERT_NE(descending, nullptr);
        // On the button's round mark, where a click always hits.
        QTest::mouseClick(descending, Qt::LeftButton, {}, QPoint(8, descending->height() / 2));
        EXPECT_TRUE(descending->isChecked());
    }

    // The pages the run wrote below a folder.
    static std::vector<std::string> html_files_below(const fs::path& folder) {
        std::vector<std::string> files;
        for (const std::string& file : files_below(folder))
            if (fs::path(file).extension() == ".html") files.push_back(file);
        return files;
    }

    // Whether a directory's thumbnail page leads on to the next directory's.
    static bool leads_on_to(const fs::path& page, const std::string& next) {
        return read_file(page).find("<a href=\"" + next + ".html\"><img src=\"../deco/rechts.gif\"") != std::string::npos;
    }

    void run_from_the_window() {
        QTest::mouseClick(window().startknopf(), Qt::LeftButton);
        EXPECT_FALSE(model().RunInProgress);
        for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
    }

    // The user profile's file as it stands on disk.
    std::string profile_file() const {
        return read_file(tmp.path() / "data" / "galvora" / "profiles" / (kProfile + std::string(".qvp")));
    }

    static std::vector<std::string> starting_with(const std::vector<std::string>& names) {
        std::vector<std::string> starts;
        for (const std::string& name : names) starts.push_back(name.substr(0, name.find(' ')));
        return starts;
    }
};

TEST_F(MainWindowMenu, OptionsTakenWithOkReachTheWindowAndTheNextRun) {
    const std::string file_before = profile_file();
    ASSERT_EQ(starting_with(tree_order()), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    OptionenDialog* first = nullptr;
    int width_twips = 0;
    int height_twips = 0;
    through_options_menu([&](OptionenDialog& view) {
        first = &view;
        EXPECT_EQ(view.parentWidget(), &window());
        // A new dialog opens on the profile page.
        EXPECT_EQ(view.model().sichtbare_box(), kBoxProfile);
        change_folder_and_order(view, "galerie");
        width_twips = view.width() * FormView::twips_per_pixel();
        height_twips = view.height() * FormView::twips_per_pixel();
        QTest::mouseClick(view.widget("OK"), Qt::LeftButton);
    });
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(messages.boxes.empty());
    // OK took the working copy; the file is written only when the user saves it.
    EXPECT_EQ(geladene_Profileinstellungen()[kSetHtmlFolder].value, "galerie");
    EXPECT_EQ(geladene_Profileinstellungen()[kSetDirSortDirection].value, "1");
    // The hand-off rebuilt the tree in the order the sorting page set.
    EXPECT_EQ(DirSortDirection, 1);
    EXPECT_EQ(starting_with(tree_order()), (std::vector<std::string>{"gamma", "beta", "alpha"}));

    // The pages go below the clone directory, into the folder and in the
    // order the pages set.
    run_from_the_window();
    EXPECT_EQ(html_files_below(out / "galerie").size(), 11u);
    EXPECT_FALSE(fs::exists(out / "html"));
    EXPECT_TRUE(leads_on_to(out / "galerie" / "gamma.html", "beta"));
    EXPECT_TRUE(leads_on_to(out / "galerie" / "beta.html", "alpha"));

    // The same dialog opens again, on the page shown last; F1 opens the help
    // page of the page shown; Esc leaves it open, and Cancel without changes
    // closes it without a question.
    opened_pages.clear();  // the run opened its gallery
    through_options_menu([&](OptionenDialog& view) {
        EXPECT_EQ(&view, first);
        EXPECT_EQ(view.model().sichtbare_box(), kBoxSort);
        click_tree_node(view, kBoxHtml);
        QTest::keyClick(view.tree(), Qt::Key_F1);
        QTest::keyClick(view.tree(), Qt::Key_Escape);
        EXPECT_TRUE(view.isVisible());
        QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(opened_pages, std::vector<std::string>{
                                "file://" + (fs::path(GALVORA_BIN_DIR) / "help" / "options-html.html").string()});

    // The window unloads the dialog and stores its size; the changed profile
    // is not saved.
    messages.answer = ID_NO;
    stop();
    EXPECT_EQ(registry_lesen("Administration", "owidth", ""), std::to_string(width_twips));
    EXPECT_EQ(registry_lesen("Administration", "oheigth", ""), std::to_string(height_twips));
    EXPECT_EQ(profile_file(), file_before);
}

TEST_F(MainWindowMenu, OptionsLeftWithCancelChangeNothing) {
    const std::vector<std::string> order = tree_order();
    const std::string file_before = profile_file();
    messages.answer = ID_YES;  // discard the changes
    through_options_menu([](OptionenDialog& view) {
        change_folder_and_order(view, "verworfen");
        QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              platzhalter_ersetzen(inq("Msg", "MsgProfileChangesReject"), {aktuelles_profil()->Name()}));
    messages.boxes.clear();
    EXPECT_EQ(profilwert(kSetHtmlFolder), "html");
    EXPECT_EQ(geladene_Profileinstellungen()[kSetHtmlFolder].value, "html");
    EXPECT_EQ(profilwert(kSetDirSortDirection), geladene_Profileinstellungen()[kSetDirSortDirection].value);
    EXPECT_EQ(DirSortDirection, 0);
    EXPECT_EQ(tree_order(), order);
    EXPECT_EQ(profile_file(), file_before);

    run_from_the_window();
    EXPECT_EQ(html_files_below(out / "html").size(), 11u);
    EXPECT_FALSE(fs::exists(out / "verworfen"));
    EXPECT_TRUE(leads_on_to(out / "html" / "alpha.html", "beta"));
    EXPECT_TRUE(leads_on_to(out / "html" / "beta.html", "gamma"));
}

TEST_F(MainWindowMenu, ALanguageChosenReachesTheWindowAtOnceAndCancelTakesItBack) {
    ASSERT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");
    auto choose_english = [](OptionenDialog& view) {
        click_tree_node(view, kBoxGeneral);
        ASSERT_EQ(view.model().sichtbare_box(), kBoxGeneral);
        choose_by_keys(qobject_cast<QComboBox*>(page_widget(view, PageSlot::CAllgemeines1, "SprachenCombo")),
                       "English");
        EXPECT_EQ(qobject_cast<QPushButton*>(view.widget("Abbrechen"))->text().toStdString(), "Cancel");
    };
    auto speaks = [this](const char* options, const char* start_button, const char* summary) {
        EXPECT_EQ(window().menue_optionen()->text().toStdString(), options);
        EXPECT_EQ(window().startknopf()->text().toStdString(), start_button);
        EXPECT_EQ(model().gesamtfortschritt.beschriftung(), summary);
    };

    // The main window follows the choice at once, behind the dialog; Cancel
    // takes it back, in the window and in what the next start reads.
    through_options_menu([&](OptionenDialog& view) {
        choose_english(view);
        speaks("&Options", "Start", "3 directories with 8 pictures");
        EXPECT_EQ(window().basiswahl()->text().toStdString(), "Base directory");
        QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    EXPECT_TRUE(messages.boxes.empty());
    speaks("&Optionen", "starten", "3 Verzeichnisse mit 8 Bildern");
    EXPECT_EQ(registry_lesen("Administration", "language", ""), "de");
    stop();
    ASSERT_EQ(start(), kExitDone);
    speaks("&Optionen", "starten", "3 Verzeichnisse mit 8 Bildern");

    // Taken with OK, the language stays, also at the next start.
    through_options_menu([&](OptionenDialog& view) {
        choose_english(view);
        QTest::mouseClick(view.widget("OK"), Qt::LeftButton);
    });
    speaks("&Options", "Start", "3 directories with 8 pictures");
    stop();
    ASSERT_EQ(start(), kExitDone);
    speaks("&Options", "Start", "3 directories with 8 pictures");
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(MainWindowMenu, AProfileChosenInTheDialogIsTakenBackByCancel) {
    // The profile the "<" button goes back to: none stored means the default one.
    const std::string previous = registry_lesen("LastSession", "profileprevious", "");
    through_options_menu([&](OptionenDialog& view) {
        ASSERT_EQ(view.model().sichtbare_box(), kBoxProfile);
        choose_by_keys(qobject_cast<QComboBox*>(page_widget(view, PageSlot::CProfil1, "ProfilListe")),
                       QString::fromStdString(standardprofil()->Name()));
        EXPECT_EQ(aktuelles_profil(), standardprofil());
        EXPECT_EQ(window().windowTitle().toStdString(), "Galvora - " + standardprofil()->Name());
        QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(aktuelles_profil()->Name(), kProfile);
    EXPECT_EQ(window().windowTitle().toStdString(), std::string("Galvora - ") + kProfile);
    EXPECT_EQ(window().clonefeld()->text().toStdString(), out.string());
    EXPECT_EQ(registry_lesen("LastSession", "profileprevious", ""), previous);
    stop();
    EXPECT_EQ(registry_lesen("LastSession", "profile", ""), kProfile);
    ASSERT_EQ(start(), kExitDone);
    EXPECT_EQ(aktuelles_profil()->Name(), kProfile);
}

TEST_F(MainWindowMenu, TheBuiltInLanguageShowsItsFlag) {
    const QImage flag = QImage(QString::fromStdString((fs::path(GALVORA_BIN_DIR) / "languages" / "Deutsch.gif").string()))
                            .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(flag.isNull());
    through_options_menu([&](OptionenDialog& view) {
        click_tree_node(view, kBoxGeneral);
        auto* combo = qobject_cast<QComboBox*>(page_widget(view, PageSlot::CAllgemeines1, "SprachenCombo"));
        ASSERT_NE(combo, nullptr);
        const int row = combo->findText("Deutsch");
        ASSERT_GE(row, 0);
        const QImage shown = combo->itemIcon(row).pixmap(flag.size()).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown, flag);
    });
}

TEST_F(MainWindowMenu, TheInfoMenuShowsTheAboutBox) {
    bool shown = false;
    with_modal_dialog(
        [&](QWidget* dialog) {
            auto* box = qobject_cast<InformDialog*>(dialog);
            ASSERT_NE(box, nullptr) << "not the about box";
            shown = true;
            EXPECT_EQ(box->parentWidget(), &window());
            EXPECT_EQ(box->windowTitle().toStdString(), inq("Inform", "Title"));
            bool names_the_program = false;
            for (QLabel* label : box->findChildren<QLabel*>())
                names_the_program = names_the_program || label->text().toStdString() == "Galvora";
            EXPECT_TRUE(names_the_program);
            QTest::keyClick(box, Qt::Key_Escape);
        },
        [this] { window().menue_info()->trigger(); });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(messages.boxes.empty());
}

}  // namespace
}  // namespace galvora::testing
