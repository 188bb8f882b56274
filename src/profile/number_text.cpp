#include "profile/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace galvora {

std::string number_to_text(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";
    char buffer[64];
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 0).ptr;
        return std::string(buffer, end);
    }
    // Plain or exponent form as printf's %.15G gives it, always with ".":
    // the window program runs in the user's locale, whose separator may be a
    // comma, and profiles must read back in every locale.
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text(buffer, end);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

bool text_to_number(std::string_view text, double& out) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (begin == end) return false;
    std::string normal(text.substr(begin, end - begin));
    bool seen_point = false;
    for (char& c : normal) {
        if (c == ',' || c == '.') {
            if (seen_point) return false;
            seen_point = true;
            c = '.';
        }
    }
    const char* first = normal.data();
    const char* last = normal.data() + normal.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last) return false;
    if (!std::isfinite(value)) return false;
    out = value;
    return true;
}

bool text_to_int32(std::string_view text, int32_t& out) {
    double value = 0;
    if (!text_to_number(text, value)) return false;
    double rounded = std::nearbyint(value);  // default rounding mode: half to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return false;
    out = static_cast<int32_t>(rounded);
    return true;
}

}  // namespace galvora
