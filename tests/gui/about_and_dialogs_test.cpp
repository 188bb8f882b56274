// The about box and the small dialogs, opened offscreen as the window
// program opens them: their texts, what their buttons do, the update query on
// a worker thread against a loopback server, the script's input box reached
// through the `input` built-in, and one screenshot of each window in the
// build folder.

// The compiler declares members named `emit`; it comes before Qt's macro of that name.
#include "script/compiler.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/output.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/app_test_support.h"
#include "app/update_query.h"
#include "gui/about_box_view.h"
#include "gui/qt_ui_port.h"
#include "gui/small_dialog_views.h"
#include "platform/launcher.h"
#include "platform/loopback_http_server.h"
#include "platform/os_info.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora::testing {
namespace {

// Screenshots go beside the build's test output.
void screenshot(QWidget& window, const std::string& name) {
    window.adjustSize();
    const fs::path folder = fs::path(GALVORA_BUILD_DIR) / "screenshots";
    fs::create_directories(folder);
    const fs::path file = folder / (name + ".png");
    ASSERT_TRUE(window.grab().save(QString::fromStdString(file.string())));
    EXPECT_GT(fs::file_size(file), 1000u) << file;
}

template <typename T>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The input box goes through the window program's own message port (which
// shows zeige_eingabebox); the message boxes are still recorded.
struct InputBoxPort : test::RecordingPort {
    std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) override {
        return window_port.input_box(prompt, preset);
    }
    gui::QtUiPort window_port;
};

// Runs `step` on the next modal window to appear, while the caller's exec() waits.
void when_modal_opens(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            when_modal_opens(step);
            return;
        }
        step(modal);
    });
}

class Windows : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        user_profile_folder();
        profile_auflisten();
        profil_laden();
        port.boxes.clear();
    }
    void TearDown() override {
        set_update_adresse("");
        set_update_zeitlimit_ms(0);
        set_launcher(nullptr);
        AppTest::TearDown();
    }
};

