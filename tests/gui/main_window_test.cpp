// The main window driven through its real widgets: a run from the window
// makes the gallery a batch run makes, a cancel leaves nothing half-made
// behind, and the window's state survives a restart.
#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <cstdlib>

#include "app/options_handoff.h"
#include "gui/control_picture_box.h"
#include "gui/progress_bar_widget.h"
#include "gui/splitter_bar.h"
#include "gui/window_test_support.h"
#include "generation/run_state.h"
#include "image/picture_io.h"

namespace galvora::testing {
namespace {

// Screenshots of the window go into the build folder.
void save_screenshot(const QImage& image, const std::string& name) {
    const fs::path folder = fs::path(GALVORA_BUILD_DIR) / "screenshots";
    fs::create_directories(folder);
    EXPECT_TRUE(image.save(QString::fromStdString((folder / name).string()))) << name;
}

// Runs `check` inside the run each time the window processes its events,
// from the given picture on.
QTimer* during_run(QObject* owner, int32_t from_picture, std::function<void()> check) {
    auto* timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [from_picture, check] {
        if (laufzustand().aktiv && laufzustand().BildNummerGesamt >= from_picture) check();
    });
    timer->start();
    return timer;
}

bool decodes(const fs::path& file) {
    try {
        PictureBuffer buffer;
        int32_t width = 0;
        int32_t height = 0;
        ReadImage(file.string(), 0, buffer, width, height);
        return width > 0 && height > 0;
    } catch (const std::exception&) {
        return false;
    }
}

size_t count_with(const std::vector<std::string>& files, const std::string& part) {
    return static_cast<size_t>(std::count_if(files.begin(), files.end(), [&](const std::string& f) {
        return f.find(part) != std::string::npos;
    }));
}

TEST_F(WindowTest, TheWindowShowsTheInstalledIconInEverySize) {
    start();
    const QIcon icon = window().windowIcon();
    const fs::path icons = fs::path(GALVORA_SOURCE_DIR) / "desktop" / "icons" / "hicolor";
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QString file = QString::fromStdString(
            (icons / (std::to_string(size) + "x" + std::to_string(size)) / "apps" / "org.mervadon.Galvora.png").string());
        // A pixmap keeps its pixels premultiplied; the file's read the same way.
        const QImage installed = QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(installed.size(), QSize(size, size));
        EXPECT_TRUE(icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                    installed);
    }
    // The desktop finds the launcher entry, and with it the icon, by this name.
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "org.mervadon.Galvora");
    EXPECT_TRUE(fs::exists(fs::path(GALVORA_SOURCE_DIR) / "desktop" / "org.mervadon.Galvora.desktop"));
}

TEST_F(WindowTest, ARunFromTheWindowMakesTheGalleryOfTheBatchRun) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    EXPECT_EQ(window().windowTitle().toStdString(), "Galvora - fenstertest");
    EXPECT_EQ(window().startknopf()->text().toStdString(), "starten");

    choose_base(base);
    EXPECT_EQ(window().basisfeld()->text().toStdString(), base.string());
    EXPECT_EQ(window().clonefeld()->text().toStdString(), out.string());
    ASSERT_NE(tree_item("beta"), nullptr);
    EXPECT_EQ(window().baum()->topLevelItem(0)->text(0).toStdString(), "base");
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");
    click_item(tree_item("beta"));
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "2 Verzeichnisse mit 6 Bildern");
    EXPECT_FALSE(model().baum.find("Kbeta")->ticked);
    const QImage idle_box = window().kontrollbildbox()->inhalt();
    save_screenshot(window().grab().toImage(), "main-window-idle.png");

    QImage during;
    QImage box_during;
    std::string button_during;
    std::string overall_during;
    bool tree_enabled_during = true;
    bool options_visible_during = true;
    QTimer* timer = during_run(&window(), 3, [&] {
        if (!during.isNull()) return;
        during = window().grab().toImage();
        box_during = window().kontrollbildbox()->inhalt();
        button_during = window().startknopf()->text().toStdString();
        overall_during = model().gesamtfortschritt.beschriftung();
        tree_enabled_during = window().baum()->isEnabled();
        options_visible_during = window().menue_optionen()->isVisible();
    });
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;

    ASSERT_FALSE(during.isNull()) << "the window processed no events during the run";
    save_screenshot(during, "main-window-run.png");
    EXPECT_EQ(button_during, "anhalten");
    EXPECT_FALSE(tree_enabled_during);
    EXPECT_FALSE(options_visible_during);
    EXPECT_NE(overall_during.find("% von 2 Verzeichnissen mit 6 Bildern"), std::string::npos) << overall_during;
    EXPECT_NE(box_during, idle_box) << "the control picture showed no picture";

    // Back to idle: the button, the menu, the tree and the summary.
    EXPECT_EQ(window().startknopf()->text().toStdString(), "starten");
    EXPECT_TRUE(window().menue_optionen()->isVisible());
    EXPECT_TRUE(window().baum()->isEnabled());
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "2 Verzeichnisse mit 6 Bildern");
    EXPECT_FALSE(window().logging()->toPlainText().isEmpty());
    EXPECT_EQ(window().baum()->topLevelItem(0)->text(0).toStdString(), "base");
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;

    stop();
    EXPECT_TRUE(fs::exists(base / "fenstertest.qvs"));
    const std::vector<std::string> made = expect_same_as_batch_run();
    // Clones and thumbnails of the six ticked pictures, none of the unticked.
    EXPECT_EQ(count_with(made, ".jpg"), 2U * 6U);
    EXPECT_EQ(count_with(made, "beta"), 0U);
}

