// The main window's procedures on its model, without any window: the load
// in its order, the close check and the session stored, the control image,
// the tree's click and key, the layout and its failure, the options hand-off.
#include "app/main_window.h"

#include "app/app_test_support.h"
#include "app/base_directory.h"
#include "app/help.h"
#include "app/main_window_view.h"
#include "app/menu_keys.h"
#include "app/options_handoff.h"
#include "app/selection_tree_build.h"
#include "foundation/log.h"
#include "foundation/registry.h"
#include "generation/settings_access.h"
#include "platform/user_folders.h"
#include "profile/profiles.h"

namespace galvora::testing {
namespace {

constexpr int kSetClonePath = 53;

// A view that notes what the model asked of it, and what the window showed then.
struct RecordingView : StartdialogAnsicht {
    std::vector<std::string> calls;
    std::string text_when_shown;
    bool workable_when_shown = true;
    std::optional<Fenstermasse> size;
    void formular_vorbereiten() override { calls.push_back("formular"); }
    void sprache_anwenden() override { calls.push_back("sprache"); }
    void geometrie_wiederherstellen() override { calls.push_back("geometrie"); }
    void zeigen() override {
        calls.push_back("zeigen");
        text_when_shown = startdialog().gesamtfortschritt.beschriftung();
        workable_when_shown = startdialog().bedienbar;
    }
    void kontrollbild_leeren() override { calls.push_back("kontrollbild"); }
    void logging_leeren() override { calls.push_back("logging"); }
    std::optional<Fenstermasse> fenstermasse() override { return size; }
};

class MainWindowModel : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        env.set("HOME", (tmp.path() / "home").string());
        fs::create_directories(tmp.path() / "home");
        fs::copy_file(fs::path(GALVORA_BIN_DIR) / "metadata.def", program_folder() / "metadata.def");
        // Nothing is left unsaved at the start.
        ScriptFileModules().verändert_reset();
        ProfileModules().verändert_reset();
        LoadedProfileModules().verändert_reset();
        window().ansicht = &view;
    }
    void TearDown() override {
        window().ansicht = nullptr;
        set_global_log(nullptr);
        // The profile tests leave another profile current.
        set_aktuelles_profil(standardprofil());
        registry_schreiben("LastSession", "profile", "");
        AppTest::TearDown();
    }
    // The log file's text, once open_log made one.
    void open_log() {
        auto log = std::make_unique<LogClass>();
        ASSERT_TRUE(log->CreateLogfile((tmp.path() / "test.log").string()));
        set_global_log(std::move(log));
    }
    std::string log_text() { return read_file(tmp.path() / "test.log"); }
    Startdialog& window() { return startdialog(); }
    // A user profile with its own settings lines.
    void user_profile(const std::string& name, const std::string& lines) {
        write_file(fs::path(user_profile_folder()) / (name + ".qvp"), "VERSION=2.11.02\r\n" + lines);
    }

    ScopedEnv env;
    RecordingView view;
};

TEST_F(MainWindowModel, TheLoadRunsItsStepsInOrderAndOpensInTheHomeFolder) {
    write_jpeg(tmp.path() / "home" / "a" / "1.jpg");
    startdialog_laden(nullptr);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"formular", "sprache", "geometrie", "zeigen", "kontrollbild"}));
    // Shown while it loads: the initial text, nothing to work yet.
    EXPECT_EQ(view.text_when_shown, "Initialisierung");
    EXPECT_FALSE(view.workable_when_shown);
    EXPECT_TRUE(window().bedienbar);
    EXPECT_TRUE(window().auswahl_aktiv);
    EXPECT_EQ(window().ok_text, "starten");
    EXPECT_EQ(window().version_text, versionstext());
    EXPECT_EQ(window().basistitel, "Galvora - Voreinstellung");
    // A first start: the home folder, the control image on, the user's
    // profile folder made and stored.
    EXPECT_EQ(window().basisverzeichnis, (tmp.path() / "home").string());
    EXPECT_TRUE(window().kontrollbild);
    const std::string profiles = registry_lesen("LastSession", "userprofiledir", "");
    EXPECT_FALSE(profiles.empty());
    EXPECT_TRUE(fs::is_directory(profiles));
    for (const auto& box : port.boxes) ADD_FAILURE() << box.text;
}

