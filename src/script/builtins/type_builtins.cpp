// type, integer, double, string, symbol, date, convert, remove and clear.
#include <cstdlib>

#include "foundation/string_helpers.h"
#include "script/builtins/builtin_frame.h"
#include "script/builtins/value_conversion.h"
#include "script/operators.h"

namespace galvora::builtins {

namespace {

// The number in a value of type integer, double or string, for integer() and
// double(); a date or a text that is no number fails silently.
double zahl_aus_wert(const ZNSVariable& x) {
    switch (x.typ) {
    case TYP_INTEGER: return x.als_integer();
    case TYP_DOUBLE: return x.als_double();
    case TYP_DATUM: still();
    case TYP_STRING: {
        auto v = wert_als_zahl(x);
        if (!v) still();
        return *v;
    }
    default: melden(QIM_ARGUMENTTYP);
    }
}

void typ_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    ZNS& e = a.engine();
    switch (a.arg(1).typ) {
    case TYP_INTEGER: return a.symbol_kopieren(e.sym_int);
    case TYP_DOUBLE: return a.symbol_kopieren(e.sym_double);
    case TYP_SYMBOL: return a.symbol_kopieren(e.sym_enum);
    case TYP_STRING: return a.symbol_kopieren(e.sym_string);
    case TYP_DATUM: return a.symbol_kopieren(e.sym_date);
    case TYP_ARRAY: return a.symbol_kopieren(e.sym_array);
    default: return a.symbol_kopieren(e.sym_unbekannt);
    }
}

void integer_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    a.result().set_integer(runden_oder_still(zahl_aus_wert(a.arg(1))));
}

void double_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    a.result().set_double(zahl_aus_wert(a.arg(1)));
}

void string_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    auto t = als_string_text(a.arg(1));
    if (!t) melden(QIM_ARGUMENTTYP);
    a.result().set_string(std::move(*t));
}

void symbol_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const ZNSVariable& x = a.arg(1);
    if (x.typ == TYP_SYMBOL) return x.copy(a.result());
    if (x.typ != TYP_STRING) melden(QIM_ARGUMENTTYP);
    a.engine().const_oba.e_alloc(x.als_text())->copy(a.result());
}

void date_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const ZNSVariable& x = a.arg(1);
    switch (x.typ) {
    case TYP_DATUM: a.result().set_datum(x.als_double()); return;
    case TYP_INTEGER:
    case TYP_DOUBLE: still();  // numbers are not dates
    case TYP_STRING: {
        auto d = text_als_datum(x.als_text());
        if (!d) still();
        a.result().set_datum(*d);
        return;
    }
    default: melden(QIM_ARGUMENTTYP);
    }
}

void convert_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    ZNS& e = a.engine();
    const ZNSVariable& b = a.arg(2);
    int32_t basis = 0;
    if (b.typ == TYP_INTEGER) {
        basis = b.als_integer();
        if (basis < 2 || basis > 36) melden(QIM_ARGUMENT);
    } else if (b.typ == TYP_SYMBOL) {
        if (a.ist_symbol(2, e.sym_bin)) basis = 2;
        else if (a.ist_symbol(2, e.sym_oct)) basis = 8;
        else if (a.ist_symbol(2, e.sym_hex)) basis = 16;
        else still();
    } else {
        melden(QIM_ARGUMENTTYP);
    }
    // The value is converted by value, whatever its type: a symbol gives its
    // number (convert(@TRUE, 10) is "2"), a date its day count.
    const std::optional<double> wert = wert_als_zahl(a.arg(1));
    if (!wert) still();
    int32_t n = runden_oder_still(*wert);
    // Negative numbers are written as a sign and the digits of their size.
    long long betrag = std::llabs(static_cast<long long>(n));
    a.result().set_string((n < 0 ? "-" : "") + zahl_zur_basis(betrag, basis));
}

void remove_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    const ZNSVariable& feld = a.arg(1);
    if (feld.typ != TYP_ARRAY) melden(QIM_ARGUMENTTYP);
    const ZNSVariable& welches = a.arg(2);
    ZNSIndex index;
    if (welches.typ == TYP_INTEGER) index = ZNSIndex::pos(welches.als_integer());
    else if (welches.typ == TYP_STRING) index = ZNSIndex::key(welches.als_text());
    else melden(QIM_ARGUMENTTYP);
    feld.copy(a.result());
    a.result().als_array()->remove(index);
}

void clear_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    if (a.arg(1).typ != TYP_ARRAY) melden(QIM_ARGUMENTTYP);
    a.result().set_array();
}

}  // namespace

void typ_builtins_registrieren() {
    eingebaut("type", typ_);
    eingebaut("integer", integer_);
    eingebaut("double", double_);
    eingebaut("string", string_);
    eingebaut("symbol", symbol_);
    eingebaut("date", date_);
    eingebaut("convert", convert_);
    eingebaut("remove", remove_);
    eingebaut("clear", clear_);
}

}  // namespace galvora::builtins
