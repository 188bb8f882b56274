#include "profile/profile_script.h"

#include "profile/profile_hooks.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

void script_engine_frisch() {
    const auto& hooks = profile_hooks();
    if (hooks.script_engine_reset) {
        hooks.script_engine_reset();
    } else {
        script_objekt_anlegen();
    }
    if (hooks.script_variables_create) hooks.script_variables_create();
}

int32_t modul_pruefen(const std::string& name, const std::string& text) {
    const auto& hooks = profile_hooks();
    // Channel 0 discards output; mode 1 compiles a module.
    const int32_t result = hooks.compile_module ? hooks.compile_module(name, text) : uebersetze(0, 1, name, text);
    if (hooks.remove_script_functions) {
        hooks.remove_script_functions();
    } else if (ZNS* engine = zns()) {
        engine->fkt_oba.lösche_ausser_intern();
    }
    return result;
}

}  // namespace galvora