TEST_F(MainWindowModel, AMissingStartFolderIsReportedAndLeftRed) {
    registry_schreiben("LastSession", "startpath", (tmp.path() / "gone").string());
    startdialog_laden(nullptr);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrBasedirNotAvailable", {(tmp.path() / "gone").string()}));
    EXPECT_EQ(window().basisverzeichnis_farbe, kMissingFolderColour);
    EXPECT_TRUE(window().bedienbar);
}

TEST_F(MainWindowModel, TheCloseIsRefusedDuringARunAndStoresTheSessionOtherwise) {
    window().RunInProgress = true;
    batchmodus = true;
    CancelRequested = false;
    EXPECT_FALSE(startdialog_schliessen_pruefen());
    EXPECT_TRUE(CancelRequested);
    EXPECT_FALSE(batchmodus);
    CancelRequested = false;
    window().RunInProgress = false;
    EXPECT_TRUE(startdialog_schliessen_pruefen());

    window().basisverzeichnis = base.string();
    window().zuletzt = {"/a", "/b"};
    window().kontrollbild = false;
    view.size = Fenstermasse{9000, 8400, 4500};
    startdialog_schliessen();
    EXPECT_EQ(registry_lesen("Administration", "fwidth", ""), "9000");
    EXPECT_EQ(registry_lesen("Administration", "fheigth", ""), "8400");
    EXPECT_EQ(registry_lesen("Administration", "pwidth", ""), "4500");
    EXPECT_EQ(registry_lesen("LastSession", "startpath", ""), base.string());
    EXPECT_EQ(registry_lesen("LastSession", "imgcontrol", ""), "0");
    EXPECT_EQ(registry_lesen("LastSession\\basedirs", "BD2", ""), "/b");
}

TEST_F(MainWindowModel, CancellingTheSaveQuestionKeepsTheWindowAndWritesNothing) {
    user_profile("Zweit", "DIR_LEVEL=1\r\n");
    registry_schreiben("LastSession", "profile", "Zweit");
    profile_auflisten();
    set(kSetDirLevel, "2");
    profilaenderungen_uebernehmen();  // an accepted change the file does not hold yet
    port.answer = ID_CANCEL;
    EXPECT_FALSE(startdialog_schliessen_pruefen());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("MsgProfileChangesSave", {"Zweit"}));
    EXPECT_EQ(registry_lesen("LastSession", "startpath", "unwritten"), "unwritten");
}

TEST_F(MainWindowModel, TheControlImageSwitchesAndRepaintsAsTheRunAllows) {
    window().kontrollbild = false;
    kontrollbild_umschalten(window());
    EXPECT_TRUE(window().kontrollbild);
    kontrollbild_umschalten(window());
    EXPECT_FALSE(window().kontrollbild);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"kontrollbild", "kontrollbild"}));
    // Switched on during a run, the box keeps its picture for the next one.
    view.calls.clear();
    window().RunInProgress = true;
    kontrollbild_umschalten(window());
    EXPECT_TRUE(window().kontrollbild);
    EXPECT_TRUE(view.calls.empty());
    kontrollbild_umschalten(window());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"kontrollbild"}));
    window().RunInProgress = false;
    EXPECT_EQ(kontrollbild_farbe(true), 0x96EB96u);   // RGB(150, 235, 150)
    EXPECT_EQ(kontrollbild_farbe(false), 0xC8C8FFu);  // RGB(255, 200, 200)
}

TEST_F(MainWindowModel, ClickAndF5OnTheTree) {
    write_jpeg(base / "a" / "1.jpg");
    write_jpeg(base / "b" / "1.jpg");
    write_jpeg(base / "b" / "2.jpg");
    DirectoryLevel = 1;
    BasisverzeichnisSetzen(window(), base.string());
    baum_klick(window(), window().baum.find("Kb")->id);
    EXPECT_EQ(window().gesamtfortschritt.Text(), "1 Verzeichnis mit 1 Bild");
    baum_klick(window(), -5);  // a node of an older tree: nothing
    EXPECT_EQ(window().gesamtfortschritt.Text(), "1 Verzeichnis mit 1 Bild");
    write_jpeg(base / "c" / "1.jpg");
    baum_taste(window(), 'A');
    EXPECT_EQ(window().baum.find("Kc"), nullptr);
    baum_taste(window(), kTasteF5);
    ASSERT_NE(window().baum.find("Kc"), nullptr);
    EXPECT_EQ(window().gesamtfortschritt.Text(), "3 Verzeichnisse mit 4 Bildern");
}

