#pragma once
// Phase 8 of a run: emptying old output where the profile asks for it,
// making the thumbnail and HTML folders, copying the decoration set, and
// fixing the navigation flags and the relative link prefixes.
namespace galvora {

struct Laufzustand;

// False when a folder could not be made, a clean-up was refused or the
// decoration copy failed (each after its message): the run then skips to its
// statistics.
bool ausgabeverzeichnisse_vorbereiten(Laufzustand& run);

}  // namespace galvora
