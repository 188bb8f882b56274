#pragma once
// The built-in function object: the 65 built-in names in registration order
// and the dispatch from a name to its operation. The built-in library fills
// the operations in with `registrieren`; a name whose operation is missing
// takes the engine's internal-error path when called.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/value.h"

namespace galvora {

class ZNS;
class ZNSInterneFunktionen;

// A built-in: sets result (or replaces it) and returns 0.
using ZNSInterneFunktion = std::function<int32_t(ZNSInterneFunktionen& self, ZNSWertRef& result)>;

class ZNSInterneFunktionen {
public:
    void SetParent(ZNS* parent) { parent_ = parent; }
    ZNS* parent() const { return parent_; }

    // The 65 member names ("qim_type" ...) in registration order.
    static const std::vector<std::string>& members();

    // Program-wide table from member name to operation, filled by the built-in library.
    static void registrieren(std::string_view member, ZNSInterneFunktion funktion);
    static void registrierung_entfernen(std::string_view member);
    // The operation of a member, or nullptr when none is registered.
    static const ZNSInterneFunktion* suchen(std::string_view member);

private:
    ZNS* parent_ = nullptr;
};

}  // namespace galvora
