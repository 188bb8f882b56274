#pragma once
// Conversion, truth, and the operators of the script language. Every routine
// leaves its operands unchanged and writes only the result value.
#include <cstdint>
#include <string>
#include <vector>

#include "script/value.h"

namespace galvora {

// Symmetric table of the common type of two operand types (0 to 5).
class ZNSTypTabelle {
public:
    void typtabelle_dimensionieren(int32_t von, int32_t bis);
    void typtabelle_setzen(int32_t a, int32_t b, int32_t t);
    // 0 when either type lies outside the table.
    int32_t inq(int32_t a, int32_t b) const;

private:
    int32_t von_ = 0;
    int32_t bis_ = -1;
    std::vector<int32_t> eintraege_;
};

// The operands of a two-operand operation brought to their common type t.
struct ZNSAngeglichen {
    int32_t t = 0;
    ZNSWert va;
    ZNSWert vb;
};
ZNSAngeglichen typ_angleichen(const ZNSVariable& a, const ZNSVariable& b);

bool ist_wahr(const ZNSVariable& v);
bool ist_zahl(const ZNSVariable& v);
// "integer", "double", "symbol", "string", "date" or "unknown".
std::string typ_name(const ZNSVariable& v);

// Number to text for the string promotion: integers as digits; doubles in the
// general format with up to 15 significant digits; "." whatever the locale.
std::string zahl_zu_text(int32_t v);
std::string zahl_zu_text(double v);
// A double as the output writes it: pattern "0.0##############".
std::string double_ausgabe_text(double v);
// Text of a value as the output writes it ("" for undefined values).
std::string ausgabe_text(const ZNSVariable& v);
// A value promoted to text (type 4 conversion).
std::string als_text_angeglichen(const ZNSVariable& v);

void op_addieren(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_subtrahieren(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_multiplizieren(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_dividieren(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_modulo(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_bit_und(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_bit_oder(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_bit_xor(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_gleich(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_ungleich(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_kleiner_gleich(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_kleiner(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_groesser_gleich(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_groesser(ZNSVariable& result, const ZNSVariable& a, const ZNSVariable& b);
void op_negieren(ZNSVariable& result, const ZNSVariable& a);
void op_bit_nicht(ZNSVariable& result, const ZNSVariable& a);
void op_nicht(ZNSVariable& result, const ZNSVariable& a);

// Longest text an operator builds; a longer result is @ERROR, so a script
// that doubles a text in a loop cannot exhaust memory.
inline constexpr size_t max_textlaenge = size_t{64} << 20;

// Rounds to the nearest integer, halves to the even neighbour; false when the
// result does not fit 32 bits (or the value is not finite).
bool runden_bankers(double v, int32_t& ergebnis);

// Writes the value to the machine's current output channel.
void ausgabe(const ZNSVariable& v);

}  // namespace galvora
