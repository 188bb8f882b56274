#pragma once
// Shared set-up of the window tests: a private home and per-user folders, a
// base folder of real photos, the window program started through the
// program's own start-up (without its event loop, which the tests drive),
// and helpers to click through the real widgets.
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "foundation/ui_test_support.h"
#include "generation/browser_launch.h"
#include "gui/main_window.h"
#include "gui/qt_dialog_port.h"
#include "gui/selection_tree_view.h"
#include "gui/window_program.h"
#include "platform/dialog_port.h"

namespace galvora::testing {

namespace fs = std::filesystem;

// The window program without its event loop: the test drives the window.
class TestWindowProgram : public gui::WindowProgram {
public:
    int ereignisse_verarbeiten() override { return 0; }
};

// Real photos of the test data, by directory of the base folder.
struct PhotoSet {
    std::string directory;
    std::vector<std::string> files;  // below the test data folder
};

inline const std::vector<PhotoSet>& photo_sets() {
    static const std::vector<PhotoSet> sets = {
        {"alpha", {"exif-npm/test1.jpg", "exif-npm/test2.jpg", "exif-npm/right.jpg"}},
        {"beta", {"exif-npm/test3.jpg", "goexif/samples/has-lens-info.jpg"}},
        {"gamma", {"exif-npm/down-mirrored.jpg", "exif-npm/short-ascii-MM.jpg", "goexif/samples/geodegrees_as_string.jpg"}},
    };
    return sets;
}

// Every file below a folder, relative, sorted.
// The files of the gallery; the hidden record of what the program wrote in
// each folder is left out.
inline std::vector<std::string> files_below(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().filename() != ".galvora-record")
            files.push_back(fs::relative(it->path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs `action` once a modal dialog is open; `act` opens it (and returns
// when the dialog is closed).
inline void with_modal_dialog(const std::function<void(QWidget*)>& action, const std::function<void()>& act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
    act();
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.set("HOME", (tmp.path() / "home").string());
        fs::create_directories(tmp.path() / "home");
        set_dialog_port(&dialogs);
        // No browser opens at the end of a run, whatever the machine has.
        set_browser_opener([this](const std::string& page) { opened_pages.push_back(page); });
        base = tmp.path() / "base";
        out = tmp.path() / "out";
    }
    void TearDown() override {
        stop();
        set_browser_opener(nullptr);
        set_dialog_port(nullptr);
    }

    // Copies the photos into the base folder.
    void make_base() {
        fs::remove_all(base);
        for (const PhotoSet& set : photo_sets()) {
            fs::create_directories(base / set.directory);
            for (const std::string& file : set.files) {
                const fs::path source = fs::path(GALVORA_TESTDATA_DIR) / file;
                ASSERT_TRUE(fs::exists(source)) << "test data missing: " << source;
                fs::copy_file(source, base / set.directory / source.filename());
            }
        }
    }

    // A user profile at level 1 that makes clones, thumbnails and pages into `out`.
    void write_profile() {
        const fs::path folder = tmp.path() / "data" / "galvora" / "profiles";
        write_file(folder / (kProfile + std::string(".qvp")),
                   "VERSION=2.11.02\r\nDIR_LEVEL=1\r\nGENERATE_CLONES=1\r\nCLONE_PATH=" + out.string() +
                       "\r\nCLONE_SIZE_ORIGINAL=0\r\nCLONE_SIZE=320\r\n");
        registry_schreiben("LastSession", "profile", kProfile);
        registry_schreiben("LastSession", "profilelastselection", "1");
    }

    // Starts the program as `galvora` with these arguments and a display.
    int start(const std::vector<std::string>& arguments = {}) {
        program = std::make_unique<TestWindowProgram>();
        std::vector<const char*> argv{"galvora"};
        for (const std::string& a : arguments) argv.push_back(a.c_str());
        const int status = Main(static_cast<int>(argv.size()), argv.data(), program.get());
        QApplication::processEvents();
        return status;
    }
    // The photos and the user profile, the program started, the base folder chosen.
    void start_over_base() {
        make_base();
        write_profile();
        ASSERT_EQ(start(), kExitDone);
        choose_base(base);
    }
    // Closes the window (its close handling runs) and ends the program.
    void stop() {
        if (program == nullptr) return;
        if (program->fenster() != nullptr) program->fenster()->close();
        program.reset();
    }
    gui::MainWindow& window() { return *program->fenster(); }
    Startdialog& model() { return startdialog(); }

    // Chooses a base folder through the base-directory button and the real folder dialog.
    void choose_base(const fs::path& folder) {
        with_modal_dialog(
            [folder](QWidget* dialog) {
                auto* files = dialog->findChild<QFileDialog*>();
                ASSERT_NE(files, nullptr);
                files->setDirectory(QString::fromStdString(folder.parent_path().string()));
                files->selectFile(QString::fromStdString(folder.string()));
                QMetaObject::invokeMethod(files, "accept");
            },
            [this] { QTest::mouseClick(window().basiswahl(), Qt::LeftButton); });
    }

    // The directories below the tree's top node, with their counts, top to bottom.
    std::vector<std::string> tree_order() {
        std::vector<std::string> names;
        QTreeWidgetItem* root = window().baum()->topLevelItem(0);
        if (root == nullptr) return names;
        for (int i = 0; i < root->childCount(); ++i) names.push_back(root->child(i)->text(0).toStdString());
        return names;
    }

    QTreeWidgetItem* tree_item(const std::string& text_start) {
        for (QTreeWidgetItem* item : window().baum()->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive))
            if (item->text(0).toStdString().rfind(text_start, 0) == 0) return item;
        return nullptr;
    }
    void click_item(QTreeWidgetItem* item) {
        ASSERT_NE(item, nullptr);
        const QRect row = window().baum()->visualItemRect(item);
        QTest::mouseClick(window().baum()->viewport(), Qt::LeftButton, {}, row.center());
    }

    // The batch run of the same profile, without any display.
    int batch_run() {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                    std::string(GALVORA_BIN_DIR) + "/galvora' /Profile=" + kProfile + " '/Basedir=" +
                                    base.string() + "' /Level=1 >'" + (tmp.path() / "batch.log").string() + "' 2>&1";
        return std::system(command.c_str());
    }

    // Moves the window's gallery aside, lets the batch run make its own in the
    // same place, and compares the two file by file, byte by byte. Returns
    // the window's files.
    std::vector<std::string> expect_same_as_batch_run() {
        const fs::path made = tmp.path() / "out-window";
        fs::rename(out, made);
        EXPECT_EQ(batch_run(), 0) << read_file(tmp.path() / "batch.log");
        const std::vector<std::string> files = files_below(made);
        EXPECT_FALSE(files.empty());
        EXPECT_EQ(files, files_below(out));
        const std::string diff = "diff -r '" + made.string() + "' '" + out.string() + "'";
        EXPECT_EQ(std::system(diff.c_str()), 0);
        return files;
    }

    static constexpr const char* kProfile = "fenstertest";
    TempFolder tmp;
    ScopedEnv env;
    ScopedUserFolders user{tmp.path()};
    test::RecordingPort messages;
    gui::QtDialogPort dialogs;
    std::unique_ptr<TestWindowProgram> program;
    std::vector<std::string> opened_pages;
    fs::path base;
    fs::path out;
};

}  // namespace galvora::testing
