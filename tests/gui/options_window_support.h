#pragma once
// The options dialog's window driven as the user drives it: opened through
// the entry the main window's Options menu calls, over a base folder with two
// pictures and the decoration files a run copies.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "app/main_window.h"
#include "app/run_start.h"
#include "app/selection_tree_build.h"
#include "generation/browser_launch.h"
#include "generation/generation_run.h"
#include "generation/run_completion.h"
#include "gui/options/form_view.h"
#include "gui/options/options_dialog_view.h"
#include "gui/options_view_support.h"
#include "options/options_test_support.h"

namespace galvora::testing {

class OptionsWindow : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        seitenerzeugung_anmelden();
        set_browser_opener([](const std::string&) {});
        for (const char* name : {"gesamtanfang", "pfadanfang", "seitenanfang", "links", "home", "index", "rechts",
                                 "seitenende", "pfadende", "gesamtende"})
            write_file(tmp.path() / "program" / "decopool" / "standard" / (std::string(name) + ".gif"), "GIF89a");
        write_jpeg(base / "bild1.jpg", 32, 24);
        write_jpeg(base / "bild2.jpg", 24, 32);
        startdialog() = Startdialog{};
        startdialog().basisverzeichnis = base.string();
        startdialog().basisverzeichnis_tag = "base";
        DirectoryLevel = 0;
        AuswahlBaumAufbauen(startdialog(), 0);
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        optionen_ansicht_freigeben();
        laufabschnitte() = Laufabschnitte{};
        set_browser_opener(nullptr);
        startdialog() = Startdialog{};
        OptionsTest::TearDown();
    }

    // Opens the dialog through the main window's entry and runs the steps
    // while it is open. Whatever the steps leave open is cancelled, so a
    // failing step cannot leave the dialog waiting.
    bool open_and(const std::function<void(OptionenDialog&)>& steps) {
        QTimer::singleShot(0, [steps] {
            OptionenDialog* view = optionen_ansicht();
            if (view == nullptr) return;
            // The offscreen platform makes no window active by itself; focus needs one.
            QApplication::setActiveWindow(view);
            steps(*view);
            if (view->isVisible()) view->done(QDialog::Rejected);
        });
        return optionen_zeigen(nullptr);
    }

    static void click_node(OptionenDialog& view, int box) { click_tree_node(view, box); }

    // Starts a run as the main window's start button does.
    void run() {
        port.boxes.clear();
        aufbereitung_starten(startdialog());
        ASSERT_TRUE(port.boxes.empty()) << port.boxes.front().text;
    }
    // The text of every page the run wrote below a folder.
    static std::string pages_below(const fs::path& folder) {
        std::string all;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".html") all += read_file(it->path());
        return all;
    }
};

}  // namespace galvora::testing
