#pragma once
// Small text helpers shared by the metadata readers and the definition file.
// Comparisons there ignore case; names may hold German letters, so the fold
// covers the Latin-1 letters of UTF-8 text as well as ASCII.
#include <cstddef>
#include <string>
#include <string_view>

namespace galvora::metadata_text {

// ASCII letters and the UTF-8 letters U+00C0..U+00DE (but the multiplication
// sign) folded to lower case; every other byte unchanged.
std::string fold_case(std::string_view text);
// The same fold to upper case.
std::string upper_case(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
// Position of needle in haystack at or after from, ignoring ASCII case;
// npos when absent. Works on raw bytes (segments hold binary data).
std::size_t ifind(std::string_view haystack, std::string_view needle, std::size_t from = 0);
inline bool icontains(std::string_view haystack, std::string_view needle) {
    return ifind(haystack, needle) != std::string_view::npos;
}
// Blanks and tabs removed at both ends.
std::string_view trim(std::string_view text);
// The text before the first zero byte.
std::string_view until_nul(std::string_view text);

}  // namespace galvora::metadata_text
