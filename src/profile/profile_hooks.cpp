#include "profile/profile_hooks.h"

namespace galvora {

ProfileHooks& profile_hooks() {
    static ProfileHooks hooks;
    return hooks;
}

}  // namespace galvora
