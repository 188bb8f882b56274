// How a run from the window ends, as the user sees it: a run stopped by the
// button or by closing the window says so and counts what it made; a photo
// that cannot be read is asked about in a box and named in the log box; a
// page the desktop cannot open is named in a message.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>

#include "foundation/language.h"
#include "generation/run_state.h"
#include "generation/run_statistics.h"
#include "gui/qt_ui_port.h"
#include "gui/window_test_support.h"

namespace galvora::testing {
namespace {

// Runs `step` once, when the window processes its events during the run
// after the given picture.
QTimer* once_during_run(QObject* owner, int32_t from_picture, std::function<void()> step) {
    auto* timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, from_picture, step] {
        if (!laufzustand().aktiv || laufzustand().BildNummerGesamt < from_picture) return;
        timer->stop();
        step();
    });
    timer->start();
    return timer;
}

class RunOutcome : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        start_over_base();
    }

    std::string log_box() const { return program->fenster()->logging()->toPlainText().toStdString(); }

    // The clones the run put into the output: one per picture it made.
    std::vector<std::string> clones() const {
        std::vector<std::string> made;
        for (const std::string& file : files_below(out)) {
            const fs::path path(file);
            const std::string top = path.begin()->string();
            if (path.extension() == ".jpg" && (top == "alpha" || top == "beta" || top == "gamma")) made.push_back(file);
        }
        return made;
    }

    // The statistics of a run that stopped, with the counts of what it made.
    void expect_stopped_run_counts(const std::string& log) {
        const std::vector<std::string> made = clones();
        std::set<std::string> directories;
        int64_t bytes = 0;
        for (const std::string& clone : made) {
            directories.insert(fs::path(clone).begin()->string());
            bytes += static_cast<int64_t>(fs::file_size(base / clone));
        }
        EXPECT_LT(made.size(), 8u) << "the run was not stopped";
        EXPECT_EQ(log.rfind(inq("Erzeugung", "InfLogStopped"), 0), 0u) << log;
        for (const std::string& line :
             {std::to_string(directories.size()) + " Verzeichnisse wurden umgesetzt",
              std::to_string(made.size()) + " Bilder wurden umgesetzt",
              zahl_gruppiert(bytes) + " Bytes umfassen die umgesetzten Bilder",
              std::to_string(made.size()) + " Clones wurden erstellt"})
            EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }

    // Waits for a message that comes from another thread, however long the
    // machine takes: the events are processed as they come.
    void wait_for_message() {
        while (messages.boxes.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
};

TEST_F(RunOutcome, AStoppedRunSaysSoAndCountsWhatItMade) {
    // The stop button after the second picture.
    QTimer* timer = once_during_run(&window(), 2, [this] { QTest::mouseClick(window().startknopf(), Qt::LeftButton); });
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;
    EXPECT_FALSE(model().RunInProgress);
    expect_stopped_run_counts(log_box());

    // A run to the end says nothing of a stop and counts every picture.
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    const std::string log = log_box();
    EXPECT_EQ(log.find(inq("Erzeugung", "InfLogStopped")), std::string::npos) << log;
    EXPECT_NE(log.find("3 Verzeichnisse wurden umgesetzt"), std::string::npos) << log;
    EXPECT_NE(log.find("8 Bilder wurden umgesetzt"), std::string::npos) << log;
    for (const test::ShownBox& box : messages.boxes) ADD_FAILURE() << "message: " << box.text;
}

TEST_F(RunOutcome, ClosingTheWindowDuringARunStopsItAndTheSummarySaysSo) {
    bool refused = false;
    QTimer* timer = once_during_run(&window(), 3, [&] { refused = !window().close(); });
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;
    EXPECT_TRUE(refused);
    EXPECT_TRUE(window().isVisible());
    expect_stopped_run_counts(log_box());
}

TEST_F(RunOutcome, APhotoThatCannotBeReadIsAskedAboutAndNamedInTheLogBox) {
    const fs::path broken = base / "beta" / "test3.jpg";
    fs::resize_file(broken, fs::file_size(broken) / 2);
    // The tree counts it: only reading the whole file finds the fault.
    QTest::keyClick(window().baum(), Qt::Key_F5);
    ASSERT_EQ(model().gesamtfortschritt.beschriftung(), "3 Verzeichnisse mit 8 Bildern");

    // The program's own message boxes, for this test.
    gui::QtUiPort boxes;
    set_ui_port(&boxes);
    struct BackToRecording {
        test::RecordingPort& port;
        ~BackToRecording() { set_ui_port(&port); }
    } back{messages};
    // Each run asks once; the box's own buttons answer.
    auto run_answering = [this](QMessageBox::StandardButton answer) {
        std::string asked;
        with_modal_dialog(
            [&](QWidget* dialog) {
                auto* box = qobject_cast<QMessageBox*>(dialog);
                ASSERT_NE(box, nullptr) << "no message box";
                asked = box->text().toStdString();
                ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
                ASSERT_NE(box->button(QMessageBox::Cancel), nullptr);
                QTest::mouseClick(box->button(answer), Qt::LeftButton);
            },
            [this] { QTest::mouseClick(window().startknopf(), Qt::LeftButton); });
        return asked;
    };

    // OK goes on: every other picture is made, and the log box names the one left out.
    std::string asked = run_answering(QMessageBox::Ok);
    EXPECT_EQ(asked.rfind("Image-Error", 0), 0u) << asked;
    EXPECT_NE(asked.find(broken.string()), std::string::npos) << asked;
    EXPECT_EQ(clones().size(), 7u);
    std::string log = log_box();
    EXPECT_NE(log.find("7 Bilder wurden umgesetzt"), std::string::npos) << log;
    EXPECT_NE(log.find("Image-Error"), std::string::npos) << log;
    EXPECT_NE(log.find(broken.string()), std::string::npos) << log;

    // Cancel stops the run before it makes anything.
    fs::remove_all(out);
    asked = run_answering(QMessageBox::Cancel);
    EXPECT_NE(asked.find(broken.string()), std::string::npos) << asked;
    EXPECT_TRUE(clones().empty());
    log = log_box();
    EXPECT_EQ(log.rfind(inq("Erzeugung", "InfLogStopped"), 0), 0u) << log;
    EXPECT_NE(log.find("0 Bilder wurden umgesetzt"), std::string::npos) << log;
    EXPECT_NE(log.find(broken.string()), std::string::npos) << log;

    // The batch run on the same folder names it too, and ends with its own status.
    const int status = batch_run();
    EXPECT_EQ(WEXITSTATUS(status), kExitPicturesFailed);
    EXPECT_NE(read_file(tmp.path() / "batch.log").find(broken.string()), std::string::npos);
}

TEST_F(RunOutcome, TheLogBoxShowsItsEndAndItsScrollBarSaysSo) {
    QPlainTextEdit* log = window().logging();
    QScrollBar* bar = log->verticalScrollBar();
    auto bottom_line = [log] { return log->cursorForPosition(QPoint(2, log->viewport()->height() - 2)).blockNumber(); };
    auto top_line = [log] { return log->cursorForPosition(QPoint(2, 2)).blockNumber(); };
    // Each time the window processes its events during the run, the box
    // shows its newest line with the handle at the bottom.
    int looked = 0;
    QTimer* timer = new QTimer(&window());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (!laufzustand().aktiv || log->document()->isEmpty()) return;
        ++looked;
        EXPECT_EQ(bar->value(), bar->maximum()) << log->toPlainText().toStdString();
        EXPECT_EQ(bottom_line(), log->document()->blockCount() - 1) << log->toPlainText().toStdString();
    });
    timer->start();
    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    delete timer;
    EXPECT_GT(looked, 0);
    // The summary is longer than the box: its last line shows at the
    // bottom, its first is scrolled out of view, and the handle says so.
    ASSERT_GT(bar->maximum(), 0) << "the summary fits the box";
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(bottom_line(), log->document()->blockCount() - 1);
    EXPECT_GT(top_line(), 0);
    EXPECT_NE(log->toPlainText().toStdString().find("8 Bilder wurden umgesetzt"), std::string::npos);
}

