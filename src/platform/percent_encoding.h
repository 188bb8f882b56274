#pragma once
// Percent-encoding of bytes: the letters A-Z and a-z, the digits, "-", ".",
// "/", "_" and the given extra characters stay; every other byte becomes "%"
// and two upper-case hexadecimal digits.
#include <string>
#include <string_view>

namespace galvora {

inline std::string percent_encode(std::string_view bytes, std::string_view also_keep = {}) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '.' || c == '/' || c == '_' ||
                          (c != 0 && also_keep.find(ch) != std::string_view::npos);
        if (keep) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

}  // namespace galvora
