#include "app/main_window.h"

#include <memory>

#include "app/base_directory.h"
#include "app/batch_mode.h"
#include "app/help.h"
#include "app/main_window_view.h"
#include "app/script_file.h"
#include "app/selection_tree_build.h"
#include "foundation/command_arguments.h"
#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/ole_date.h"
#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "generation/run_port.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/metadata/metadata_definition.h"
#include "platform/user_folders.h"
#include "profile/number_text.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "script/engine.h"

namespace galvora {

namespace {

int32_t int_or(const std::string& text, int32_t fallback) {
    int32_t value = 0;
    return text_to_int32(text, value) ? value : fallback;
}

bool number_is_one(const std::string& text) {
    double value = 0;
    return text_to_number(text, value) && value == 1.0;
}

std::string current_profile_name() {
    auto profile = aktuelles_profil();
    return profile ? profile->Name() : std::string();
}

void show_view() {
    Startdialog& window = startdialog();
    if (window.ansicht != nullptr) window.ansicht->aktualisieren();
}

}  // namespace

int32_t DirectoryLevel = 0;
int32_t DirSortKind = 1;
int32_t DirSortDirection = 0;

Startdialog& startdialog() {
    static Startdialog window;
    return window;
}

void profilzustand_anmelden() {
    // Reading a profile shows it as the current one: the window's base title
    // and, while no bar shows a percentage there, its caption.
    profile_hooks().show_current_profile = [](const std::string& title) {
        Startdialog& window = startdialog();
        window.basistitel = title;
        if (!window.minimiert) window.titel = title;
        show_view();
    };
}

std::string versionstext() { return version_kurz(programmversion()); }

void startdialog_sprache(Startdialog& window) {
    log_line("Startdialog InitLaguage START");
    window.gesamtfortschritt.Text(AuswahlTextSetzen(window.baum.directory_count, window.baum.picture_count));
    if (window.ansicht != nullptr) window.ansicht->sprache_anwenden();
    HelpFilePath = hilfedatei_ermitteln();
    window.ok_text = inq("Startdialog", "Start");
    window.gesamtfortschritt.lade_sprachressourcen();
    window.pfadfortschritt.lade_sprachressourcen();
    show_view();
    log_line("Startdialog InitLaguage END");
}

void startdialog_laden(CommandArguments* arguments) {
    Startdialog& window = startdialog();
    StartdialogAnsicht* view = window.ansicht;
    struct Loading {
        Startdialog& window;
        explicit Loading(Startdialog& w) : window(w) { window.laedt = true; }
        ~Loading() {
            window.laedt = false;
            vorgemerktes_schliessen(window);
        }
    } loading(window);
    log_line("Startdialog LOAD START");
    window.version_text = versionstext();
    if (window.basistitel.empty()) window.basistitel = product_name();
    if (window.titel.empty()) window.titel = window.basistitel;
    if (view != nullptr) view->formular_vorbereiten();
    startdialog_sprache(window);
    log_line("Startdialog LOAD Metadata");
    LoadMetadataDefinition();
    window.RunInProgress = false;

    registry_schreiben("Administration", "version", std::to_string(program_major()) + "." + std::to_string(program_minor()));
    const double now = ole_now();
    const std::string stamp = datum_text(now) + " " + zeit_text(now);
    for (const char* section : {"Administration", "LastSession", "ProfilesLastData"})
        registry_schreiben(section, "lastuseddatetime", stamp);
    if (registry_lesen("LastSession", "userprofiledir", "").empty()) {
        const std::string folder = standard_benutzerprofilordner();
        registry_schreiben("LastSession", "userprofiledir", folder);
        try {
            MakeFullDir(folder);
        } catch (const std::exception&) {
            // The folder is made again when the first user profile is saved.
        }
    }

    if (view != nullptr) {
        log_line("Startdialog LOAD Resize START");
        view->geometrie_wiederherstellen();
        log_line("Startdialog LOAD Resize END");
    }

    zuletzt_laden(window);
    window.basisverzeichnis.clear();
    window.basisverzeichnis_tag.clear();
    window.cloneverzeichnis.clear();
    window.gesamtfortschritt.Text(inq("Startdialog", "Init"));

    if (view != nullptr) view->zeigen();
    run_port().process_events();

    std::string base;
    if (arguments != nullptr && arguments->count() > 0) {
        std::unique_ptr<CommandArguments> owned(arguments);
        base = batch_vorbereiten(window, owned);
    } else {
        delete arguments;
        log_line("Startdialog LOAD Inquire Profiles");
        profile_auflisten();
        DirectoryLevel = int_or(setting_text(kSetDirLevel), 0);
        // The first start opens in the user's home folder.
        const std::string start = registry_lesen("LastSession", "startpath", home_folder().string());
        base = start;
        if (number_is_one(registry_lesen("LastSession", "profilelastbasedir", "0")))
            base = registry_lesen("ProfilesLastData", current_profile_name(), start);
        log_line("Startdialog STARTPATH " + base);
        window.kontrollbild = number_is_one(registry_lesen("LastSession", "imgcontrol", "1"));
    }
    if (view != nullptr) view->kontrollbild_leeren();

    if (!BasisverzeichnisSetzen(window, base))
        meldung(program_title(), MB_ICON_INFORMATION, "ErrBasedirNotAvailable", {base});
    window.bedienbar = true;
    window.auswahl_aktiv = true;
    show_view();
    run_port().process_events();
    log_line("Startdialog LOAD END");
}

bool startdialog_schliessen_pruefen() {
    Startdialog& window = startdialog();
    if (window.RunInProgress) {
        CancelRequested = true;
        batchmodus = false;
        return false;
    }
    if (window.laedt || window.baum_im_aufbau) {
        window.schliessen_vorgemerkt = true;
        return false;
    }
    window.schliessen_vorgemerkt = false;
    return profilaenderungen_speichern_fragen() != 2;
}

void vorgemerktes_schliessen(Startdialog& window) {
    if (!window.schliessen_vorgemerkt || window.laedt || window.baum_im_aufbau) return;
    if (window.ansicht != nullptr) window.ansicht->schliessen_nachholen();
}

void startdialog_schliessen() {
    Startdialog& window = startdialog();
    if (window.ansicht != nullptr) {
        if (auto size = window.ansicht->fenstermasse()) {
            // After a layout that went wrong the stored geometry is dropped,
            // so that the next start opens at the design size.
            const bool drop = window.layout.geometrie_verwerfen;
            registry_schreiben("Administration", "fwidth", drop ? "" : std::to_string(size->breite));
            registry_schreiben("Administration", "fheigth", drop ? "" : std::to_string(size->hoehe));
            registry_schreiben("Administration", "pwidth", drop ? "" : std::to_string(size->baumbreite));
        }
    }
    const std::string profile = current_profile_name();
    registry_schreiben("LastSession", "profile", profile);
    registry_schreiben("LastSession", "startpath", window.basisverzeichnis);
    zuletzt_speichern(window);
    registry_schreiben("LastSession", "imgcontrol", window.kontrollbild ? "1" : "0");
    AbwahlSpeichern(window.baum, window.basisverzeichnis, profile);
}

void startdialog_entladen() { script_objekt_freigeben(); }

bool anordnung_gueltig(const Anordnung& a) {
    for (const Rechteck* r : {&a.rahmen_gesamt, &a.basisverzeichnis, &a.cloneverzeichnis, &a.baum, &a.splitter,
                              &a.status, &a.logging, &a.statuszeile, &a.gesamtfortschritt})
        if (r->breite < 0 || r->hoehe < 0) return false;
    return true;
}

Anordnung startdialog_anordnen(Startdialog& window, int32_t fensterbreite, int32_t fensterhoehe,
                               int32_t client_breite, int32_t client_hoehe) {
    window.titel = window.basistitel;
    // The window system keeps the window's minimum size in the finished program.
    Anordnung a = anordnen(window.layout, fensterbreite, fensterhoehe, client_breite, client_hoehe,
                           !kompiliert_laeuft());
    if (!anordnung_gueltig(a)) {
        // A window too small for its design is no reason to end the program
        // or to drop the administration values (the language is among them):
        // the controls shrink to nothing, and the geometry that led here is
        // not stored again.
        if (!window.layout.geometrie_verwerfen)
            log_line("Startdialog ErrDialogResize " + std::to_string(fensterbreite) + ":" + std::to_string(fensterhoehe));
        window.layout.geometrie_verwerfen = true;
        for (Rechteck* r : {&a.rahmen_gesamt, &a.basisverzeichnis, &a.cloneverzeichnis, &a.baum, &a.splitter,
                            &a.status, &a.logging, &a.statuszeile, &a.gesamtfortschritt}) {
            r->breite = std::max(r->breite, 0);
            r->hoehe = std::max(r->hoehe, 0);
        }
        window.layout.anordnung = a;
    }
    return a;
}

void kontrollbild_umschalten(Startdialog& window) {
    window.kontrollbild = !window.kontrollbild;
    // Switched on during a run, the box keeps the picture it shows until the
    // next one arrives.
    if (window.ansicht != nullptr && (!window.kontrollbild || !window.RunInProgress))
        window.ansicht->kontrollbild_leeren();
}

void baum_klick(Startdialog& window, int64_t node) {
    AuswahlKnoten* clicked = window.baum.find(node);
    if (clicked == nullptr) return;
    window.baum.click(*clicked);
    window.gesamtfortschritt.Text(AuswahlTextSetzen(window.baum.directory_count, window.baum.picture_count));
    show_view();
}

void baum_taste(Startdialog& window, int key_code) {
    if (key_code != kTasteF5) return;
    AuswahlBaumAufbauen(window, DirectoryLevel);
    show_view();
}

void hauptfenster_prozent_zeigen(int32_t percent) {
    Startdialog& window = startdialog();
    if (window.minimiert) window.titel = std::to_string(percent) + "% - " + window.basistitel;
}

}  // namespace galvora
