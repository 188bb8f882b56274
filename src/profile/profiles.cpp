#include "profile/profiles.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "foundation/file_helpers.h"
#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "profile/profile_file.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profile_script.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

struct ProfileState {
    ZNProfile list;
    std::shared_ptr<ZNProfil> current;
    std::shared_ptr<ZNProfil> default_profile;
};

ProfileState& state() {
    static ProfileState s;
    return s;
}

std::string default_profile_name() { return inq("Global", "ProfileDefaultname"); }

// Adds every "*.qvp" of the folder in the order the file system gives them.
void list_folder(const std::filesystem::path& folder, int32_t art, std::string_view log_text) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) return;
        const auto& path = it->path();
        // Only files the reader can open again as <name>.qvp.
        if (path.extension() != ".qvp") continue;
        std::error_code type_ec;
        if (it->is_directory(type_ec)) continue;
        const std::string name = path.stem().string();
        log_line(std::string(log_text) + (folder / name).string());
        state().list.add(art, name, folder.string());
    }
}

bool anything_changed() {
    return ProfileModules().verändert() || profil_geaendert || WorkingCloneEffects().verändert();
}

std::string current_name() {
    auto profile = aktuelles_profil();
    return profile ? profile->Name() : std::string();
}

}  // namespace

// ---------------------------------------------------------------- ZNProfile

std::shared_ptr<ZNProfil> ZNProfile::add(int32_t art, std::string_view name, std::string_view path) {
    std::shared_ptr<ZNProfil> profile;
    for (auto it = profiles_.begin(); it != profiles_.end(); ++it) {
        if (utf8_equal_nocase((*it)->Name(), name)) {
            profile = *it;
            profiles_.erase(it);
            break;
        }
    }
    if (!profile) profile = std::make_shared<ZNProfil>(art, std::string(name), std::string(path));
    profile->art(art);
    profile->Name(name);
    profile->path(path);
    profiles_.push_back(profile);
    return profile;
}

std::shared_ptr<ZNProfil> ZNProfile::item(long position) const {
    if (position < 1 || position > count()) return nullptr;
    return profiles_[static_cast<size_t>(position - 1)];
}

std::shared_ptr<ZNProfil> ZNProfile::item(std::string_view name) const {
    for (const auto& profile : profiles_) {
        if (utf8_equal_nocase(profile->Name(), name)) return profile;
    }
    return nullptr;
}

// ---------------------------------------------------------------- state

ZNProfile& profilliste() { return state().list; }

std::shared_ptr<ZNProfil> profil_per_name(std::string_view name) { return state().list.item(name); }

std::shared_ptr<ZNProfil> standardprofil() {
    auto& s = state();
    if (!s.default_profile) s.default_profile = std::make_shared<ZNProfil>(kProfileDefault, default_profile_name(), "");
    return s.default_profile;
}

std::shared_ptr<ZNProfil> aktuelles_profil() {
    auto& s = state();
    return s.current ? s.current : standardprofil();
}

void set_aktuelles_profil(std::shared_ptr<ZNProfil> profile) { state().current = std::move(profile); }

std::string benutzerprofilordner() { return registry_lesen("LastSession", "userprofiledir", ""); }

std::string standard_benutzerprofilordner() {
    return (std::filesystem::path(spezialordner_pfad(26)) / "profiles").string();
}

// ---------------------------------------------------------------- operations

void profile_auflisten() {
    auto& s = state();
    s.list = ZNProfile();
    s.default_profile = s.list.add(kProfileDefault, default_profile_name(), "");

    list_folder(program_folder() / "profiles", kProfileSystem, "Add SYSTEM Profile ");
    // No folder set (the main window writes the default at its start): no
    // user profiles.
    if (const std::string user = benutzerprofilordner(); !user.empty())
        list_folder(user, kProfileUser, "Add USER Profile ");

    s.current = nullptr;
    std::shared_ptr<ZNProfil> last;
    const std::string last_name = registry_lesen("LastSession", "profile", "");
    if (!last_name.empty()) last = s.list.item(last_name);
    profil_laden(last);
}

void profil_laden(std::shared_ptr<ZNProfil> profile) {
    set_aktuelles_profil(profile ? std::move(profile) : standardprofil());
    profil_lesen();
    profil_anwenden();
}

