#pragma once
// The program-wide collections of the current profile. The objects live for
// the whole run and are refilled in place (never replaced), so references
// that option pages keep stay valid.
#include "profile/clone_effect_list.h"
#include "profile/script_modules.h"

namespace galvora {

ZNModule& ProfileModules();        // working script modules of the profile
ZNModule& LoadedProfileModules();  // script modules as read or last accepted
ZNModule& ScriptFileModules();     // modules of the loaded script file
CCloneEffekte& WorkingCloneEffects();
CCloneEffekte& LoadedCloneEffects();

}  // namespace galvora
