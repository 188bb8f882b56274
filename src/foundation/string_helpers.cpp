#include "foundation/string_helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/percent_encoding.h"

namespace galvora {

std::string bis_nullzeichen(std::string_view text) {
    const auto nul = text.find('\0');
    return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

// --- UTF-8 ------------------------------------------------------------------

namespace {

// Length of the valid UTF-8 sequence at text[i], 0 when the byte there does
// not start one.
std::size_t sequence_length(std::string_view text, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Calls f(code point, byte offset, byte length) for every character.
template <class F>
void for_each_char(std::string_view text, F&& f) {
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        std::size_t len = sequence_length(text, i, cp);
        if (len == 0) {
            cp = 0xDC00 + static_cast<unsigned char>(text[i]);
            len = 1;
        }
        f(cp, i, len);
        i += len;
    }
}

bool is_raw_byte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

}  // namespace

void utf8_append(std::string& out, char32_t c) {
    if (is_raw_byte(c)) {
        out.push_back(static_cast<char>(c - 0xDC00));
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        utf8_append(out, 0xFFFD);
    }
}

std::u32string utf8_decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for_each_char(text, [&](char32_t c, std::size_t, std::size_t) { out.push_back(c); });
    return out;
}

std::string utf8_encode(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) utf8_append(out, c);
    return out;
}

std::size_t utf8_length(std::string_view text) {
    std::size_t n = 0;
    for_each_char(text, [&](char32_t, std::size_t, std::size_t) { ++n; });
    return n;
}

std::string utf8_substr(std::string_view text, std::size_t start, std::size_t count) {
    std::size_t index = 0;
    std::size_t from = text.size();
    std::size_t to = text.size();
    for_each_char(text, [&](char32_t, std::size_t offset, std::size_t) {
        if (index == start) from = offset;
        if (count != std::string_view::npos && index == start + count && from != text.size()) {
            if (to == text.size()) to = offset;
        }
        ++index;
    });
    if (from >= text.size()) return {};
    return std::string(text.substr(from, to - from));
}

