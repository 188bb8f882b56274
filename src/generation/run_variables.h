#pragma once
// The script variables that hold for a whole run, the run references (index
// page, first and last thumbnail page) and the `_init` hook.
namespace galvora {

struct Laufzustand;

// galvora_absolute, base_absolute and clone_absolute (end of phase 7).
void laufpfade_setzen();

// thumb_dim from THUMB_SELECTED_SIDE "1" to "4"; any other text leaves it.
void thumb_dim_setzen();

// Phase 11 and 12: profile, the counts and byte totals, the index page and
// the first and last thumbnail page, then the hook `_init` (output
// discarded). `_init` runs after the references, so it sees this run's
// values throughout.
void laufvariablen_setzen(Laufzustand& run);

}  // namespace galvora
