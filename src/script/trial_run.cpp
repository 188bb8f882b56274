#include "script/trial_run.h"

#include "script/compiler.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/operators.h"
#include "script/output.h"

namespace galvora {

ZNSProbelauf skript_probelauf(std::string_view template_text, std::string_view modul_text) {
    ZNSProbelauf r;
    script_objekt_anlegen();
    ZNSCompiler& c = compiler();
    auto fehler = [&r, &c] {
        r.compile_code = c.fehler_code();
        r.meldung = c.fehlermeldung();
        r.zeile = c.fehler_zeile();
        r.position = c.fehler_position();
        return r;
    };
    if (!modul_text.empty() && c.uebersetze(0, 1, "probemodul", modul_text) != 0) return fehler();
    if (c.uebersetze(0, 0, "probe", template_text) != 0) return fehler();

    ZNS& e = *zns();
    ausgabe_puffer.clear();
    r.lauf_code = ausfuehren(-1, e.fkt_oba.funktion_per_bezeichner("probe"));
    r.ausgabe = ausgabe_puffer;
    ausgabe_puffer.clear();
    r.errn = e.errn_last->als_integer();
    r.errs = e.errs_last->als_text();
    r.errf = e.errf_last->als_text();
    if (auto rv = e.gvar_oba.inq("_return_value")) r.rueckgabe = ausgabe_text(*rv);
    return r;
}

}  // namespace galvora
