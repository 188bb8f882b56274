#pragma once
// The host of the picture and run built-ins, or a silent failure when none is
// installed (no picture, no run).
#include "script/builtins/builtin_frame.h"
#include "script/builtins/builtin_host.h"

namespace galvora::builtins {

inline BuiltinHost& host() {
    BuiltinHost* h = builtin_host();
    if (!h) still();
    return *h;
}

}  // namespace galvora::builtins