char32_t char_to_lower(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x130) return U'i';
    if (c >= 0x100 && c <= 0x137) return (c % 2 == 0) ? c + 1 : c;
    if (c >= 0x139 && c <= 0x148) return (c % 2 == 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return (c % 2 == 0) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return (c % 2 == 1) ? c + 1 : c;
    // Greek
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    // Cyrillic
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

char32_t char_to_upper(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return U'I';
    if (c >= 0x101 && c <= 0x137) return (c % 2 == 1) ? c - 1 : c;
    if (c >= 0x13A && c <= 0x148) return (c % 2 == 0) ? c - 1 : c;
    if (c >= 0x14B && c <= 0x177) return (c % 2 == 1) ? c - 1 : c;
    if (c >= 0x17A && c <= 0x17E) return (c % 2 == 0) ? c - 1 : c;
    // Greek (final sigma becomes the capital sigma)
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9) return c - 32;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 37;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 63;
    // Cyrillic
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

namespace {

template <class Map>
std::string map_chars(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for_each_char(text, [&](char32_t c, std::size_t offset, std::size_t len) {
        const char32_t m = map(c);
        if (m == c) {
            out.append(text.substr(offset, len));
        } else {
            utf8_append(out, m);
        }
    });
    return out;
}

}  // namespace

std::string utf8_to_lower(std::string_view text) { return map_chars(text, char_to_lower); }
std::string utf8_to_upper(std::string_view text) { return map_chars(text, char_to_upper); }

int utf8_compare_nocase(std::string_view a, std::string_view b) {
    const std::u32string la = utf8_decode(a);
    const std::u32string lb = utf8_decode(b);
    const std::size_t n = std::min(la.size(), lb.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t ca = char_to_lower(la[i]);
        const char32_t cb = char_to_lower(lb[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (la.size() == lb.size()) return 0;
    return la.size() < lb.size() ? -1 : 1;
}

bool utf8_equal_nocase(std::string_view a, std::string_view b) { return utf8_compare_nocase(a, b) == 0; }

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// --- natural order ----------------------------------------------------------

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view next_run(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const bool digits = is_digit(text[pos]);
    while (pos < text.size() && is_digit(text[pos]) == digits) ++pos;
    return text.substr(start, pos - start);
}

}  // namespace

int natuerlich_vergleichen(std::string_view a, std::string_view b) {
    std::size_t pa = 0;
    std::size_t pb = 0;
    for (;;) {
        if (pa >= a.size()) return pb >= b.size() ? 0 : -1;
        if (pb >= b.size()) return 1;
        const std::string_view ra = next_run(a, pa);
        const std::string_view rb = next_run(b, pb);
        const bool da = is_digit(ra.front());
        const bool db = is_digit(rb.front());
        int result = 0;
        if (da && db) {
            // The shorter run compares as if padded with leading zeros, which
            // orders runs by value; the padding is read, not built.
            const std::size_t width = std::max(ra.size(), rb.size());
            const std::size_t pad_a = width - ra.size();
            const std::size_t pad_b = width - rb.size();
            for (std::size_t i = 0; i < width && result == 0; ++i) {
                const char ca = i < pad_a ? '0' : ra[i - pad_a];
                const char cb = i < pad_b ? '0' : rb[i - pad_b];
                if (ca != cb) result = ca < cb ? -1 : 1;
            }
        } else if (da != db) {
            result = da ? -1 : 1;
        } else {
            result = utf8_compare_nocase(ra, rb);
        }
        if (result != 0) return result;
    }
}

// --- rename mask --------------------------------------------------------------

namespace {

// Splits at ","; an empty text gives no entry at all.
std::vector<std::string> split_list(std::string_view list) {
    std::vector<std::string> parts;
    if (list.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) {
            parts.emplace_back(list.substr(start));
            return parts;
        }
        parts.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string replace_all(std::string_view text, std::string_view find, std::string_view replacement,
                        bool ignore_case) {
    if (find.empty()) return std::string(text);
    const std::u32string t = utf8_decode(text);
    const std::u32string f = utf8_decode(find);
    auto same = [&](char32_t x, char32_t y) {
        return ignore_case ? char_to_lower(x) == char_to_lower(y) : x == y;
    };
    std::string out;
    std::size_t i = 0;
    while (i < t.size()) {
        bool match = i + f.size() <= t.size();
        for (std::size_t k = 0; match && k < f.size(); ++k) match = same(t[i + k], f[k]);
        if (match) {
            out.append(replacement);
            i += f.size();
        } else {
            utf8_append(out, t[i]);
            ++i;
        }
    }
    return out;
}

std::string format_with_zeros(long number, int digits) {
    const bool negative = number < 0;
    const unsigned long magnitude =
        negative ? 0UL - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
    std::string text = std::to_string(magnitude);
    // No file name holds more than 255 characters: a larger digit count from a
    // damaged profile must not make a huge text.
    const std::size_t width = static_cast<std::size_t>(std::clamp(digits, 0, 255));
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return negative ? "-" + text : text;
}

}  // namespace

std::string umbenennungsmaske_anwenden(std::string_view mask, int digits, std::string_view find_list,
                                       std::string_view replace_list, int case_mode,
                                       std::string_view directory_text, std::string_view file_name,
                                       long number) {
    std::string name(file_name);
    if (mask.find('$') != std::string_view::npos) {
        const std::vector<std::string> finds = split_list(find_list);
        std::vector<std::string> replacements = split_list(replace_list);
        if (replacements.size() + 1 == finds.size()) replacements.emplace_back();
        if (replacements.size() == finds.size()) {
            const bool ignore_case = case_mode == 1 || case_mode == 2;
            for (std::size_t i = 0; i < finds.size(); ++i) {
                name = replace_all(name, finds[i], replacements[i], ignore_case);
            }
        }
    }
    // One pass over the mask, so inserted texts are never scanned for placeholders.
    const std::string number_text = format_with_zeros(number, digits);
    std::string result;
    for (char c : mask) {
        switch (c) {
            case '%': result.append(directory_text); break;
            case '$': result.append(name); break;
            case '#': result.append(number_text); break;
            default: result.push_back(c); break;
        }
    }
    if (case_mode == 1) return utf8_to_lower(result);
    if (case_mode == 2) return utf8_to_upper(result);
    return result;
}

// --- numbers ------------------------------------------------------------------

std::string zahl_zur_basis(long long n, int base) {
    if (base < 2 || base > 36) return {};
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const bool negative = n < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[magnitude % static_cast<unsigned>(base)]);
        magnitude /= static_cast<unsigned>(base);
    } while (magnitude > 0);
    return negative ? "-" + digits : digits;
}

std::string url_kodieren(std::string_view text) { return percent_encode(text); }

std::int32_t round_to_int32(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);  // the default rounding mode sends halves to even
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t minimum_long(std::span<const double> values) {
    if (values.empty()) return 0;
    std::int32_t result = round_to_int32(values[0]);
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] < static_cast<double>(result)) result = round_to_int32(values[i]);
    }
    return result;
}

std::int32_t maximum_long(std::span<const double> values) {
    if (values.empty()) return 0;
    std::int32_t result = round_to_int32(values[0]);
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] > static_cast<double>(result)) result = round_to_int32(values[i]);
    }
    return result;
}

double minimum_double(std::span<const double> values) {
    if (values.empty()) return 0.0;
    double result = values[0];
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] < result) result = values[i];
    }
    return result;
}

std::vector<std::string> split_trimmed_list(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        const std::string_view part = trim_blanks(text.substr(start, comma - start));
        if (!part.empty()) parts.emplace_back(part);
        start = comma + 1;
    }
    return parts;
}

}  // namespace galvora
