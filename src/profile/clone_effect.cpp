#include "profile/clone_effect.h"

#include "foundation/error.h"

namespace galvora {

void CCloneEffekt::throw_type_mismatch() {
    throw GalvoraError(13, "CCloneEffekt:clone", "Type mismatch");
}

}  // namespace galvora
