#include "image/metadata/metadata_text.h"

#include <algorithm>

namespace galvora::metadata_text {

namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Folds ASCII and the two-byte UTF-8 letters C3 80..C3 9E / C3 A0..C3 BE.
std::string fold(std::string_view text, bool to_upper) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (to_upper && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
            if (!to_upper && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
            continue;
        }
        if (c == 0xC3 && i + 1 < out.size()) {
            unsigned char d = static_cast<unsigned char>(out[i + 1]);
            // U+00D7 and U+00F7 are signs, U+00DF and U+00FF have no one-byte partner.
            if (!to_upper && d >= 0x80 && d <= 0x9E && d != 0x97) out[i + 1] = static_cast<char>(d + 0x20);
            if (to_upper && d >= 0xA0 && d <= 0xBE && d != 0xB7) out[i + 1] = static_cast<char>(d - 0x20);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string fold_case(std::string_view text) { return fold(text, false); }
std::string upper_case(std::string_view text) { return fold(text, true); }

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && fold_case(a) == fold_case(b);
}

std::size_t ifind(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (from > haystack.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(), needle.begin(),
                          needle.end(), [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
    return it == haystack.end() ? std::string_view::npos : static_cast<std::size_t>(it - haystack.begin());
}

std::string_view trim(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view until_nul(std::string_view text) {
    auto nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace galvora::metadata_text
