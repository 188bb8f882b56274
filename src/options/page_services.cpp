#include "options/page_services.h"

#include <optional>

#include "app/help.h"
#include "app/small_dialogs.h"
#include "platform/ui_port.h"
#include "profile/script_modules.h"

namespace galvora {

namespace {

// The stand-ins ask once through the message port's input box and apply the
// small windows' own rules to the answer; a refused answer shows its message
// and counts as cancelled, so a port that always gives the same answer cannot
// loop.
std::string ask_new_profile() {
    designtexte_aufnehmen(kProfilNeuFenster, profilneu_designtexte());
    std::optional<std::string> answer = ui_port().input_box(fenstertext(kProfilNeuFenster, "Name"), "");
    ProfilNeu dialog;
    return answer && dialog.ok(*answer) ? dialog.profilname() : std::string();
}

std::shared_ptr<ZNModul> ask_new_module(ZNModule& modules) {
    designtexte_aufnehmen(kModulNeuFenster, modulneu_designtexte());
    std::optional<std::string> answer = ui_port().input_box(fenstertext(kModulNeuFenster, "Name"), "");
    ModulNeu dialog(modules);
    return answer && dialog.ok(*answer) ? dialog.modul() : nullptr;
}

void ask_extensions(int entry) {
    designtexte_aufnehmen(kDateiartenFenster, dateiarten_designtexte());
    Dateiarten dialog(entry);
    std::optional<std::string> answer = ui_port().input_box(dialog.beschriftung(), dialog.wert());
    if (answer) dialog.ok(*answer);
}

}  // namespace

PageServices page_service_stand_ins() {
    PageServices services;
    services.profil_neu = ask_new_profile;
    services.modul_neu = ask_new_module;
    services.dateiarten = ask_extensions;
    services.help_topic = HtmlHelpTopic;
    services.main_window_language = [] {};
    return services;
}

PageServices& page_services() {
    static PageServices services = page_service_stand_ins();
    return services;
}

void page_services_reset() { page_services() = page_service_stand_ins(); }

}  // namespace galvora
