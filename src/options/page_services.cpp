#include "options/page_services.h"

#include <optional>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/string_helpers.h"
#include "platform/ui_port.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

// A text of the current language, or the German words when the language does
// not know the key.
std::string text_or(std::string_view section, std::string_view key, std::string_view german) {
    const std::string text = inq(section, key);
    return text.starts_with('?') ? std::string(german) : text;
}

// The stand-ins ask once; a refused name shows its message and counts as
// cancelled, so a port that always gives the same answer cannot loop.
std::string ask_new_profile() {
    const std::optional<std::string> answer =
        ui_port().input_box(text_or("ProfilNeu", "Name", "Name des neuen Profils"), "");
    if (!answer) return {};
    const std::string name(trim_blanks(*answer));
    if (name.empty() || !dateiname_gueltig(name)) {
        meldung(program_title(), MB_ICON_EXCLAMATION,
                name.empty() ? "ErrProfileMissingName" : "ErrProfileInvalidCharacter");
        return {};
    }
    if (profil_per_name(name) != nullptr &&
        meldung(program_title(), MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgProfileExist", {name}) != ID_YES)
        return {};
    return profil_neu(name) == 1 ? name : std::string();
}

std::shared_ptr<ZNModul> ask_new_module(ZNModule& modules) {
    const std::optional<std::string> answer = ui_port().input_box(text_or("modulneu", "Name", "Name des Moduls"), "");
    if (!answer) return nullptr;
    const std::string name(trim_blanks(*answer));
    if (name.empty()) {
        meldung(program_title(), MB_ICON_EXCLAMATION, "ErrModuleMissingName");
        return nullptr;
    }
    if (modules.item(name) != nullptr &&
        meldung(program_title(), MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgModuleExist", {name}) != ID_YES)
        return nullptr;
    return modules.add(name, "", kModuleNotCompiled);
}

void ask_extensions(int entry) {
    check_profile_index(entry, "Dateiarten");
    const std::string prompt = text_or("Dateiarten", "Label", "Dateiarten des Bildtyps") + " " +
                               profileintrag_beschreibung()[static_cast<size_t>(entry)];
    const std::optional<std::string> answer = ui_port().input_box(prompt, profilwert(entry));
    if (!answer) return;
    if (answer->empty()) {
        meldung(program_title(), MB_ICON_EXCLAMATION, "ErrMissingImageType");
        return;
    }
    profilwert_setzen(entry, *answer);
}

PageServices stand_ins() {
    PageServices services;
    services.profil_neu = ask_new_profile;
    services.modul_neu = ask_new_module;
    services.dateiarten = ask_extensions;
    services.help_topic = [](const std::string&) {};
    services.main_window_language = [] {};
    return services;
}

}  // namespace

PageServices& page_services() {
    static PageServices services = stand_ins();
    return services;
}

void page_services_reset() { page_services() = stand_ins(); }

}  // namespace galvora
