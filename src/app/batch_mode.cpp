#include "app/batch_mode.h"

#include "app/main_window.h"
#include "foundation/command_arguments.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "generation/settings_access.h"
#include "profile/number_text.h"
#include "profile/profiles.h"

namespace galvora {

namespace {

void batch_message(const char* key, const std::vector<std::string>& arguments = {}) {
    meldung(program_title(), MB_ICON_EXCLAMATION, key, arguments);
}

bool control_image_word(const std::string& value) {
    for (const char* word : {"1", "T", "W", "TRUE", "WAHR"})
        if (value == word) return true;
    return false;
}

}  // namespace

std::string batch_vorbereiten(Startdialog& window, std::unique_ptr<CommandArguments>& arguments) {
    batchmodus = true;
    CommandArguments& args = *arguments;

    if (auto profile = args.Argument("Profile")) {
        const bool is_default =
            utf8_to_lower(*profile) == utf8_to_lower(inq("Global", "ProfileDefaultname"));
        registry_schreiben("LastSession", "profile", is_default ? "" : *profile);
        profile_auflisten();
        auto current = aktuelles_profil();
        if (!is_default && (!current || current->art() == kProfileDefault))
            batch_message("ErrBatchProfileCollection", {*profile});
        args.remove("Profile");
    } else {
        batch_message("ErrBatchProfileMissing");
        registry_schreiben("LastSession", "profile", "");
        profile_auflisten();
    }

    std::string base;
    if (auto basedir = args.Argument("Basedir")) {
        base = *basedir;
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
        batch_message("ErrBatchLevelMissing");
        // Without the switch the profile's level holds, as in a window start.
        int32_t number = 0;
        DirectoryLevel = text_to_int32(setting_text(kSetDirLevel), number) ? number : 0;
    }

    const auto control = args.Argument("Controlimage");
    window.kontrollbild = control && control_image_word(*control);
    args.remove("Controlimage");

    if (!batch_unterbrochen && args.count() > 0) {
        for (long i = 1; i <= args.count(); ++i) {
            const std::string name = args.Switch(i).value_or("");
            std::string value = args.Argument(name).value_or("");
            profilwert_per_name_setzen(name, value);
        }
        profil_anwenden();
    }
    arguments.reset();
    return base;
}

}  // namespace galvora
