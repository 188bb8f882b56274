#pragma once
// Scripts run on the side of everything else, as a preview runs them: while
// a ZNSNebenlauf lives, a script the machine runs stops after a few
// instructions and its stop is told to no one (it is no run's script
// error); when it ends, the engine's functions, its global variables and
// their values, its constants and symbols, the text buffer and the
// machine's limits are as they were when it began. What the preview compiled, reserved or set is gone, so a
// later run, syntax test or preview finds the engine as it left it.
#include <cstdint>
#include <string>

#include "script/constant_pool.h"
#include "script/function_table.h"
#include "script/machine.h"

namespace galvora {

class ZNSNebenlauf {
public:
    // Makes the engine when there is none.
    explicit ZNSNebenlauf(uint64_t befehle);
    ~ZNSNebenlauf();
    ZNSNebenlauf(const ZNSNebenlauf&) = delete;
    ZNSNebenlauf& operator=(const ZNSNebenlauf&) = delete;

private:
    ZNSFunktionArray::Stand funktionen_;
    ZNSGlobaleVariableArray::Stand globale_;
    ZNSKonstanteArray konstanten_;
    std::string puffer_;
    ZNSLaufgrenzen grenzen_;
    ZNSMaschine::Abbruchmelder melder_;
};

}  // namespace galvora
