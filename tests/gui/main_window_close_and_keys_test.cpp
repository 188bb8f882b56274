// The main window closed while it is busy, folders told apart by their exact
// names, and the keyboard reaching the recent list and the log box.
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "foundation/registry.h"
#include "gui/window_test_support.h"

namespace galvora::testing {
namespace {

// Closes the window the first time `when` holds while the window processes
// its events; `refused` tells whether the close was put off.
QTimer* close_when(std::function<bool()> when, std::function<gui::MainWindow*()> window, bool& asked, bool& refused) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, when, window, &asked, &refused] {
        if (asked || window() == nullptr || !when()) return;
        asked = true;
        refused = !window()->close();
        timer->stop();
    });
    timer->start();
    return timer;
}

class MainWindowState : public WindowTest {
protected:
    // A first session that leaves "beta" unticked in the deselection file.
    void first_session() {
        make_base();
        write_profile();
        ASSERT_EQ(start(), kExitDone);
        choose_base(base);
        click_item(tree_item("beta"));
        stop();
        ASSERT_EQ(read_file(deselection()), "beta\r\n");
    }
    fs::path deselection() const { return base / (kProfile + std::string(".qvs")); }
    gui::MainWindow* shown_window() const { return program != nullptr ? program->fenster() : nullptr; }
};

TEST_F(MainWindowState, AWindowClosedWhileItLoadsClosesWhenTheLoadIsDone) {
    first_session();
    bool asked = false;
    bool refused = false;
    std::unique_ptr<QTimer> timer(close_when([this] { return shown_window()->isVisible() && !model().bedienbar; },
                                             [this] { return shown_window(); }, asked, refused));
    ASSERT_EQ(start(), kExitDone);
    ASSERT_TRUE(asked) << "the load processed no events after the window showed";
    EXPECT_TRUE(refused);
    // The close came when the load was done: the session stored is the whole one.
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(registry_lesen("LastSession", "startpath", ""), base.string());
    EXPECT_EQ(read_file(deselection()), "beta\r\n");
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
}

TEST_F(MainWindowState, AWindowClosedWhileItsTreeIsBuiltClosesWhenTheTreeIsDone) {
    first_session();
    ASSERT_EQ(start(), kExitDone);
    ASSERT_FALSE(model().baum.find("Kbeta")->ticked);
    bool asked = false;
    bool refused = false;
    // While F5 reads the folders anew the tree is empty for a moment.
    std::unique_ptr<QTimer> timer(close_when([this] { return model().baum_im_aufbau && model().baum.top() == nullptr; },
                                             [this] { return shown_window(); }, asked, refused));
    QTest::keyClick(window().baum(), Qt::Key_F5);
    QApplication::processEvents();
    ASSERT_TRUE(asked) << "the tree build processed no events";
    EXPECT_TRUE(refused);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(read_file(deselection()), "beta\r\n");
    EXPECT_EQ(registry_lesen("LastSession", "startpath", ""), base.string());
}

TEST_F(MainWindowState, FoldersWhoseNamesDifferInLetterCaseAreTwoFolders) {
    make_base();
    write_profile();
    const fs::path other = tmp.path() / "Base";
    fs::create_directories(other / "delta");
    fs::copy_file(base / "alpha" / "test1.jpg", other / "delta" / "test1.jpg");
    ASSERT_EQ(start(), kExitDone);
    choose_base(base);
    choose_base(other);
    EXPECT_EQ(window().basisfeld()->text().toStdString(), other.string());
    EXPECT_NE(tree_item("delta"), nullptr);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "1 Verzeichnis mit 1 Bild");
    // Back through the recent list: both stand in it.
    QAction* entry = nullptr;
    for (QAction* action : window().zuletzt_menue()->actions())
        if (action->text().toStdString() == base.string()) entry = action;
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    EXPECT_EQ(window().basisfeld()->text().toStdString(), base.string());
    EXPECT_EQ(model().zuletzt.front(), other.string());
    EXPECT_NE(std::find(model().zuletzt.begin(), model().zuletzt.end(), base.string()), model().zuletzt.end());
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
}

