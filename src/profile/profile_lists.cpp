#include "profile/profile_lists.h"

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

}  // namespace galvora
