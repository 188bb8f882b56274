#pragma once
// Numbers as the profile stores them: always "." as decimal point when
// written; "." and, for old profiles, "," accepted when read.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

// The general text form: an integral value without decimals ("2", "-7"),
// otherwise up to 15 significant digits ("0.5", "1.25E-07").
std::string number_to_text(double value);

// A decimal number with optional sign, "." or "," as decimal point and
// optional exponent; blanks around it are allowed. False for anything else.
bool text_to_number(std::string_view text, double& out);

// As text_to_number, rounded half to even into a 32-bit integer; false when
// the text is not numeric or the value does not fit.
bool text_to_int32(std::string_view text, int32_t& out);

}  // namespace galvora
