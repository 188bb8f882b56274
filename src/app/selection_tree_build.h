#pragma once
// Builds the selection tree from the base directory at the directory level.
#include <cstdint>

namespace galvora {

struct Startdialog;

// Rebuilds the whole tree: the picture directories below the base directory
// with their counts, unticked as the deselection file says, then the
// pictures of the nodes and the summary line. A failing oracle compile keeps
// the previous tree.
void AuswahlBaumAufbauen(Startdialog& window, int32_t level);

}  // namespace galvora