void profil_anwenden() {
    Profileinstellungen() = geladene_Profileinstellungen();

    script_engine_frisch();

    LoadedProfileModules().clone(ProfileModules());
    // Each module is compiled on its own as a check; its functions do not stay.
    for (const auto& module : ProfileModules()) {
        const int32_t result = modul_pruefen(module->Name(), module->inhalt());
        module->status(result != 0 ? kModuleCompileError : kModuleCompiled);
    }

    LoadedCloneEffects().clone(WorkingCloneEffects());
    const auto& hooks = profile_hooks();
    if (hooks.options_dialog_reload) hooks.options_dialog_reload();

    profil_geaendert = false;
    ProfileModules().verändert_reset();
    WorkingCloneEffects().verändert_reset();
}

void profilaenderungen_uebernehmen() {
    if (!anything_changed()) return;
    geladene_Profileinstellungen() = Profileinstellungen();
    ProfileModules().clone(LoadedProfileModules());
    WorkingCloneEffects().clone(LoadedCloneEffects());
    profil_ungespeichert = true;
    profil_geaendert = false;
    ProfileModules().verändert_reset();
    WorkingCloneEffects().verändert_reset();
}

int profilaenderungen_verwerfen_fragen() {
    if (!anything_changed()) return ID_YES;
    const int answer = meldung(program_title(), MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgProfileChangesReject",
                               {current_name()});
    if (answer != ID_YES) return ID_NO;
    profil_anwenden();
    return ID_YES;
}

int profilaenderungen_speichern_fragen() {
    int result = 1;
    if (ScriptFileModules().verändert()) {
        const int answer = meldung(program_title(), MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgZNSChangesReject");
        if (answer != ID_YES) return 2;
        result = ID_YES;
    }
    if (LoadedProfileModules().verändert() || profil_ungespeichert) {
        result = meldung(program_title(), MB_YESNOCANCEL_STYLE | MB_ICON_QUESTION, "MsgProfileChangesSave",
                         {current_name()});
        if (result == ID_YES) result = profil_speichern();
    }
    if (result == 1) {
        profil_ungespeichert = false;
        profil_geaendert = false;
        LoadedProfileModules().verändert_reset();
        ProfileModules().verändert_reset();
    }
    return result;
}

int profil_neu(std::string_view name) {
    // The name becomes a file name in the user's folder; one that could reach
    // outside it is refused here too, not only by the dialog that asks for it.
    if (!dateiname_gueltig(name)) {
        meldung(profil_titel_speichern(), MB_ICON_EXCLAMATION,
                name.empty() ? "ErrProfileMissingName" : "ErrProfileInvalidCharacter");
        return 2;
    }
    auto previous = aktuelles_profil();
    profilaenderungen_uebernehmen();
    set_aktuelles_profil(std::make_shared<ZNProfil>(kProfileUser, std::string(name), benutzerprofilordner()));
    const int result = profil_speichern();
    if (result != 1) {
        set_aktuelles_profil(previous);
    } else {
        profile_auflisten();
    }
    return result;
}

int profil_loeschen() {
    auto profile = aktuelles_profil();
    const std::string& title = profil_titel_loeschen();
    if (!profile || profile->art() == kProfileDefault) {
        meldung(title, MB_ICON_EXCLAMATION, "ErrProfileDefaultDelete");
        return 2;
    }
    const std::string file = profildatei(profile->path(), profile->Name());
    std::error_code ec;
    if (!std::filesystem::remove(file, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
        meldung(title, MB_ICON_EXCLAMATION, "ErrProfileProfileDelete", {std::to_string(error_number_from_system(ec)), file});
        return 2;
    }
    profile_auflisten();
    profil_geaendert = false;
    ProfileModules().verändert_reset();
    return 1;
}

int profilwert_per_name_setzen(std::string_view name, std::string& value) {
    bool before = false;
    bool after = false;
    while (name.starts_with('$')) {
        name.remove_prefix(1);
        before = true;
    }
    while (name.ends_with('$')) {
        name.remove_suffix(1);
        after = true;
    }
    auto& table = geladene_Profileinstellungen();
    for (size_t i = 0; i < table.size(); ++i) {
        auto& entry = table[i];
        if (entry.key.empty() || !utf8_equal_nocase(entry.key, name)) continue;
        if (before) value = value + entry.value;
        if (after) value = entry.value + value;
        entry.value = value;
        return static_cast<int>(i);
    }
    return -1;
}

}  // namespace galvora
