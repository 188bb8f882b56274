#pragma once
// Conversions the built-ins share: a value as the text `string` gives, texts
// read as numbers and dates, and numbers written with a number pattern.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/value.h"

namespace galvora::builtins {

// The text of a value as `string` writes it: integers as digits, doubles with
// "0.0##############" and ".", symbols as their lower-case name without "@",
// strings unchanged, dates with the language's date-time pattern. nullopt for
// undefined values and arrays.
std::optional<std::string> als_string_text(const ZNSVariable& v);

// A text read as a number: digits with at most one "." and an optional
// exponent, nothing else (no sign, no blanks). nullopt when it is no number.
std::optional<double> text_als_zahl(std::string_view text);

// The number a value holds, taken by value whatever its type: integers and
// doubles as they are, a symbol as its number (@LEADING is 15), a date as
// its day count, a text as integer() reads it ("" is 0; a sign or anything
// else that is no number gives nullopt). nullopt for undefined values and
// arrays.
std::optional<double> wert_als_zahl(const ZNSVariable& v);

// A text read as a date ("15.03.2023", "15.03.2023 18:00:00", "2023-03-15",
// "2023-03-15 18:00", "18:00:00"); nullopt when it is no valid date.
std::optional<double> text_als_datum(std::string_view text);

// The number written with a number pattern of "0" and "#" digits, an optional
// "." and literal characters ("\m" or plain): "0.0", "0.00\m\m", "0.0#".
// Rounds half away from zero; "." is the decimal point whatever the locale.
std::string zahl_mit_muster(double v, std::string_view muster);

}  // namespace galvora::builtins
