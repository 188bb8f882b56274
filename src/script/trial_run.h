#pragma once
// Compiles a template (and optionally a module) on a freshly reset engine,
// runs it into the text buffer and reports what came out. Used by the tests
// and by anything that wants to try a script without a generation run.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

struct ZNSProbelauf {
    int32_t compile_code = 0;  // compile error code; nothing ran when not 0
    std::string meldung;       // fehlermeldung of the failed compile
    int32_t zeile = 0;
    int32_t position = 0;
    std::string ausgabe;       // what the template wrote
    int32_t lauf_code = 0;     // 0, or the limit that stopped the run
    int32_t errn = 0;          // ERRN_LAST after the run
    std::string errs;          // ERRS_LAST
    std::string errf;          // ERRF_LAST
    std::string rueckgabe;     // _RETURN_VALUE as the output writes it
};

// The template is compiled as "probe", the module (when not empty) as "probemodul".
ZNSProbelauf skript_probelauf(std::string_view template_text, std::string_view modul_text = {});

}  // namespace galvora