TEST_F(MainWindowModel, ALanguageSwitchRenewsTheWindowWords) {
    window().baum.directory_count = 1;
    window().baum.picture_count = 12;
    startdialog_sprache(window());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"sprache"}));
    EXPECT_EQ(window().ok_text, "starten");
    EXPECT_EQ(window().gesamtfortschritt.Text(), "1 Verzeichnis mit 12 Bildern");
    // No help pages beside this program: the help menu says where they belong.
    EXPECT_EQ(HelpFilePath, "");
    hilfe_menue();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrHelpMissing", {hilfedatei_erwartet()}));
}

// A window too small for its design is no reason to end the program or to
// remove the "Administration" values (the language is among them): on a screen
// smaller than the design the program would end at every start. Only the
// geometry that led here is dropped, so the next start opens at the design size.
TEST_F(MainWindowModel, AFailingLayoutKeepsTheSettingsAndDropsOnlyTheGeometry) {
    registry_schreiben("Administration", "language", "en");
    registry_schreiben("Administration", "fwidth", "99999");
    open_log();
    Bildschirm screen{1024, 768, 15, 15};
    geometrie_laden(window().layout, screen);
    const Anordnung good = startdialog_anordnen(window(), 700, 560, 700, 540);
    EXPECT_TRUE(anordnung_gueltig(good));
    EXPECT_FALSE(window().layout.geometrie_verwerfen);
    // A client area too small for the design: the program goes on.
    const Anordnung bad = startdialog_anordnen(window(), 700, 60, 700, 40);
    EXPECT_TRUE(anordnung_gueltig(bad));
    EXPECT_EQ(bad.baum.hoehe, 0);
    EXPECT_TRUE(window().layout.geometrie_verwerfen);
    EXPECT_NE(log_text().find("Startdialog ErrDialogResize"), std::string::npos);
    view.size = Fenstermasse{10500, 900, 4500};
    startdialog_schliessen();
    EXPECT_EQ(registry_lesen("Administration", "language", ""), "en");
    EXPECT_EQ(registry_lesen("Administration", "fwidth", "unset"), "");
    // The next start opens at the design size.
    geometrie_laden(window().layout, screen);
    EXPECT_EQ(window().layout.letzte_breite, window().layout.mindestbreite);
}

TEST_F(MainWindowModel, ABarInTheMinimisedWindowShowsItsPercentageInTheCaption) {
    window().basistitel = "Galvora - Voreinstellung";
    window().titel = window().basistitel;
    Fortschrittanzeige& bar = window().gesamtfortschritt;
    bar.lade_sprachressourcen();
    bar.groesse(200, 20);
    bar.Max(8);
    bar.mit_prozentzahl(true);
    bar.setze_aktwert(3);
    EXPECT_EQ(window().titel, "Galvora - Voreinstellung");
    window().minimiert = true;
    bar.setze_aktwert(4);
    EXPECT_EQ(window().titel, "50% - Galvora - Voreinstellung");
    // Back from the taskbar the layout puts the base title back.
    window().minimiert = false;
    startdialog_anordnen(window(), 700, 560, 700, 540);
    EXPECT_EQ(window().titel, "Galvora - Voreinstellung");
}

TEST(MenuKeys, EachEntryGetsAFreeKey) {
    EXPECT_EQ(menue_kuerzel({"Optionen", "Info", "Hilfe", "Beenden"}),
              (std::vector<std::string>{"&Optionen", "&Info", "&Hilfe", "&Beenden"}));
    EXPECT_EQ(menue_kuerzel({"Options", "Open", "oo", "R&D"}),
              (std::vector<std::string>{"&Options", "O&pen", "oo", "&R&&D"}));
    EXPECT_EQ(menue_kuerzel({"Über", "Ende"}), (std::vector<std::string>{"Ü&ber", "&Ende"}));
}

