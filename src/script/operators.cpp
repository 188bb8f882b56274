#include "script/operators.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "foundation/language.h"
#include "script/date_text.h"
#include "script/engine.h"

namespace galvora {

// ------------------------------------------------------------- type table

void ZNSTypTabelle::typtabelle_dimensionieren(int32_t von, int32_t bis) {
    von_ = von;
    bis_ = bis;
    size_t n = bis >= von ? static_cast<size_t>(bis - von + 1) : 0;
    eintraege_.assign(n * n, 0);
}

void ZNSTypTabelle::typtabelle_setzen(int32_t a, int32_t b, int32_t t) {
    if (a < von_ || a > bis_ || b < von_ || b > bis_) return;
    size_t n = static_cast<size_t>(bis_ - von_ + 1);
    eintraege_[static_cast<size_t>(a - von_) * n + static_cast<size_t>(b - von_)] = t;
    eintraege_[static_cast<size_t>(b - von_) * n + static_cast<size_t>(a - von_)] = t;
}

int32_t ZNSTypTabelle::inq(int32_t a, int32_t b) const {
    if (a < von_ || a > bis_ || b < von_ || b > bis_) return 0;
    size_t n = static_cast<size_t>(bis_ - von_ + 1);
    return eintraege_[static_cast<size_t>(a - von_) * n + static_cast<size_t>(b - von_)];
}

// ------------------------------------------------------------- number text

std::string zahl_zu_text(int32_t v) {
    char puffer[16];
    auto r = std::to_chars(puffer, puffer + sizeof puffer, v);
    return std::string(puffer, r.ptr);
}

std::string zahl_zu_text(double v) {
    if (v == 0.0) return "0";
    char puffer[64];
    auto r = std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::general, 15);
    std::string s(puffer, r.ptr);
    for (auto& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::string double_ausgabe_text(double v) {
    if (!std::isfinite(v)) return zahl_zu_text(v);
    char puffer[400];
    auto r = std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::fixed, 15);
    std::string s(puffer, r.ptr);
    // At most 15 places, trailing zeros dropped down to one place.
    size_t punkt = s.find('.');
    if (punkt == std::string::npos) return s + ".0";
    size_t ende = s.size();
    while (ende > punkt + 2 && s[ende - 1] == '0') --ende;
    s.resize(ende);
    if (s == "-0.0") s = "0.0";
    return s;
}

namespace {

ZNS& engine() { return *zns(); }

std::string symbol_name(int32_t nummer) { return zns() ? engine().const_oba.e_name(nummer) : std::string(); }

std::string datum_text(double serial) { return ole_datum_formatieren(serial, format_datum_zeit); }

void auf_fehler(ZNSVariable& r) { engine().sym_fehler->copy(r); }
void auf_wahrheit(ZNSVariable& r, bool w) { (w ? engine().sym_wahr : engine().sym_falsch)->copy(r); }

double als_zahl(const ZNSWert& w) {
    if (auto p = std::get_if<double>(&w)) return *p;
    if (auto p = std::get_if<int32_t>(&w)) return *p;
    return 0.0;
}
int32_t als_int(const ZNSWert& w) {
    if (auto p = std::get_if<int32_t>(&w)) return *p;
    return 0;
}
const std::string& als_str(const ZNSWert& w) {
    static const std::string leer;
    if (auto p = std::get_if<std::string>(&w)) return *p;
    return leer;
}

// A double result that is no longer a finite number is an error.
void double_setzen(ZNSVariable& r, int32_t t, double v) {
    if (!std::isfinite(v)) return auf_fehler(r);
    r.typ = t;
    r.wert = v;
}

// Integer results that leave 32 bits are errors; dates take part only in + and -.
template <typename Ganz, typename Gleit>
void arithmetik(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b, bool mit_datum, Ganz ganz, Gleit gleit) {
    auto g = typ_angleichen(a, b);
    if (g.t == TYP_INTEGER) {
        int32_t z;
        if (ganz(als_int(g.va), als_int(g.vb), &z)) return auf_fehler(r);
        r.typ = g.t;
        r.wert = z;
    } else if (g.t == TYP_DOUBLE || (mit_datum && g.t == TYP_DATUM)) {
        double_setzen(r, g.t, gleit(als_zahl(g.va), als_zahl(g.vb)));
    } else {
        auf_fehler(r);
    }
}

}  // namespace

std::string als_text_angeglichen(const ZNSVariable& x) {
    switch (x.typ) {
    case TYP_INTEGER: return zahl_zu_text(x.als_integer());
    case TYP_DOUBLE: return zahl_zu_text(x.als_double());
    case TYP_SYMBOL: return symbol_name(x.als_integer());
    case TYP_DATUM: return datum_text(x.als_double());
    case TYP_STRING: return x.als_text();
    default: return std::string();
    }
}

bool ist_zahl(const ZNSVariable& v) { return v.typ == TYP_INTEGER || v.typ == TYP_DOUBLE; }

std::string typ_name(const ZNSVariable& v) {
    ZNS& e = engine();
    switch (v.typ) {
    case TYP_INTEGER: return e.sym_int->bezeichner;
    case TYP_DOUBLE: return e.sym_double->bezeichner;
    case TYP_SYMBOL: return e.sym_enum->bezeichner;
    case TYP_STRING: return e.sym_string->bezeichner;
    case TYP_DATUM: return e.sym_date->bezeichner;
    default: return e.sym_unbekannt->bezeichner;
    }
}

ZNSAngeglichen typ_angleichen(const ZNSVariable& a, const ZNSVariable& b) {
    const int32_t t = engine().typtabelle.inq(a.typ, b.typ);
    auto umwandeln = [t](const ZNSVariable& x) -> ZNSWert {
        switch (t) {
        case TYP_INTEGER: return x.als_integer();
        case TYP_DOUBLE: return x.als_double();
        case TYP_SYMBOL:
            if (x.typ == TYP_SYMBOL) return x.als_integer();
            return typ_name(x);
        case TYP_STRING: return als_text_angeglichen(x);
        case TYP_DATUM: return x.als_double();
        default: return std::string();
        }
    };
    return ZNSAngeglichen{t, umwandeln(a), umwandeln(b)};
}

bool ist_wahr(const ZNSVariable& v) {
    switch (v.typ) {
    case TYP_INTEGER: return v.als_integer() != 0;
    case TYP_DOUBLE: return v.als_double() != 0.0;
    case TYP_SYMBOL: return v.als_integer() == SYM_TRUE;
    default: return false;
    }
}

bool runden_bankers(double v, int32_t& ergebnis) {
    if (!std::isfinite(v)) return false;
    double r = std::nearbyint(v);  // the default rounding mode goes to the even neighbour
    if (std::fabs(v - std::trunc(v)) == 0.5) {
        double unten = std::floor(v);
        r = std::fmod(unten, 2.0) == 0.0 ? unten : unten + 1.0;
    }
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    ergebnis = static_cast<int32_t>(r);
    return true;
}

// ------------------------------------------------------------- arithmetic

void op_addieren(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    // Text concatenation: the length is known before anything is copied, so a
    // sum past the longest text is refused without being made, and the sum
    // is made in one block of its own size. The longest text is a limit of
    // the script memory like any other: reaching it stops the run, also
    // inside a loop that would have ended on its own.
    if (engine().typtabelle.inq(a.typ, b.typ) == TYP_STRING) {
        std::string umgewandelt_a, umgewandelt_b;
        const std::string& ta = a.typ == TYP_STRING ? a.als_text() : (umgewandelt_a = als_text_angeglichen(a));
        const std::string& tb = b.typ == TYP_STRING ? b.als_text() : (umgewandelt_b = als_text_angeglichen(b));
        if (ta.size() + tb.size() > max_textlaenge) throw ZNSSpeichergrenze();
        wertspeicher_pruefen(ta.size() + tb.size());
        std::string s;
        s.reserve(ta.size() + tb.size());
        s.append(ta).append(tb);
        r.typ = TYP_STRING;
        r.wert = std::move(s);
        return;
    }
    arithmetik(r, a, b, true, [](int32_t x, int32_t y, int32_t* z) { return __builtin_add_overflow(x, y, z); },
               [](double x, double y) { return x + y; });
}

void op_subtrahieren(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    arithmetik(r, a, b, true, [](int32_t x, int32_t y, int32_t* z) { return __builtin_sub_overflow(x, y, z); },
               [](double x, double y) { return x - y; });
}

void op_multiplizieren(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    arithmetik(r, a, b, false, [](int32_t x, int32_t y, int32_t* z) { return __builtin_mul_overflow(x, y, z); },
               [](double x, double y) { return x * y; });
}

void op_dividieren(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    auto g = typ_angleichen(a, b);
    if (g.t == TYP_INTEGER) {
        int64_t x = als_int(g.va), y = als_int(g.vb);
        if (y == 0) return auf_fehler(r);
        // Quotient to the nearest integer, halves to the even neighbour.
        int64_t q = x / y, rest = x % y;
        int64_t doppelt = 2 * (rest < 0 ? -rest : rest), betrag_y = y < 0 ? -y : y;
        bool negativ = (x < 0) != (y < 0);
        if (doppelt > betrag_y || (doppelt == betrag_y && (q % 2) != 0)) q += negativ ? -1 : 1;
        if (q < std::numeric_limits<int32_t>::min() || q > std::numeric_limits<int32_t>::max())
            return auf_fehler(r);
        r.typ = g.t;
        r.wert = static_cast<int32_t>(q);
        return;
    }
    if (g.t == TYP_DOUBLE) {
        double y = als_zahl(g.vb);
        if (y == 0.0) return auf_fehler(r);
        return double_setzen(r, g.t, als_zahl(g.va) / y);
    }
    auf_fehler(r);
}

void op_modulo(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    auto g = typ_angleichen(a, b);
    if (g.t != TYP_INTEGER && g.t != TYP_DOUBLE) return auf_fehler(r);
    int32_t x, y;
    if (!runden_bankers(als_zahl(g.va), x) || !runden_bankers(als_zahl(g.vb), y) || y == 0) return auf_fehler(r);
    int32_t rest = static_cast<int32_t>(static_cast<int64_t>(x) % static_cast<int64_t>(y));
    r.typ = g.t;
    if (g.t == TYP_INTEGER) r.wert = rest; else r.wert = static_cast<double>(rest);
}

namespace {

template <typename F>
void bit_op(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b, F f) {
    auto g = typ_angleichen(a, b);
    if (g.t != TYP_INTEGER) return auf_fehler(r);
    r.typ = TYP_INTEGER;
    r.wert = f(als_int(g.va), als_int(g.vb));
}

// Compares by the common type: 1 numbers, 2 texts, 3 symbols (equality only), 0 not comparable.
template <typename Zahl, typename Text>
void vergleich(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b, bool mit_symbol, Zahl zahl, Text text) {
    auto g = typ_angleichen(a, b);
    switch (g.t) {
    case TYP_INTEGER:
    case TYP_DOUBLE:
    case TYP_DATUM: return auf_wahrheit(r, zahl(als_zahl(g.va), als_zahl(g.vb)));
    case TYP_STRING: return auf_wahrheit(r, text(als_str(g.va).compare(als_str(g.vb))));
    case TYP_SYMBOL:
        if (mit_symbol) {
            // A symbol converts to its number, anything else to its type name:
            // those never match.
            bool beide = std::holds_alternative<int32_t>(g.va) && std::holds_alternative<int32_t>(g.vb);
            int c = beide ? (als_int(g.va) == als_int(g.vb) ? 0 : 1) : 1;
            return auf_wahrheit(r, text(c));
        }
        return auf_wahrheit(r, false);
    default: return auf_wahrheit(r, false);
    }
}

}  // namespace

void op_bit_und(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    bit_op(r, a, b, [](int32_t x, int32_t y) { return x & y; });
}
void op_bit_oder(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    bit_op(r, a, b, [](int32_t x, int32_t y) { return x | y; });
}
void op_bit_xor(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    bit_op(r, a, b, [](int32_t x, int32_t y) { return x ^ y; });
}

void op_gleich(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, true, [](double x, double y) { return x == y; }, [](int c) { return c == 0; });
}
void op_ungleich(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, true, [](double x, double y) { return x != y; }, [](int c) { return c != 0; });
}
void op_kleiner_gleich(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, false, [](double x, double y) { return x <= y; }, [](int c) { return c <= 0; });
}
void op_kleiner(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, false, [](double x, double y) { return x < y; }, [](int c) { return c < 0; });
}
void op_groesser_gleich(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, false, [](double x, double y) { return x >= y; }, [](int c) { return c >= 0; });
}
void op_groesser(ZNSVariable& r, const ZNSVariable& a, const ZNSVariable& b) {
    vergleich(r, a, b, false, [](double x, double y) { return x > y; }, [](int c) { return c > 0; });
}

