#pragma once
// Phase 8 of a run: emptying old output where the profile asks for it,
// making the thumbnail and HTML folders, copying the decoration set, and
// fixing the navigation flags and the relative link prefixes.
#include <string>

namespace galvora {

struct Laufzustand;

// False when a folder could not be made, a clean-up was refused or the
// decoration copy failed (each after its message): the run then skips to its
// statistics.
bool ausgabeverzeichnisse_vorbereiten(Laufzustand& run);

// True when `folder` (made or not) lies in the output root `root` once links
// are followed. Otherwise a link in the picture tree or the output would lead
// the run's files elsewhere: the folder is refused with a message and false
// is returned.
bool ausgabeordner_pruefen(const std::string& root, const std::string& folder);

}  // namespace galvora
