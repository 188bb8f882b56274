#include "app/main_window.h"

#include <memory>

#include "app/base_directory.h"
#include "app/batch_mode.h"
#include "app/script_file.h"
#include "foundation/command_arguments.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/ole_date.h"
#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/metadata/metadata_definition.h"
#include "profile/number_text.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"

namespace galvora {

namespace {

constexpr int kSetDirSort = 28;
constexpr int kSetDirSortDirection = 29;
constexpr int kSetZantoscriptFile = 79;

// The include file whose modules are loaded, so that an unchanged setting
// does not reload it at every apply.
std::string& loaded_script_file() {
    static std::string file;
    return file;
}

int32_t int_or(const std::string& text, int32_t fallback) {
    int32_t value = 0;
    return text_to_int32(text, value) ? value : fallback;
}

bool number_is_one(const std::string& text) {
    double value = 0;
    return text_to_number(text, value) && value == 1.0;
}

}  // namespace

int32_t DirectoryLevel = 0;
int32_t DirSortKind = 1;
int32_t DirSortDirection = 0;

Startdialog& startdialog() {
    static Startdialog window;
    return window;
}

void laufzustand_aus_profil() {
    if (number_is_one(setting_text(kSetGenerateHtml))) {
        DirSortKind = int_or(setting_text(kSetDirSort), 1);
        DirSortDirection = int_or(setting_text(kSetDirSortDirection), 0);
    } else {
        DirSortKind = 1;
        DirSortDirection = 0;
    }
    const std::string& file = setting_text(kSetZantoscriptFile);
    if (file == loaded_script_file()) return;
    loaded_script_file() = file;
    ScriptFileModules().clear();
    ScriptFileModules().verändert_reset();
    if (!file.empty() && verzeichnis_existiert(file, 1)) ZNSLoad(file);
}

void profilzustand_anmelden() {
    profile_hooks().options_dialog_reload = laufzustand_aus_profil;
    loaded_script_file().clear();
}

void startdialog_laden(CommandArguments* arguments) {
    Startdialog& window = startdialog();
    log_line("Startdialog LOAD START");
    log_line("Startdialog LOAD Metadata");
    LoadMetadataDefinition();
    window.RunInProgress = false;

    registry_schreiben("Administration", "version", std::to_string(program_major()) + "." + std::to_string(program_minor()));
    const double now = ole_now();
    const std::string stamp = datum_text(now) + " " + zeit_text(now);
    for (const char* section : {"Administration", "LastSession", "ProfilesLastData"})
        registry_schreiben(section, "lastuseddatetime", stamp);
    if (registry_lesen("LastSession", "userprofiledir", "").empty()) {
        const std::string folder = benutzerprofilordner();
        registry_schreiben("LastSession", "userprofiledir", folder);
        try {
            MakeFullDir(folder);
        } catch (const std::exception&) {
            // The folder is made again when the first user profile is saved.
        }
    }

    zuletzt_laden(window);
    window.basisverzeichnis.clear();
    window.basisverzeichnis_tag.clear();
    window.cloneverzeichnis.clear();

    std::string base;
    if (arguments != nullptr && arguments->count() > 0) {
        std::unique_ptr<CommandArguments> owned(arguments);
        base = batch_vorbereiten(window, owned);
    } else {
        delete arguments;
        log_line("Startdialog LOAD Inquire Profiles");
        profile_auflisten();
        DirectoryLevel = int_or(setting_text(kSetDirLevel), 0);
        const std::string start = registry_lesen("LastSession", "startpath", "/");
        base = start;
        if (number_is_one(registry_lesen("LastSession", "profilelastbasedir", "0"))) {
            auto profile = aktuelles_profil();
            base = registry_lesen("ProfilesLastData", profile ? profile->Name() : "", start);
        }
        log_line("Startdialog STARTPATH " + base);
        window.kontrollbild = number_is_one(registry_lesen("LastSession", "imgcontrol", "1"));
    }

    if (!BasisverzeichnisSetzen(window, base))
        meldung(program_title(), MB_ICON_INFORMATION, "ErrBasedirNotAvailable", {base});
    log_line("Startdialog LOAD END");
}

void startdialog_schliessen() {
    Startdialog& window = startdialog();
    auto profile = aktuelles_profil();
    registry_schreiben("LastSession", "profile", profile ? profile->Name() : "");
    registry_schreiben("LastSession", "startpath", window.basisverzeichnis);
    zuletzt_speichern(window);
    registry_schreiben("LastSession", "imgcontrol", window.kontrollbild ? "1" : "0");
    AbwahlSpeichern(window.baum, window.basisverzeichnis, profile ? profile->Name() : "");
}

}  // namespace galvora