TEST_F(WindowTest, ACancelledRunLeavesNothingHalfMadeForTheNextRun) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    choose_base(base);

    bool pressed = false;
    QTimer* timer = during_run(&window(), 2, [&] {
        if (pressed) return;
        pressed = true;
        QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    });
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;
    ASSERT_TRUE(pressed);
    EXPECT_FALSE(model().RunInProgress);
    EXPECT_EQ(window().startknopf()->text().toStdString(), "starten");

    // The run stopped between pictures: fewer clones than pictures, and every
    // picture it wrote is whole.
    const std::vector<std::string> partial = files_below(out);
    size_t pictures = 0;
    for (const std::string& file : partial) {
        if (fs::path(file).extension() != ".jpg") continue;
        ++pictures;
        EXPECT_TRUE(decodes(out / file)) << file;
    }
    EXPECT_LT(pictures, 2U * 8U);

    // The next run completes the gallery exactly as a batch run makes it.
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    stop();
    const std::vector<std::string> complete = expect_same_as_batch_run();
    for (const std::string& file : partial)
        EXPECT_TRUE(std::binary_search(complete.begin(), complete.end(), file)) << "left behind: " << file;
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
}

TEST_F(WindowTest, GeometryRecentListAndDeselectionSurviveARestart) {
    make_base();
    write_profile();
    const fs::path other = tmp.path() / "other";
    fs::create_directories(other);
    ASSERT_EQ(start(), kExitDone);
    // A first start opens in the home folder, at the design size.
    EXPECT_EQ(window().basisfeld()->text().toStdString(), (tmp.path() / "home").string());
    EXPECT_EQ(window().width(), model().layout.mindestbreite);
    choose_base(other);
    choose_base(base);
    click_item(tree_item("beta"));
    window().resize(760, 580);
    QApplication::processEvents();
    const int tree_width = window().baum()->width();
    QTest::mousePress(window().splitter(), Qt::LeftButton, {}, QPoint(1, 10));
    QTest::mouseMove(window().splitter(), QPoint(-40, 10));
    QTest::mouseRelease(window().splitter(), Qt::LeftButton, {}, QPoint(-40, 10));
    ASSERT_EQ(window().baum()->width(), tree_width - 40);
    stop();

    ASSERT_EQ(start(), kExitDone);
    EXPECT_EQ(window().size(), QSize(760, 580));
    EXPECT_EQ(window().baum()->width(), tree_width - 40);
    EXPECT_EQ(window().basisfeld()->text().toStdString(), base.string());
    EXPECT_EQ(model().zuletzt, (std::vector<std::string>{other.string(), (tmp.path() / "home").string()}));
    const QList<QAction*> recent = window().zuletzt_menue()->actions();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_EQ(recent[0]->text().toStdString(), other.string());
    EXPECT_FALSE(model().baum.find("Kbeta")->ticked);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "2 Verzeichnisse mit 6 Bildern");

    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;

    // Choosing from the recent list goes there; the folder left goes on top.
    // A folder that is gone is said, and its field turns red.
    fs::remove_all(other);
    window().zuletzt_menue()->actions()[0]->trigger();
    EXPECT_EQ(window().basisfeld()->text().toStdString(), other.string());
    EXPECT_EQ(model().zuletzt.front(), base.string());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_NE(messages.boxes[0].text.find(other.string()), std::string::npos);
    EXPECT_EQ(window().basisfeld()->palette().color(QPalette::Base), QColor(255, 128, 128));
    EXPECT_EQ(window().baum()->topLevelItemCount(), 0);
}

