#pragma once
// The eleven colours of the script editor's line colouring, read from the
// registry section "Syntaxhighlighting" at start-up.
#include <array>
#include <cstdint>

namespace galvora {

inline constexpr int kSyntaxColorCount = 11;
// keyword, variable, function, number, string, string delimiter, enumeration
// symbol, operator, comment, other text, HTML text.
extern std::array<uint32_t, kSyntaxColorCount> SyntaxColors;

// Reads the colours; a value that is missing or no colour number gives the
// default of its token class.
void syntaxfarben_lesen();

}  // namespace galvora
