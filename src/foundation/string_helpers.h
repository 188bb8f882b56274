#pragma once
// Text helpers the whole program shares: cutting at NUL, natural order, the
// clone rename mask, numbers in base N, URL escaping, minimum and maximum, and
// UTF-8 character work (counting, slicing and letter case by character).
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

// The text before its first NUL character; the whole text when it has none.
std::string bis_nullzeichen(std::string_view text);

// Natural order: runs of digits compare by value, digits sort before other
// text, letter case is ignored. -1, 0 or 1.
int natuerlich_vergleichen(std::string_view a, std::string_view b);

// Builds a clone's file name from the mask: "%" the directory text, "$" the file
// name after the find/replace pairs, "#" the number with at least `digits`
// digits (padding stops at 255). Case mode 1 lower case, 2 upper case (both also make the find/replace
// ignore case), 0 unchanged.
std::string umbenennungsmaske_anwenden(std::string_view mask, int digits, std::string_view find_list,
                                       std::string_view replace_list, int case_mode,
                                       std::string_view directory_text, std::string_view file_name,
                                       long number);

// The digits of n in the base (2 to 36, "0"-"9" then "A"...); "" for another base.
std::string zahl_zur_basis(long long n, int base);

// Keeps A-Z, a-z, 0-9, "-", ".", "/" and "_"; every other byte of the UTF-8
// text becomes "%" and two upper-case hexadecimal digits.
std::string url_kodieren(std::string_view text);

// The first value converted, then every later value that is smaller (greater)
// than the current result; ties keep the earlier one. Conversion to 32 bits
// rounds halves to even and saturates. An empty list gives 0.
std::int32_t minimum_long(std::span<const double> values);
std::int32_t maximum_long(std::span<const double> values);
double minimum_double(std::span<const double> values);
inline std::int32_t minimum_long(std::initializer_list<double> values) {
    return minimum_long(std::span<const double>(values.begin(), values.size()));
}
inline std::int32_t maximum_long(std::initializer_list<double> values) {
    return maximum_long(std::span<const double>(values.begin(), values.size()));
}
inline double minimum_double(std::initializer_list<double> values) {
    return minimum_double(std::span<const double>(values.begin(), values.size()));
}

// A double to a 32-bit integer the way the program converts numbers: halves to
// the even neighbour, saturated at the 32-bit limits.
std::int32_t round_to_int32(double value);

// --- UTF-8 characters -------------------------------------------------------
// Bytes that are not valid UTF-8 count as one character each and are kept as
// they are by every function below.

// Decodes to code points; an invalid byte b becomes U+DC00 + b, which
// utf8_encode turns back into that byte, so decoding and encoding is lossless.
std::u32string utf8_decode(std::string_view text);
std::string utf8_encode(std::u32string_view text);
void utf8_append(std::string& out, char32_t c);

// Number of characters.
std::size_t utf8_length(std::string_view text);
// `count` characters from the 0-based character position `start` (clipped).
std::string utf8_substr(std::string_view text, std::size_t start, std::size_t count = std::string_view::npos);

// Letter case of Latin-1, Latin Extended-A, basic Greek and basic Cyrillic.
char32_t char_to_lower(char32_t c);
char32_t char_to_upper(char32_t c);
std::string utf8_to_lower(std::string_view text);
std::string utf8_to_upper(std::string_view text);
// Equal without regard to letter case.
bool utf8_equal_nocase(std::string_view a, std::string_view b);
// Compares both texts in lower case by code point: -1, 0 or 1.
int utf8_compare_nocase(std::string_view a, std::string_view b);

// Blanks (code 32) removed at both ends.
std::string_view trim_blanks(std::string_view text);

// Splits a comma-separated list, trims blanks from each entry and drops the
// empty ones ("JPG, JPEG," gives "JPG" and "JPEG").
std::vector<std::string> split_trimmed_list(std::string_view text);

}  // namespace galvora
