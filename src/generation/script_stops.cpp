#include "generation/script_stops.h"

#include "generation/run_port.h"
#include "generation/run_state.h"
#include "script/engine.h"
#include "script/machine.h"

namespace galvora {

void skriptabbruch_melden(const std::string& funktion, int32_t code) {
    ZNS* engine = zns();
    std::string text = engine != nullptr ? engine->errs_last->als_text() : std::string();
    if (text.empty()) text = "(" + std::to_string(code) + ")";
    run_port().log_line("ZantoScript " + funktion + ": " + text);
    // Scripts of the run's own scan (the oracle) stop before the run has set
    // up its state; their count joins the run's when it starts.
    if (laufzustand().aktiv) {
        ++laufzustand().Skriptfehler;
    } else {
        ++lauf_auftrag().skriptfehler_vorab;
    }
}

void skriptabbrueche_anmelden() { maschine().abbruchmelder_setzen(skriptabbruch_melden); }

}  // namespace galvora
