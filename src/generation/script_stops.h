#pragma once
// Script runs that a limit stopped (too many instructions, calls nested too
// deep, the script memory used up) or a cancel cut short: the page part or
// hook result they should have made is missing. Each is reported in the run's
// log (stderr and the log file in batch mode) and counted for the run's exit
// status.
#include <cstdint>
#include <string>

namespace galvora {

// Reports the stop of a run of `funktion` with the machine's code; the error
// variables hold its text.
void skriptabbruch_melden(const std::string& funktion, int32_t code);

// Installs the report on the program's instruction machine.
void skriptabbrueche_anmelden();

}  // namespace galvora
