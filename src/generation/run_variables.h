#pragma once
// The script variables that hold for a whole run, the run references (index
// page, first and last thumbnail page) and the `_init` hook.
namespace galvora {

struct Laufzustand;

// galvora_absolute, base_absolute and clone_absolute (end of phase 7).
void laufpfade_setzen();

// thumb_dim from THUMB_SELECTED_SIDE "1" to "4"; any other text leaves it.
void thumb_dim_setzen();

// Phase 11 and 12: profile, the counts and byte totals, the hook `_init`
// (output discarded), then the index page and the first and last thumbnail
// page. `_init` sees this run's counts but the page references of the run
// before (or their first values in a program's first run).
void laufvariablen_setzen(Laufzustand& run);

}  // namespace galvora
