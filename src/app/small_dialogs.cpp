#include "app/small_dialogs.h"

#include <stdexcept>

#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/string_helpers.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kModulUngetestet = 2;

// Refusals and questions carry the window's caption as their title.
int frage(const char* fenster, int stil, const char* key, const std::vector<std::string>& argumente = {}) {
    return meldung(fenstertext(fenster, "Title"), stil, key, argumente);
}

}  // namespace

const std::vector<Designtext>& profilneu_designtexte() {
    static const std::vector<Designtext> texte = {
        {"Title", "Galvora - Neues Profil"},
        {"Name", "Name des neuen Profils"},
        {"OK", "OK"},
        {"Cancel", "Abbrechen"},
    };
    return texte;
}

const std::vector<Designtext>& modulneu_designtexte() {
    static const std::vector<Designtext> texte = {
        {"Title", "ZantoScript - Neues Modul"},
        {"Name", "Name des Moduls"},
        {"OK", "OK"},
        {"Cancel", "Abbrechen"},
    };
    return texte;
}

const std::vector<Designtext>& dateiarten_designtexte() {
    static const std::vector<Designtext> texte = {
        {"Title", "Galvora - Bild-Dateiart"},
        {"Types", "Dateiarten des Bildtyps"},
        {"OK", "OK"},
        {"Cancel", "Abbrechen"},
    };
    return texte;
}

bool ProfilNeu::ok(std::string& name) {
    name = std::string(trim_blanks(name));
    if (name.empty()) {
        frage(kProfilNeuFenster, MB_ICON_EXCLAMATION, "ErrProfileMissingName");
        return false;
    }
    if (!dateiname_gueltig(name)) {
        frage(kProfilNeuFenster, MB_ICON_EXCLAMATION, "ErrProfileInvalidCharacter");
        return false;
    }
    if (profil_per_name(name) != nullptr &&
        frage(kProfilNeuFenster, MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgProfileExist", {name}) != ID_YES)
        return false;
    profilname_ = profil_neu(name) == 1 ? name : std::string();
    return true;
}

bool ModulNeu::ok(std::string& name) {
    name = std::string(trim_blanks(name));
    if (name.empty()) {
        frage(kModulNeuFenster, MB_ICON_EXCLAMATION, "ErrModuleMissingName");
        return false;
    }
    if (module_.item(std::string_view(name)) != nullptr &&
        frage(kModulNeuFenster, MB_YESNO_STYLE | MB_ICON_QUESTION, "MsgModuleExist", {name}) != ID_YES)
        return false;
    modul_ = module_.add(name, "", kModulUngetestet);
    return true;
}

Dateiarten::Dateiarten(int eintragsnummer) : eintragsnummer_(eintragsnummer) {
    if (eintragsnummer < 0 || eintragsnummer >= kProfileEntryCount)
        throw std::out_of_range("Dateiarten: no settings entry " + std::to_string(eintragsnummer));
}

std::string Dateiarten::beschriftung() const {
    return fenstertext(kDateiartenFenster, "Types") + " " + profileintrag_beschreibung()[eintragsnummer_];
}

std::string Dateiarten::wert() const { return profilwert(eintragsnummer_); }

bool Dateiarten::ok(std::string& text) {
    if (text.empty()) {
        frage(kDateiartenFenster, MB_ICON_EXCLAMATION, "ErrMissingImageType");
        text = wert();
        return false;
    }
    if (text != wert()) profilwert_setzen(eintragsnummer_, text);
    return true;
}

}  // namespace galvora
