#include "generation/file_pattern.h"

#include <string>

#include "foundation/string_helpers.h"

namespace galvora {

namespace {

// One bracket list starting after "[" at position p; on return p is after "]".
// A list without its "]" is taken as the literal character "[".
bool list_matches(const std::u32string& pat, size_t& p, char32_t c, bool& well_formed) {
    size_t q = p;
    bool negate = false;
    if (q < pat.size() && pat[q] == U'!') {
        negate = true;
        ++q;
    }
    bool hit = false;
    bool first = true;
    while (q < pat.size() && (pat[q] != U']' || first)) {
        char32_t lo = pat[q];
        char32_t hi = lo;
        if (q + 2 < pat.size() && pat[q + 1] == U'-' && pat[q + 2] != U']') {
            hi = pat[q + 2];
            q += 2;
        }
        if (lo <= c && c <= hi) hit = true;
        ++q;
        first = false;
    }
    well_formed = q < pat.size();
    if (!well_formed) return c == U'[';
    p = q + 1;
    return hit != negate;
}

// One token at p (not "*") against c; next receives the position after it.
bool token_matches(const std::u32string& pat, size_t p, char32_t c, size_t& next) {
    const char32_t pc = pat[p];
    next = p + 1;
    if (pc == U'?') return true;
    if (pc == U'#') return c >= U'0' && c <= U'9';
    if (pc == U'[') {
        size_t q = p + 1;
        bool well_formed = true;
        const bool hit = list_matches(pat, q, c, well_formed);
        if (well_formed) next = q;
        return hit;
    }
    return pc == c;
}

// Every token but "*" takes exactly one character, so one remembered star
// is enough: on a mismatch the last star takes one more character. Linear in
// practice, never exponential.
bool match(const std::u32string& s, const std::u32string& pat) {
    size_t i = 0;
    size_t p = 0;
    size_t star_p = std::u32string::npos;
    size_t star_i = 0;
    while (i < s.size()) {
        if (p < pat.size() && pat[p] == U'*') {
            star_p = ++p;
            star_i = i;
            continue;
        }
        size_t next = 0;
        if (p < pat.size() && token_matches(pat, p, s[i], next)) {
            p = next;
            ++i;
            continue;
        }
        if (star_p == std::u32string::npos) return false;
        p = star_p;
        i = ++star_i;
    }
    while (p < pat.size() && pat[p] == U'*') ++p;
    return p == pat.size();
}

}  // namespace

bool muster_passt(std::string_view name, std::string_view pattern) {
    return match(utf8_decode(utf8_to_lower(name)), utf8_decode(utf8_to_lower(pattern)));
}

}  // namespace galvora
