#pragma once
// Shared set-up of the script tests: the built-in German texts as the current
// language (compile and run-time messages come from there) and a fresh engine.
#include <gtest/gtest.h>

#include "foundation/language.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/value_memory.h"

namespace galvora::testing {

inline void deutsch_waehlen() {
    static bool fertig = false;
    if (fertig) return;
    fertig = true;
    deutsche_texte_anlegen();
    sprache_waehlen("de");
}

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        deutsch_waehlen();
        script_objekt_anlegen();
        maschine().grenzen() = ZNSLaufgrenzen{};
    }
    void TearDown() override { maschine().grenzen() = ZNSLaufgrenzen{}; }
};

// Sets the limit of the script value memory to what is in use now plus
// spielraum bytes, and puts the old limit back at the end of the scope.
class Speichergrenze {
public:
    explicit Speichergrenze(size_t spielraum) : alt_(wertspeicher_grenze()) {
        wertspeicher_grenze() = wertspeicher_belegt() + spielraum;
    }
    ~Speichergrenze() { wertspeicher_grenze() = alt_; }
    Speichergrenze(const Speichergrenze&) = delete;
    Speichergrenze& operator=(const Speichergrenze&) = delete;

private:
    size_t alt_;
};

}  // namespace galvora::testing