void op_negieren(ZNSVariable& r, const ZNSVariable& a) {
    if (a.typ == TYP_INTEGER) {
        int32_t v = a.als_integer();
        if (v == std::numeric_limits<int32_t>::min()) return auf_fehler(r);
        r.typ = TYP_INTEGER;
        r.wert = -v;
        return;
    }
    if (a.typ == TYP_DOUBLE) {
        r.typ = TYP_DOUBLE;
        r.wert = -a.als_double();
        return;
    }
    auf_fehler(r);
}

void op_bit_nicht(ZNSVariable& r, const ZNSVariable& a) {
    if (a.typ != TYP_INTEGER) return auf_fehler(r);
    r.typ = TYP_INTEGER;
    r.wert = ~a.als_integer();
}

void op_nicht(ZNSVariable& r, const ZNSVariable& a) {
    if (a.typ == TYP_INTEGER) return auf_wahrheit(r, a.als_integer() == 0);
    if (a.typ == TYP_DOUBLE) return auf_wahrheit(r, a.als_double() == 0.0);
    if (a.typ == TYP_SYMBOL) {
        int32_t s = a.als_integer();
        return auf_wahrheit(r, s == SYM_UNDEFINED || s == SYM_FALSE || s == SYM_ERROR);
    }
    auf_wahrheit(r, false);
}

std::string ausgabe_text(const ZNSVariable& v) {
    switch (v.typ) {
    case TYP_INTEGER: return zahl_zu_text(v.als_integer());
    case TYP_DOUBLE: return double_ausgabe_text(v.als_double());
    case TYP_SYMBOL: return std::string(1, '@').append(symbol_name(v.als_integer()));
    case TYP_STRING: return v.als_text();
    case TYP_DATUM: return datum_text(v.als_double());
    case TYP_ARRAY: return std::string(1, '@').append(engine().sym_array->bezeichner);
    default: return std::string();
    }
}

}  // namespace galvora