TEST_F(RunOutcome, APageTheDesktopCannotOpenIsNamedInAMessage) {
    set_browser_opener(nullptr);
    env.set("DISPLAY", ":99");
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";

    // No opener on the machine at all: said at once.
    fs::create_directories(tmp.path() / "empty");
    env.set("PATH", (tmp.path() / "empty").string());
    window().menue_hilfe()->trigger();
    ASSERT_EQ(messages.boxes.size(), 1u);
    const std::string help_page = (fs::path(GALVORA_BIN_DIR) / "help" / "index.html").string();
    EXPECT_NE(messages.boxes[0].text.find(help_page), std::string::npos) << messages.boxes[0].text;
    EXPECT_EQ(messages.boxes[0].text.find("file:"), std::string::npos) << messages.boxes[0].text;
    messages.boxes.clear();

    // An opener that starts, finds no browser and ends with an error: said
    // when it has ended, for the help and for the gallery at the end of a run.
    const fs::path opener = tmp.path() / "bin" / "xdg-open";
    write_file(opener, "#!/bin/sh\nexit 3\n");
    ::chmod(opener.c_str(), 0755);
    env.set("PATH", opener.parent_path().string() + ":" + path);
    window().menue_hilfe()->trigger();
    wait_for_message();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_NE(messages.boxes[0].text.find(help_page), std::string::npos) << messages.boxes[0].text;
    messages.boxes.clear();

    QTest::mouseClick(window().startknopf(), Qt::LeftButton);
    const std::string gallery = laufzustand().Browserseite;
    ASSERT_FALSE(gallery.empty());
    EXPECT_EQ(gallery.rfind(out.string(), 0), 0u) << gallery;
    wait_for_message();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_NE(messages.boxes[0].text.find(gallery), std::string::npos) << messages.boxes[0].text;
}

}  // namespace
}  // namespace galvora::testing