TEST_F(WindowTest, EveryControlIsReachedWithTheKeyboard) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    choose_base(base);
    QApplication::setActiveWindow(&window());
    window().basiswahl()->setFocus();
    std::vector<QWidget*> order{QApplication::focusWidget()};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    // The arrow of the recent list is a stop of its own; from the last
    // control Tab goes round to the base-directory button.
    const std::vector<QWidget*> expected{window().basiswahl(),      window().zuletzt_pfeil(), window().basisfeld(),
                                         window().clonefeld(),      window().baum(),          window().splitter(),
                                         window().startknopf(),     window().logging(),       window().kontrollbildbox(),
                                         window().basiswahl()};
    EXPECT_EQ(order, expected);

    // Space in the tree clicks the current node, F5 builds the tree anew.
    window().baum()->setCurrentItem(tree_item("gamma"));
    QTest::keyClick(window().baum(), Qt::Key_Space);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "2 Verzeichnisse mit 5 Bildern");
    QTest::keyClick(window().baum(), Qt::Key_F5);
    EXPECT_TRUE(model().baum.find("Kgamma")->ticked);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");

    // A collapsed node opens again at once.
    window().baum()->collapseItem(window().baum()->topLevelItem(0));
    EXPECT_TRUE(window().baum()->topLevelItem(0)->isExpanded());

    // Space on the control-image box switches the control image; the arrow
    // keys move the splitter as the mouse does.
    const bool on = model().kontrollbild;
    QTest::keyClick(window().kontrollbildbox(), Qt::Key_Space);
    EXPECT_EQ(model().kontrollbild, !on);
    // Widened, the tree takes the width; the status area keeps its own.
    window().resize(700, 560);
    QApplication::processEvents();
    const int tree_width = window().baum()->width();
    EXPECT_EQ(tree_width, entwurf::kBaumbreite + 700 - model().layout.mindestbreite);
    QTest::keyClick(window().splitter(), Qt::Key_Left);
    EXPECT_EQ(window().baum()->width(), tree_width - gui::SplitterBar::kSchritt);
    // Neither part may fall below its design width.
    QTest::keyClick(window().splitter(), Qt::Key_Right);
    QTest::keyClick(window().splitter(), Qt::Key_Right);
    EXPECT_EQ(window().baum()->width(), tree_width);
    // The menu entries carry their keys.
    EXPECT_EQ(window().menue_optionen()->text().toStdString(), "&Optionen");
    EXPECT_EQ(window().menue_hilfe()->text().toStdString(), "&Hilfe");
}

TEST_F(WindowTest, ClosingDuringARunOnlyStopsIt) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    choose_base(base);
    bool refused = false;
    QTimer* timer = during_run(&window(), 1, [&] {
        if (refused) return;
        refused = !window().close();
    });
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;
    EXPECT_TRUE(refused);
    EXPECT_TRUE(window().isVisible());
    const std::vector<std::string> made = files_below(out);
    EXPECT_LT(count_with(made, ".jpg"), 2U * 8U) << "the run was not stopped";
}

TEST_F(WindowTest, ABatchRunInTheWindowClosesItWhenNoMessageAppeared) {
    make_base();
    write_profile();
    const int status = start({"/Profile=fenstertest", "/Basedir=" + base.string(), "/Level=1"});
    EXPECT_EQ(status, kExitDone);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(count_with(files_below(out), "thumbs/"), 8U);
    program.reset();

    // A message ends batch mode: the window stays open with the options locked.
    fs::remove_all(out);
    EXPECT_EQ(start({"/Profile=fenstertest", "/Basedir=" + base.string(), "/Level=7"}), kExitRunFailed);
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(window().menue_optionen()->isEnabled());
    ASSERT_FALSE(messages.boxes.empty());
}

TEST_F(WindowTest, TheWindowSpeaksTheChosenLanguage) {
    registry_schreiben("Administration", "language", "en");
    ASSERT_EQ(start(), kExitDone);
    EXPECT_EQ(window().menue_optionen()->text().toStdString(), "&Options");
    EXPECT_EQ(window().menue_info()->text().toStdString(), "&About");
    EXPECT_EQ(window().menue_beenden()->text().toStdString(), "&Exit");
    EXPECT_EQ(window().basiswahl()->text().toStdString(), "Base directory");
    EXPECT_EQ(window().startknopf()->text().toStdString(), "Start");
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "0 directories with 0 pictures");
    // The fields start right of the wider label.
    EXPECT_EQ(window().basisfeld()->x(), model().layout.feld_links);
    EXPECT_GE(model().layout.feld_links, 2 * entwurf::kRand + window().basiswahl()->width());
}

TEST_F(WindowTest, TheOptionsMenuShowsTheDialogAndTakesBackItsChanges) {
    make_base();
    write_profile();
    ASSERT_EQ(start(), kExitDone);
    // A stand-in dialog in place of the program's own.
    QDialog* made = nullptr;
    gui::window_hooks().make_options_dialog = [&made](QWidget* owner) {
        made = new QDialog(owner);
        return made;
    };
    choose_base(base);
    fs::create_directories(base / "delta");
    fs::copy_file(base / "alpha" / "test1.jpg", base / "delta" / "test1.jpg");
    with_modal_dialog(
        [](QWidget* dialog) {
            // The page that changed the file filter asks for a new tree.
            TreeRebuildRequested = true;
            static_cast<QDialog*>(dialog)->accept();
        },
        [this] { window().menue_optionen()->trigger(); });
    ASSERT_NE(made, nullptr);
    EXPECT_NE(tree_item("delta"), nullptr);
    EXPECT_EQ(model().gesamtfortschritt.beschriftung(), "4 Verzeichnisse mit 9 Bildern");
}

TEST_F(WindowTest, HelpOpensTheContentsPageBesideTheProgram) {
    ASSERT_EQ(start(), kExitDone);
    window().menue_hilfe()->trigger();
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
    EXPECT_EQ(opened_pages,
              std::vector<std::string>{"file://" + (fs::path(GALVORA_BIN_DIR) / "help" / "index.html").string()});
}

}  // namespace
}  // namespace galvora::testing
