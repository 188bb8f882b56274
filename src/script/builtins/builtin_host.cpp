#include "script/builtins/builtin_host.h"

namespace galvora {

namespace {
BuiltinHost* aktueller_host = nullptr;
}

void set_builtin_host(BuiltinHost* host) { aktueller_host = host; }
BuiltinHost* builtin_host() { return aktueller_host; }

}  // namespace galvora
