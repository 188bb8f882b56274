// libFuzzer target: arbitrary bytes compiled as a template and as a module;
// whatever compiles is run into the discard channel under a small budget of
// work and call depth. Built-ins that reach files, databases or the user are
// taken out, so a generated script cannot touch this machine.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/language.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/internal_functions.h"
#include "script/machine.h"
#include "script/output.h"
#include "script/value.h"

namespace {

using namespace galvora;

// The work one input may do, counted by the machine: one for each
// instruction and one for each byte of text or array it builds. All runs of
// an input share it, so every input ends after the same amount of work
// (about a tenth of a second under the sanitizers on an idle machine), be it
// an endless loop, a text doubled without end or thousands of functions;
// no clock is asked, so a busy machine makes an input slower but never
// stops it at another place.
constexpr uint64_t kArbeitJeEingabe = 400'000;

void einrichten() {
    deutsche_texte_anlegen();
    sprache_waehlen("de");
    script_objekt_anlegen();
    for (const char* name : {"qim_read", "qim_write", "qim_exist", "qim_input", "qim_dbread", "qim_dirinfo",
                             "qim_imageinfo"}) {
        ZNSInterneFunktionen::registrierung_entfernen(name);
    }
    ZNSLaufgrenzen& g = maschine().grenzen();
    g.aufruftiefe = 200;
    // Texts and arrays meet their limits well inside the budget of work: a
    // text doubled over and over reaches the script memory limit after
    // about twice the limit in bytes built, an array its element limit after
    // as many instructions, so the inputs that are meant to reach a limit
    // reach it rather than the end of the budget.
    ZNSArray::elemente_grenze() = size_t{1} << 14;
    wertspeicher_grenze() = size_t{128} << 10;
}

// Runs every script function the compile left in the table, without
// arguments, while the input's work lasts; `rest` is what is left of it.
void alle_ausfuehren(uint64_t& rest) {
    std::vector<ZNSFunktionRef> funktionen;
    for (const auto& f : zns()->fkt_oba) {
        if (f->typ == FKT_SKRIPT) funktionen.push_back(f);
    }
    for (const auto& f : funktionen) {
        if (rest == 0) return;  // a budget of 0 would mean no limit
        maschine().grenzen().befehle = rest;
        ausfuehren(0, f);
        rest -= std::min(rest, maschine().befehle_zuletzt());
        if (!zns()) return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    einrichten();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint64_t rest = kArbeitJeEingabe;
    for (int32_t modus : {0, 1}) {
        script_objekt_anlegen();
        if (uebersetze(0, modus, modus == 0 ? "vorlage" : "modul", text) == 0) alle_ausfuehren(rest);
        (void)fehlermeldung();
    }
    ausgabe_puffer.clear();
    return 0;
}
