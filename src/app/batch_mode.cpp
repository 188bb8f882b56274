#include "app/batch_mode.h"

#include <filesystem>
#include <system_error>

#include "app/main_window.h"
#include "foundation/command_arguments.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "generation/settings_access.h"
#include "profile/number_text.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"

namespace galvora {

bool batch_kommandozeile_fehlerhaft = false;

namespace {

void batch_message(const char* key, const std::vector<std::string>& arguments = {}) {
    meldung(program_title(), MB_ICON_EXCLAMATION, key, arguments);
}

bool control_image_word(const std::string& value) {
    for (const char* word : {"1", "T", "W", "TRUE", "WAHR"})
        if (value == word) return true;
    return false;
}

bool default_profile_name_in_any_language(const std::string& name) {
    const std::string wanted = utf8_to_lower(name);
    for (const auto& language : sprachen())
        if (utf8_to_lower(language->inq("Global", "ProfileDefaultname")) == wanted) return true;
    return false;
}

// A relative base folder is taken from the current folder; "R1", "./R1" and
// "R1/" name the same folder.
std::string base_folder_path(const std::string& given) {
    if (given.empty()) return given;
    std::error_code ec;
    std::filesystem::path path(given);
    if (path.is_relative()) {
        const auto absolute = std::filesystem::absolute(path, ec);
        if (!ec) path = absolute;
    }
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// Applies the overrides to the loaded settings. Every switch must name a
// setting, and a setting that holds a number must get one: the first that
// does not is reported, the loaded settings stay as they were, and the
// command line counts as faulty.
bool overrides_setzen(CommandArguments& args) {
    const Profiltabelle kept = geladene_Profileinstellungen();
    for (long i = 1; i <= args.count(); ++i) {
        const std::string name = args.Switch(i).value_or("");
        std::string value = args.Argument(name).value_or("");
        const int index = profilwert_per_name_setzen(name, value);
        bool faulty = false;
        if (index < 0) {
            batch_message("ErrBatchSettingUnknown", {name});
            faulty = true;
        } else if (int32_t number = 0; setting_takes_number(index) && !text_to_int32(value, number)) {
            // Found while the window loads, before any run: the message says so.
            fehler_melden(setting_not_a_number(geladene_Profileinstellungen()[static_cast<size_t>(index)].key, value,
                                               "Startdialog.Form_Load")
                              .info());
            faulty = true;
        }
        if (faulty) {
            geladene_Profileinstellungen() = kept;
            batch_kommandozeile_fehlerhaft = true;
            return false;
        }
    }
    return true;
}

}  // namespace

std::string batch_vorbereiten(Startdialog& window, std::unique_ptr<CommandArguments>& arguments) {
    batchmodus = true;
    batch_kommandozeile_fehlerhaft = false;
    CommandArguments& args = *arguments;

    if (auto profile = args.Argument("Profile")) {
        const bool is_default =
            utf8_to_lower(*profile) == utf8_to_lower(inq("Global", "ProfileDefaultname"));
        registry_schreiben("LastSession", "profile", is_default ? "" : *profile);
        profile_auflisten();
        auto current = aktuelles_profil();
        if (!is_default && (!current || current->art() == kProfileDefault)) {
            // A command line must not break when the user switches the
            // language: the built-in default profile answers to its name in
            // every language, unless a profile of that name exists.
            if (default_profile_name_in_any_language(*profile)) {
                registry_schreiben("LastSession", "profile", "");
            } else {
                batch_message("ErrBatchProfileCollection", {*profile});
            }
        }
        args.remove("Profile");
    } else {
        batch_message("ErrBatchProfileMissing");
        registry_schreiben("LastSession", "profile", "");
        profile_auflisten();
    }

    std::string base;
    if (auto basedir = args.Argument("Basedir")) {
        base = base_folder_path(*basedir);
        args.remove("Basedir");
    } else {
        batch_message("ErrBatchBasedirMissing");
    }

    if (auto level = args.Argument("Level")) {
        int32_t number = 0;
        if (text_to_int32(*level, number) && number >= 0 && number <= 2) {
            DirectoryLevel = number;
        } else {
            DirectoryLevel = 0;
            batch_message("ErrBatchLevel", {*level});
        }
        args.remove("Level");
    } else {
        // The level stays as it is: a batch start never takes the profile's level.
        batch_message("ErrBatchLevelMissing");
    }

    const auto control = args.Argument("Controlimage");
    window.kontrollbild = control && control_image_word(*control);
    args.remove("Controlimage");

    if (!batch_unterbrochen && args.count() > 0 && overrides_setzen(args)) profil_anwenden();
    arguments.reset();
    return base;
}

}  // namespace galvora
