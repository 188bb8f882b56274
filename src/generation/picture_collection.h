#pragma once
// Phase 9 of a run: every chosen directory's pictures are counted into the
// run total, put into their final order and given the names of their clone
// and thumbnail. Directories without pictures leave the run here, so that no
// page or link is made for them; the run then keeps the running picture totals
// of the directories that stay.
namespace galvora {

struct Laufzustand;

void bilder_zusammenstellen(Laufzustand& run);

}  // namespace galvora
