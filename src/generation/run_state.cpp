#include "generation/run_state.h"

namespace galvora {

LaufAuftrag& lauf_auftrag() {
    static LaufAuftrag auftrag;
    return auftrag;
}

Laufzustand& laufzustand() {
    static Laufzustand zustand;
    return zustand;
}

std::string seitennummer_text(int32_t number, const std::string& mask) {
    std::string digits = std::to_string(number < 0 ? -static_cast<int64_t>(number) : number);
    if (digits.size() < mask.size()) digits.insert(0, mask.size() - digits.size(), '0');
    return number < 0 ? "-" + digits : digits;
}

}  // namespace galvora
