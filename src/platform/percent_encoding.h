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

// The bytes behind "%" and two hexadecimal digits; anything else as it stands.
inline std::string percent_decode(std::string_view text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace galvora
