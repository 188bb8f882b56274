#include "app/about_box.h"

#include "foundation/program_info.h"
#include "platform/launcher.h"
#include "platform/os_info.h"

namespace galvora {

const std::vector<Designtext>& inform_designtexte() {
    static const std::vector<Designtext> texte = {
        {"Title", "Informationen zu Galvora"},
        {"Component", "Komponente"},
        {"Version", "Version"},
        {"Email", "Email:"},
        {"Update", "Update?"},
        {"OK", "OK"},
    };
    return texte;
}

std::string versionszeile() {
    std::string zeile = "Version " + version_kurz(programmversion());
    const std::string beschreibung = dateibeschreibung();
    if (!beschreibung.empty()) zeile += " " + beschreibung;
    return zeile;
}

Komponentenzeile systemzeile(const OperatingSystem& system) {
    const std::string& kern = system.ToString();
    std::string name = kern.substr(0, kern.find(' '));
    if (name.empty()) name = "Linux";
    return {name, system.Name() + " (" + std::to_string(system.Major()) + "." + std::to_string(system.Minor()) + "." +
                      std::to_string(system.Revision()) + ")"};
}

std::vector<Komponentenzeile> komponentenzeilen(const OperatingSystem& system, const Bibliotheksversion& toolkit) {
    std::vector<Komponentenzeile> zeilen{systemzeile(system)};
    const std::vector<Bibliotheksversion> system_teile = systemkomponenten();
    // The C library first: it stands where the program's runtime library stood.
    auto teil = system_teile.begin();
    if (teil != system_teile.end()) zeilen.push_back({teil->first, teil->second}), ++teil;
    if (!toolkit.first.empty()) zeilen.push_back({toolkit.first, toolkit.second});
    for (; teil != system_teile.end(); ++teil) zeilen.push_back({teil->first, teil->second});
    zeilen.push_back({"", ""});
    for (const auto& [name, version] : bildbibliotheken()) zeilen.push_back({name, version});
    return zeilen;
}

std::string homepage_adresse() { return "https://www.example.org/galvora/"; }

std::string mail_adresse() { return "galvora@example.org"; }

bool homepage_oeffnen() { return launcher_oeffnen(homepage_adresse()); }

bool mail_oeffnen() { return launcher_oeffnen("mailto:" + mail_adresse()); }

}  // namespace galvora
