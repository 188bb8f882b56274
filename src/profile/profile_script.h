#pragma once
// How the profile operations reach the script engine: a fresh engine with the
// predefined variables, and the compile check of one module. A hook of
// ProfileHooks that is set takes the place of the engine call.
#include <cstdint>
#include <string>

namespace galvora {

// Creates or resets the script engine, then lets the generation engine create
// its predefined variables.
void script_engine_frisch();

// Compiles the module's text by itself and removes its functions again;
// returns the compiler's result (0 without error).
int32_t modul_pruefen(const std::string& name, const std::string& text);

}  // namespace galvora
