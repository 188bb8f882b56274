#pragma once
// Phase 8 of a run: emptying old output where the profile asks for it,
// making the thumbnail and HTML folders, copying the decoration set, and
// fixing the navigation flags and the relative link prefixes.
#include <string>
#include <vector>

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

// True when emptying `folder` would take originals with it: it is the base
// folder, one of its parents, or holds one of the chosen picture folders or a
// picture directory that the selection left out because it lies in the output.
bool haelt_originale(const std::string& folder);

// The folders the run makes its files in, named by its settings: the
// thumbnail, page and decoration folders and, when clones are made, the clone
// folder of every chosen directory. None before a run has named its output root.
std::vector<std::string> ausgabebereiche();

// Sets up the run's record of what it writes (output_record.h) over the
// output root and the folders above, before any of them is made.
void ausgabeaufzeichnung_beginnen();

}  // namespace galvora