TEST_F(MainWindowState, TheKeyboardOpensTheRecentListAndShowsWhereItIs) {
    make_base();
    write_profile();
    const fs::path other = tmp.path() / "other";
    fs::create_directories(other);
    ASSERT_EQ(start(), kExitDone);
    choose_base(other);
    choose_base(base);
    QApplication::setActiveWindow(&window());

    // Tab from the start button to the log box: a frame in the highlight colour marks it.
    QPlainTextEdit* log = window().logging();
    const QImage unfocused = log->grab().toImage();
    window().startknopf()->setFocus();
    QTest::keyClick(window().startknopf(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), log);
    const QImage focused = log->grab().toImage();
    EXPECT_NE(focused, unfocused);
    const QPoint edge = log->viewport()->geometry().topLeft() + QPoint(1, log->viewport()->height() / 2);
    EXPECT_EQ(focused.pixelColor(edge), log->palette().color(QPalette::Highlight));
    EXPECT_NE(unfocused.pixelColor(edge), log->palette().color(QPalette::Highlight));

    // Opens the recent list with `key` on `control` and takes its first
    // entry with Down and Return; false when no list opened.
    auto take_first_entry = [this](QWidget* control, Qt::Key key) {
        bool listed = false;
        auto* timer = new QTimer(&window());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            if (popup != window().zuletzt_menue()) return;
            timer->stop();
            listed = true;
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        timer->start();
        QTest::keyClick(control, key);
        delete timer;
        return listed;
    };

    // The base-directory button: Down opens the recent list, Down and Return take its first entry.
    window().basiswahl()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), window().basiswahl());
    ASSERT_TRUE(take_first_entry(window().basiswahl(), Qt::Key_Down)) << "the recent list did not open";
    EXPECT_EQ(window().basisfeld()->text().toStdString(), other.string());
    EXPECT_EQ(model().zuletzt.front(), base.string());

    // Tab goes on to the arrow beside the button; Space there opens the list as well.
    window().basiswahl()->setFocus();
    QTest::keyClick(window().basiswahl(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window().zuletzt_pfeil());
    ASSERT_TRUE(take_first_entry(window().zuletzt_pfeil(), Qt::Key_Space)) << "the arrow opened no list";
    EXPECT_EQ(window().basisfeld()->text().toStdString(), base.string());
    // It sits right beside the button, and the field starts right of it.
    EXPECT_EQ(window().zuletzt_pfeil()->x(), window().basiswahl()->geometry().right() + 1);
    EXPECT_GE(window().basisfeld()->x(), window().zuletzt_pfeil()->geometry().right());
}

TEST_F(MainWindowState, TheFolderFieldsShowTheirPathsWithoutInvitingTyping) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    choose_base(base);
    QApplication::setActiveWindow(&window());
    for (QLineEdit* field : {window().basisfeld(), window().clonefeld()}) {
        // No entry frame: the path stands on the window's face.
        const QImage shown = field->grab().toImage();
        const QColor face = window().palette().color(QPalette::Button);
        for (const QPoint edge : {QPoint(0, shown.height() / 2), QPoint(shown.width() / 2, 0),
                                  QPoint(shown.width() - 1, shown.height() / 2), QPoint(shown.width() / 2, shown.height() - 1)})
            EXPECT_EQ(shown.pixelColor(edge).name().toStdString(), face.name().toStdString()) << edge.x() << "," << edge.y();
        EXPECT_EQ(field->cursor().shape(), Qt::ArrowCursor);
        // Keys change nothing, but the path can still be selected and copied.
        const QString before = field->text();
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, "xyz");
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), before);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(field->selectedText(), before);
    }
    // A folder that is gone still shows on red.
    const fs::path gone = tmp.path() / "gone";
    fs::create_directories(gone);
    choose_base(gone);
    choose_base(base);
    fs::remove_all(gone);
    for (QAction* entry : window().zuletzt_menue()->actions())
        if (entry->text().toStdString() == gone.string()) entry->trigger();
    ASSERT_EQ(window().basisfeld()->text().toStdString(), gone.string());
    const QImage missing = window().basisfeld()->grab().toImage();
    EXPECT_EQ(missing.pixelColor(0, missing.height() / 2).name().toStdString(), "#ff8080");
}

}  // namespace
}  // namespace galvora::testing
