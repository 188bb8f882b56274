#pragma once
// The instruction machine: runs one compiled script function, and every
// function it calls, on a single value stack.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "script/function_table.h"
#include "script/value.h"

namespace galvora {

// Limits that keep a run from going on for ever or eating all memory.
struct ZNSLaufgrenzen {
    // Instructions one run may execute; 0 means no limit.
    uint64_t befehle = 500'000'000ULL;
    // Nested calls of script and built-in functions.
    int32_t aufruftiefe = 10'000;
    // Asked every `pruefabstand` instructions; true stops the run.
    std::function<bool()> abbruch_pruefen;
    uint32_t pruefabstand = 1u << 16;
};

class ZNSMaschine {
public:
    // Runs funktion with output to kanal. Returns 0, or the code of the limit
    // that stopped it (QIM_BEFEHLSGRENZE, QIM_AUFRUFTIEFE, QIM_ABGEBROCHEN,
    // QIM_SPEICHER), which is also recorded in the error variables.
    int32_t ausfuehren(int32_t kanal, const ZNSFunktionRef& funktion);

    // The i-th argument (1-based) of the current frame, or nullptr.
    ZNSWertRef arg(int32_t i) const;
    int32_t arg_anzahl() const;
    // Names of the active functions, innermost first, joined by " < "; the
    // innermost n frames are left out.
    std::string aufrufstapel(int32_t n) const;

    void stapel_push(ZNSWertRef wert);
    void stapel_push_zahl(int32_t zahl);
    void stapel_pop();
    int32_t sp() const { return static_cast<int32_t>(stapel_.size()) - 1; }

    ZNSLaufgrenzen& grenzen() { return grenzen_; }
    // Told the name of the function a run started with and the code, whenever
    // a limit or a cancel stopped the run (after the error variables are set).
    using Abbruchmelder = std::function<void(const std::string& funktion, int32_t code)>;
    void abbruchmelder_setzen(Abbruchmelder melder) { melder_ = std::move(melder); }
    const Abbruchmelder& abbruchmelder() const { return melder_; }
    // Instructions executed by the last run.
    uint64_t befehle_zuletzt() const { return befehle_zuletzt_; }

private:
    struct Slot {
        ZNSWertRef wert;
        ZNSFunktionRef funktion;
        int32_t zahl = 0;
    };

    ZNSWertRef& lokal_slot(int32_t offset);
    ZNSWertRef holen(int32_t typ, const struct ZNSAdresse& adr);
    ZNSWertRef holen_pop(int32_t typ, const struct ZNSAdresse& adr);
    void rahmen_abbauen();
    int32_t slot_zahl(int32_t index) const;
    void funktion_setzen(const ZNSFunktionRef& f);
    bool an_text_anhaengen(const struct ZNSInstruction& ins, ZNSWertRef& ergebnis, uint64_t& zaehler);
    void arg_anz_setzen(int32_t n);

    std::vector<Slot> stapel_{Slot{}};
    int32_t base_ = 0;
    int32_t pc_ = 0;
    int32_t tiefe_ = 0;
    ZNSFunktionRef funktion_;
    ZNSLaufgrenzen grenzen_;
    Abbruchmelder melder_;
    uint64_t befehle_zuletzt_ = 0;
    ZNSWertRef leer_;  // stands in for a slot outside the stack
};

// The program-wide machine.
ZNSMaschine& maschine();

int32_t ausfuehren(int32_t kanal, const ZNSFunktionRef& funktion);
ZNSWertRef arg(int32_t i);
int32_t arg_anzahl();
std::string aufrufstapel(int32_t n);

}  // namespace galvora