class OptionsHandoff : public MainWindowModel {
protected:
    void SetUp() override {
        MainWindowModel::SetUp();
        write_jpeg(base / "a" / "1.jpg");
        write_jpeg(base / "b" / "1.jpg");
        other = tmp.path() / "other";
        write_jpeg(other / "c" / "1.jpg");
        user_profile("Zweit", "DIR_LEVEL=1\r\n");
        profile_auflisten();
        DirectoryLevel = 1;
        set(kSetDirLevel, "1");
        BasisverzeichnisSetzen(window(), base.string());
        registry_schreiben("LastSession", "profilelastselection", "1");
    }
    // The options dialog as the profile page uses it: it loads the other profile.
    std::function<void()> switching_dialog() {
        return [] {
            profil_laden(profil_per_name("Zweit"));
            ProfileSwitched = true;
        };
    }
    fs::path other;
};

TEST_F(OptionsHandoff, WithoutChangesTheLevelAndTheCloneDirectoryAreTakenAgain) {
    const uint64_t tree = window().baum.struktur_stand();
    set(kSetGenerateClones, "1");
    set(kSetClonePath, "clones");
    MenueOptionenClick(window(), [] { profilwert_setzen(kSetDirLevel, "2"); });
    EXPECT_EQ(DirectoryLevel, 2);
    EXPECT_EQ(window().cloneverzeichnis, base.string() + "/clones");
    EXPECT_EQ(window().baum.struktur_stand(), tree);
    EXPECT_EQ(window().basisverzeichnis, base.string());
}

TEST_F(OptionsHandoff, ARequestedRebuildBuildsTheTree) {
    write_jpeg(base / "c" / "1.jpg");
    MenueOptionenClick(window(), [] { TreeRebuildRequested = true; });
    EXPECT_NE(window().baum.find("Kc"), nullptr);
    // A dialog that does not ask for it leaves the tree as it is.
    write_jpeg(base / "d" / "1.jpg");
    MenueOptionenClick(window(), {});
    EXPECT_EQ(window().baum.find("Kd"), nullptr);
}

TEST_F(OptionsHandoff, AProfileSwitchSavesTheOldSelectionAndKeepsTheBaseWhenAsked) {
    baum_klick(window(), window().baum.find("Kb")->id);
    MenueOptionenClick(window(), switching_dialog());
    EXPECT_EQ(aktuelles_profil()->Name(), "Zweit");
    EXPECT_EQ(read_file(abwahldatei(base.string(), "Voreinstellung")), "b\r\n");
    EXPECT_EQ(window().zuletzt.front(), base.string());
    EXPECT_EQ(window().basisverzeichnis, base.string());
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(OptionsHandoff, AProfileSwitchGoesToTheProfilesLastBaseDirectory) {
    registry_schreiben("LastSession", "profilelastbasedir", "1");
    registry_schreiben("ProfilesLastData", "Zweit", other.string());
    MenueOptionenClick(window(), [this] {
        switching_dialog()();
        TreeRebuildRequested = true;
    });
    EXPECT_EQ(window().basisverzeichnis, other.string());
    ASSERT_NE(window().baum.find("Kc"), nullptr);
    EXPECT_FALSE(TreeRebuildRequested);

    // A stored directory that is gone: reported, and shown red.
    registry_schreiben("ProfilesLastData", "Voreinstellung", (tmp.path() / "gone").string());
    MenueOptionenClick(window(), [] {
        profil_laden(nullptr);
        ProfileSwitched = true;
    });
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text,
              msg("ErrProfileMissingLastBasedir", {"Voreinstellung", (tmp.path() / "gone").string()}));
    EXPECT_EQ(window().basisverzeichnis_farbe, kMissingFolderColour);
}

TEST_F(OptionsHandoff, AnEmptyStoredDirectoryKeepsTheBaseAndAPendingRebuild) {
    registry_schreiben("LastSession", "profilelastbasedir", "1");
    write_jpeg(base / "c" / "1.jpg");
    MenueOptionenClick(window(), [this] {
        switching_dialog()();
        TreeRebuildRequested = true;
    });
    EXPECT_EQ(window().basisverzeichnis, base.string());
    EXPECT_NE(window().baum.find("Kc"), nullptr);
}

}  // namespace
}  // namespace galvora::testing