TEST_F(Windows, AboutBoxShowsVersionsAndOpensItsLinks) {
    InformDialog box(nullptr);
    box.show();
    EXPECT_EQ(box.windowTitle(), "Informationen zu Galvora");
    EXPECT_EQ(child<QLabel>(box, "Galvora_Version")->text().toStdString(), versionszeile());
    EXPECT_EQ(child<QLabel>(box, "Copyright")->text().toStdString(), copyright_text());
    EXPECT_EQ(child<QLabel>(box, "Label1")->text(), "Email:");
    EXPECT_EQ(child<QPushButton>(box, "UpdateAnfrage")->text(), "Update?");

    QTreeWidget* list = child<QTreeWidget>(box, "VersionInfo");
    EXPECT_EQ(list->headerItem()->text(0), "Komponente");
    EXPECT_EQ(list->headerItem()->text(1), "Version");
    const auto rows = komponentenzeilen(OperatingSystem(), {"Qt", qVersion()});
    ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(rows.size()));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        EXPECT_EQ(list->topLevelItem(i)->text(0).toStdString(), rows[static_cast<size_t>(i)].komponente);
        EXPECT_EQ(list->topLevelItem(i)->text(1).toStdString(), rows[static_cast<size_t>(i)].version);
    }
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Qt");
    EXPECT_EQ(list->topLevelItem(2)->text(1), qVersion());

    std::vector<std::string> opened;
    set_launcher([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    emit child<QLabel>(box, "hlink")->linkActivated("#");
    emit child<QLabel>(box, "mail")->linkActivated("#");
    EXPECT_EQ(opened, (std::vector<std::string>{homepage_adresse(), "mailto:" + mail_adresse()}));

    screenshot(box, "about_box");
    QTest::mouseClick(child<QPushButton>(box, "OK"), Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(Windows, UpdateQueryKeepsTheWindowResponsive) {
    InformDialog box(nullptr);
    box.show();
    QPushButton* button = child<QPushButton>(box, "UpdateAnfrage");

    // A server that keeps silent: the window goes on handling events until
    // the query gives up, and then says that nothing could be found.
    {
        set_update_zeitlimit_ms(1500);
        LoopbackHttpServer silent("", /*silent=*/true);
        set_update_adresse(silent.url());
        QSignalSpy answered(&box, &InformDialog::update_beantwortet);
        bool timer_ran_while_waiting = false;
        QTimer::singleShot(20, &box, [&] { timer_ran_while_waiting = box.update_laeuft(); });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(box.update_laeuft());
        EXPECT_FALSE(button->isEnabled());
        ASSERT_TRUE(answered.wait(120000));
        EXPECT_TRUE(timer_ran_while_waiting);
        EXPECT_TRUE(button->isEnabled());
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].text, msg("MsgInfoNotAvailable"));
    }

    LoopbackHttpServer server(http_reply("200 OK", "2.11.3;2.12.0 beta"));
    set_update_adresse(server.url());
    QSignalSpy answered(&box, &InformDialog::update_beantwortet);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(answered.wait(120000));
    ASSERT_EQ(port.boxes.size(), 2u);
    EXPECT_EQ(port.boxes[1].text, msg("MsgInfoUpdate", {"2.11.3", "2.12.0 beta"}));
    EXPECT_EQ(port.boxes[1].title, program_title());
}

TEST_F(Windows, NewProfileDialog) {
    ProfilNeuDialog dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Galvora - Neues Profil");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), "Name des neuen Profils");
    EXPECT_EQ(child<QPushButton>(dialog, "CancelButton")->text(), "Abbrechen");
    QLineEdit* name = child<QLineEdit>(dialog, "Profil_Bezeichner");
    screenshot(dialog, "new_profile");

    name->setText("   ");
    QTest::mouseClick(child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "a blank name keeps the window open";
    EXPECT_EQ(name->text(), "");
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrProfileMissingName"));

    name->setText("  Wandern  ");
    QTest::mouseClick(child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(name->text(), "Wandern");
    EXPECT_EQ(dialog.profilname(), "Wandern");
    EXPECT_EQ(aktuelles_profil()->Name(), "Wandern");
}

TEST_F(Windows, NewModuleDialog) {
    ZNModule modules;
    ModulNeuDialog dialog(nullptr, modules);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "ZantoScript - Neues Modul");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), "Name des Moduls");
    screenshot(dialog, "new_module");
    child<QLineEdit>(dialog, "Modul_Bezeichner")->setText("galerie");
    QTest::mouseClick(child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_NE(dialog.modul(), nullptr);
    EXPECT_EQ(modules.count(), 1);

    // Cancel changes nothing.
    ModulNeuDialog cancelled(nullptr, modules);
    cancelled.show();
    child<QLineEdit>(cancelled, "Modul_Bezeichner")->setText("zweites");
    QTest::mouseClick(child<QPushButton>(cancelled, "CancelButton"), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.modul(), nullptr);
    EXPECT_EQ(modules.count(), 1);
}

TEST_F(Windows, PictureTypeDialog) {
    DateiartenDialog dialog(nullptr, 18);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Galvora - Bild-Dateiart");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), "Dateiarten des Bildtyps JPG");
    QLineEdit* types = child<QLineEdit>(dialog, "Dateiarten");
    EXPECT_EQ(types->text(), "JPG");
    screenshot(dialog, "picture_types");

    types->clear();
    QTest::mouseClick(child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(types->text(), "JPG") << "the old list comes back";
    EXPECT_FALSE(profil_geaendert);

    types->setText("JPG,JPEG,JPE");
    QTest::mouseClick(child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(profilwert(18), "JPG,JPEG,JPE");
    EXPECT_TRUE(profil_geaendert);
}

TEST_F(Windows, InputBoxOfTheInputBuiltIn) {
    InputBoxPort window_port;
    bool preset_selected = false;
    std::string caption;
    when_modal_opens([&](QWidget* box) {
        auto* text = box->findChild<QLineEdit*>("FInputText");
        ASSERT_NE(text, nullptr);
        preset_selected = text->selectedText() == "Bob";
        caption = box->windowTitle().toStdString();
        screenshot(*box, "input_box");
        QTest::keyClicks(text, "Alice");  // replaces the selected preset
        QTest::mouseClick(box->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    ASSERT_EQ(uebersetze(0, 0, "frage", "{x = input(\"Wie heißt du?\", \"Bob\"); \"[\" + x + \"]\"}"), 0);
    ausgabe_puffer.clear();
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("frage"));
    EXPECT_TRUE(preset_selected);
    EXPECT_EQ(caption, "Wie heißt du?");
    EXPECT_EQ(ausgabe_puffer, "[Alice]");

    // Closed without OK: the built-in answers the empty text.
    EingabeDialog closed(nullptr, "", "42");
    closed.show();
    EXPECT_EQ(closed.windowTitle(), "Galvora");
    closed.reject();
    EXPECT_EQ(closed.eingegeben(), "");
}

// Every text the windows have recorded in the built-in German language so
// far, design captions included, has a text in the English language file.
TEST_F(Windows, EveryGermanTextOfTheseWindowsIsInEnglish) {
    ZNModule modules;
    for (QDialog* window : std::vector<QDialog*>{new InformDialog(nullptr), new ProfilNeuDialog(nullptr),
                                                 new ModulNeuDialog(nullptr, modules),
                                                 new DateiartenDialog(nullptr, 15)}) {
        window->show();
        delete window;
    }
    ZNLanguages languages;
    ZNLanguage* english = languages.AddFile(std::string(GALVORA_SOURCE_DIR) + "/resources/languages/english.lng");
    ASSERT_NE(english, nullptr);
    int compared = 0;
    for (const auto& section : sprache_deutsch()->texts())
        for (const auto& entry : *section) {
            ++compared;
            EXPECT_NE(english->inq(section->key(), entry->key), "?" + entry->key + "?")
                << "[" << section->key() << "] " << entry->key << " = " << entry->value;
        }
    EXPECT_GT(compared, 300);
}

}  // namespace
}  // namespace galvora::testing
