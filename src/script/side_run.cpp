#include "script/side_run.h"

#include <utility>

#include "script/engine.h"
#include "script/output.h"

namespace galvora {

ZNSNebenlauf::ZNSNebenlauf(uint64_t befehle) {
    if (zns() == nullptr) script_objekt_anlegen();
    ZNS& engine = *zns();
    funktionen_ = engine.fkt_oba.stand();
    globale_ = engine.gvar_oba.stand();
    konstanten_ = engine.const_oba;
    puffer_ = ausgabe_puffer;
    grenzen_ = maschine().grenzen();
    melder_ = maschine().abbruchmelder();
    maschine().grenzen().befehle = befehle;
    maschine().abbruchmelder_setzen(nullptr);
}

ZNSNebenlauf::~ZNSNebenlauf() {
    maschine().abbruchmelder_setzen(melder_);
    maschine().grenzen() = grenzen_;
    ausgabe_puffer = puffer_;
    if (ZNS* engine = zns()) {
        engine->fkt_oba.wiederherstellen(funktionen_);
        engine->gvar_oba.wiederherstellen(std::move(globale_));
        engine->const_oba = std::move(konstanten_);
    }
}

}  // namespace galvora
