#pragma once
// The rules of the small input windows: the name of a new profile
// ("ProfilNeu"), the name of a new script module ("modulneu") and the
// extension list of one picture type ("Dateiarten"). Each model takes what
// the user typed when OK is pressed, shows its refusals as message boxes
// titled with the window's caption, and says whether the window closes. The
// script input box ("ZNSInputForm") has no rules beyond its view.
#include <memory>
#include <string>
#include <vector>

#include "app/window_texts.h"

namespace galvora {

class ZNModul;
class ZNModule;

inline constexpr const char* kProfilNeuFenster = "ProfilNeu";
inline constexpr const char* kModulNeuFenster = "modulneu";
inline constexpr const char* kDateiartenFenster = "Dateiarten";
inline constexpr const char* kEingabeFenster = "ZNSInputForm";

const std::vector<Designtext>& profilneu_designtexte();
const std::vector<Designtext>& modulneu_designtexte();
const std::vector<Designtext>& dateiarten_designtexte();

// A new profile from the current settings.
class ProfilNeu {
public:
    // OK: `name` is the name box's text; it is trimmed of blanks at both ends
    // (the view shows the trimmed text). An empty name or one that is no
    // valid file name is refused; an existing name is created only after Yes.
    // True when the window closes.
    bool ok(std::string& name);
    // The name of the profile created, "" until one was created.
    const std::string& profilname() const { return profilname_; }

private:
    std::string profilname_;
};

// A new, empty script module in the given list.
class ModulNeu {
public:
    explicit ModulNeu(ZNModule& module) : module_(module) {}
    // OK: trims the name, refuses an empty one, asks before replacing a module
    // of that name, then adds the module with an empty text and status 2.
    bool ok(std::string& name);
    // The module created, nullptr until one was created.
    std::shared_ptr<ZNModul> modul() const { return modul_; }

private:
    ZNModule& module_;
    std::shared_ptr<ZNModul> modul_;
};

// The extension list of one picture type: settings entries 15 to 26.
class Dateiarten {
public:
    // Throws std::out_of_range for an index outside the settings table.
    explicit Dateiarten(int eintragsnummer);
    int eintragsnummer() const { return eintragsnummer_; }
    // The label with the type's name behind it ("Dateiarten des Bildtyps JPG").
    std::string beschriftung() const;
    // The entry's current value in the working settings.
    std::string wert() const;
    // OK: an empty text is refused and `text` gets the current value back;
    // otherwise a changed text is stored (which marks the profile changed)
    // and an unchanged one leaves the profile untouched. The text is stored
    // as typed. True when the window closes.
    bool ok(std::string& text);

private:
    int eintragsnummer_;
};

}  // namespace galvora
