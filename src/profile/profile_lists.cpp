#include "profile/profile_lists.h"

#include "profile/profile_hooks.h"

namespace galvora {

ZNModule& ProfileModules() {
    static ZNModule list;
    return list;
}

ZNModule& LoadedProfileModules() {
    static ZNModule list;
    return list;
}

ZNModule& ScriptFileModules() {
    static ZNModule list;
    return list;
}

CCloneEffekte& WorkingCloneEffects() {
    static CCloneEffekte list;
    return list;
}

CCloneEffekte& LoadedCloneEffects() {
    static CCloneEffekte list;
    return list;
}

ProfileHooks& profile_hooks() {
    static ProfileHooks hooks;
    return hooks;
}

}  // namespace galvora
