#pragma once
// Colouring of one script line for the editor: the line is scanned in colour
// mode and every token gets a span with its role. The editor view applies the
// spans (offsets and lengths count characters within the line, from 0).
#include <cstdint>
#include <string_view>
#include <vector>

namespace galvora {

enum class ZNSFarbe {
    keyword,
    variable,
    operator_,
    number,
    enum_,
    string,
    stringdelimiter,
    function,
    comment,
    else_,
};

struct ZNSFarbspanne {
    int32_t offset = 0;
    int32_t laenge = 0;
    ZNSFarbe rolle = ZNSFarbe::else_;
    bool operator==(const ZNSFarbspanne&) const = default;
};

// Registry value name of a role ("keyword", "variable", ... "else").
std::string_view farbname(ZNSFarbe rolle);

std::vector<ZNSFarbspanne> zeile_einfaerben(std::string_view zeile);

}  // namespace galvora
