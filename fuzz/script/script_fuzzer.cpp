// libFuzzer target: arbitrary bytes compiled as a template and as a module;
// whatever compiles is run into the discard channel under a small instruction
// budget and call depth. Built-ins that reach files, databases or the user
// are taken out, so a generated script cannot touch this machine.
#include <chrono>
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
using Uhr = std::chrono::steady_clock;

// Start of the current input: the instruction budget does not bound the time
// of instructions that copy texts of many megabytes, so the runs of one input
// are also stopped after a while, the way the user's cancel button stops them.
Uhr::time_point laufbeginn;

void einrichten() {
    deutsche_texte_anlegen();
    sprache_waehlen("de");
    script_objekt_anlegen();
    for (const char* name : {"qim_read", "qim_write", "qim_exist", "qim_input", "qim_dbread", "qim_dirinfo",
                             "qim_imageinfo"}) {
        ZNSInterneFunktionen::registrierung_entfernen(name);
    }
    ZNSLaufgrenzen& g = maschine().grenzen();
    g.befehle = 20'000;
    g.aufruftiefe = 200;
    g.pruefabstand = 64;
    g.abbruch_pruefen = [] { return Uhr::now() - laufbeginn > std::chrono::seconds(2); };
    // Arrays stop growing well before the fuzzer's memory limit: a few
    // instructions can double an array that holds itself.
    ZNSArray::elemente_grenze() = size_t{1} << 20;
    // Texts too: an input that doubles a text or fills an array with long
    // ones is meant to reach the memory limit, and at 16 MB it reaches it
    // within milliseconds, however busy the machine, instead of copying texts
    // of hundreds of megabytes towards the per-input timeout.
    wertspeicher_grenze() = size_t{16} << 20;
}

// Runs every script function the compile left in the table, without arguments.
void alle_ausfuehren() {
    std::vector<ZNSFunktionRef> funktionen;
    for (const auto& f : zns()->fkt_oba) {
        if (f->typ == FKT_SKRIPT) funktionen.push_back(f);
    }
    for (const auto& f : funktionen) {
        ausfuehren(0, f);
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
    laufbeginn = Uhr::now();
    for (int32_t modus : {0, 1}) {
        script_objekt_anlegen();
        if (uebersetze(0, modus, modus == 0 ? "vorlage" : "modul", text) == 0) alle_ausfuehren();
        (void)fehlermeldung();
    }
    ausgabe_puffer.clear();
    return 0;
}
