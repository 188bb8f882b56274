// mid, index, replace, format, len, upper, lower, trim, split and urlencode.
#include <climits>
#include <cstdint>

#include "foundation/language.h"
#include "foundation/string_helpers.h"
#include "script/builtins/builtin_frame.h"
#include "script/builtins/regular_expression.h"
#include "script/builtins/value_conversion.h"
#include "script/date_text.h"

namespace galvora::builtins {

namespace {

// Byte offset to 1-based character position.
int32_t zeichenposition(std::string_view text, size_t byte) {
    return static_cast<int32_t>(utf8_length(text.substr(0, byte))) + 1;
}

void mid_(Aufruf& a) {
    a.anzahl_pruefen(2, 3);
    const std::string& text = a.string_arg(1);
    const int32_t start = a.integer_arg(2);
    int32_t laenge = -1;
    if (a.anzahl() == 3) {
        laenge = a.integer_arg(3);
        if (laenge < 0) still();
    }
    if (start < 1) still();
    const size_t n = laenge < 0 ? std::string_view::npos : static_cast<size_t>(laenge);
    textlaenge_pruefen(std::min(text.size(), n));
    a.result().set_string(utf8_substr(text, static_cast<size_t>(start) - 1, n));
}

void index_(Aufruf& a) {
    a.anzahl_pruefen(2, 3);
    ZNS& e = a.engine();
    if (a.arg(1).typ == TYP_SYMBOL) {
        if (!a.ist_symbol(1, e.sym_regexp)) melden(QIM_ARGUMENT);
        if (a.arg(2).typ != TYP_STRING) melden(QIM_ARGUMENT);
        const std::string& text = a.arg(2).als_text();
        if (a.anzahl() < 3) still();
        const std::string& muster = a.string_arg(3);
        RegulaererAusdruck re(muster, true);
        auto treffer = re.erster_treffer(text);
        a.result().set_integer(treffer ? zeichenposition(text, *treffer) : 0);
        return;
    }
    if (a.anzahl() != 2) melden(QIM_ARGUMENTANZAHL);
    const std::string& text = a.string_arg(1);
    const std::string& suche = a.string_arg(2);
    size_t p = suche.empty() ? std::string::npos : text.find(suche);
    a.result().set_integer(p == std::string::npos ? 0 : zeichenposition(text, p));
}

void replace_(Aufruf& a) {
    a.anzahl_pruefen(3, 5);
    ZNS& e = a.engine();
    if (a.arg(1).typ == TYP_SYMBOL) {
        if (!a.ist_symbol(1, e.sym_regexp)) melden(QIM_ARGUMENT);
        if (a.arg(2).typ != TYP_STRING) melden(QIM_ARGUMENT);
        const std::string& text = a.arg(2).als_text();
        const std::string& muster = a.string_arg(3);
        if (a.anzahl() < 4) still();
        const std::string& neu = a.string_arg(4);
        if (a.anzahl() == 5 && a.arg(5).typ != TYP_SYMBOL) melden(QIM_ARGUMENT);
        RegulaererAusdruck re(muster, false);
        a.result().set_string(re.ersetzen(text, neu, a.anzahl() != 5, textlaenge_pruefen));
        return;
    }
    if (a.anzahl() == 5) melden(QIM_ARGUMENTANZAHL);
    const std::string& text = a.string_arg(1);
    const std::string& suche = a.string_arg(2);
    const std::string& neu = a.string_arg(3);
    if (a.anzahl() == 4 && a.arg(4).typ != TYP_SYMBOL) melden(QIM_ARGUMENT);
    const bool nur_erstes = a.anzahl() == 4;
    if (suche.empty()) return a.result().set_string(text);
    // The result's length first: a replacement that would make a text of
    // gigabytes stops the run before any of it is built.
    size_t treffer = 0;
    for (size_t p = text.find(suche); p != std::string::npos; p = text.find(suche, p + suche.size())) {
        ++treffer;
        if (nur_erstes) break;
    }
    const size_t zuwachs = neu.size() >= suche.size() ? neu.size() - suche.size() : 0;
    if (zuwachs != 0 && treffer > (SIZE_MAX - text.size()) / zuwachs) throw ZNSSpeichergrenze();
    textlaenge_pruefen(text.size() + treffer * zuwachs);
    std::string out;
    out.reserve(text.size() + treffer * zuwachs);
    size_t pos = 0;
    while (true) {
        size_t p = text.find(suche, pos);
        if (p == std::string::npos) break;
        out.append(text, pos, p - pos);
        out += neu;
        pos = p + suche.size();
        if (nur_erstes) break;
    }
    out.append(text, pos, std::string::npos);
    a.result().set_string(std::move(out));
}

// The text of one format field's value; nullopt for an undefined value or an array.
std::optional<std::string> format_wert(const ZNSVariable& v, int32_t genauigkeit) {
    switch (v.typ) {
    case TYP_INTEGER:
    case TYP_DOUBLE: {
        std::string muster = "0";
        if (genauigkeit > 0) muster += "." + std::string(static_cast<size_t>(genauigkeit), '0');
        return zahl_mit_muster(v.als_double(), muster);
    }
    case TYP_SYMBOL: return "@" + zns()->const_oba.e_name(v.als_integer());
    case TYP_STRING: return v.als_text();
    case TYP_DATUM: return ole_datum_formatieren(v.als_double(), format_datum_zeit);
    default: return std::nullopt;
    }
}

void format_(Aufruf& a) {
    a.anzahl_pruefen(1, INT32_MAX);
    const std::string& muster = a.string_arg(1);
    std::string out;
    int32_t naechster = 2;
    const size_t n = muster.size();
    size_t i = 0;
    while (i < n) {
        if (muster[i] != '%') {
            out += muster[i++];
            continue;
        }
        // Fields of up to 32767 blanks each: a long pattern of them is
        // measured as it grows.
        textlaenge_pruefen(out.size() + 2);
        ++i;
        if (i < n && muster[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        if (i < n && muster[i] == '\\') {
            out += "\r\n";
            ++i;
            continue;
        }
        int64_t breite = 0, genauigkeit = 0;
        bool links = false, punkt = false;
        while (i < n) {
            char c = muster[i];
            if (c == '-') {
                links = true;
            } else if (c >= '0' && c <= '9') {
                int64_t& ziel = punkt ? genauigkeit : breite;
                ziel = std::min<int64_t>(ziel * 10 + (c - '0'), INT32_MAX);
            } else if (c == '.') {
                punkt = true;
            } else if (c == '!') {
                ++i;
                break;
            } else if (c == '\\') {
                out += c;
            } else {
                break;
            }
            ++i;
        }
        if (naechster > a.anzahl()) continue;  // no value left: the field writes nothing
        if (breite > 32767) still();
        // Far more places than a double holds only add zeros; keep them bounded.
        if (genauigkeit > 340) genauigkeit = 340;
        // An undefined value or an array fills its field with blanks.
        std::string text = format_wert(a.arg(naechster++), static_cast<int32_t>(genauigkeit)).value_or("");
        const size_t feld = breite == 0 ? 1 : static_cast<size_t>(breite);
        const size_t laenge = utf8_length(text);
        textlaenge_pruefen(out.size() + text.size() + (laenge >= feld ? 0 : feld - laenge));
        if (laenge >= feld) out += text;
        else if (links) out += text + std::string(feld - laenge, ' ');
        else out += std::string(feld - laenge, ' ') + text;
    }
    a.result().set_string(std::move(out));
}

void len_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    a.result().set_integer(static_cast<int32_t>(utf8_length(a.string_arg(1))));
}

void upper_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    textlaenge_pruefen(a.string_arg(1).size());
    a.result().set_string(utf8_to_upper(a.string_arg(1)));
}

void lower_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    textlaenge_pruefen(a.string_arg(1).size());
    a.result().set_string(utf8_to_lower(a.string_arg(1)));
}

void trim_(Aufruf& a) {
    a.anzahl_pruefen(1, 2);
    ZNS& e = a.engine();
    bool vorne = true, hinten = true;
    if (a.anzahl() == 2) {
        // The side is compared by value with the symbols' numbers, before the
        // text's type is tested: 15 is @LEADING as much as the symbol is.
        const std::optional<double> seite = wert_als_zahl(a.arg(2));
        if (seite == symbol_nummer(e.sym_leading)) hinten = false;
        else if (seite == symbol_nummer(e.sym_trailing)) vorne = false;
        else if (seite != symbol_nummer(e.sym_both)) melden(QIM_ARGUMENT);
    }
    std::string_view t = a.string_arg(1);
    if (vorne) t.remove_prefix(std::min(t.find_first_not_of(' '), t.size()));
    if (hinten) {
        size_t letzte = t.find_last_not_of(' ');
        t = letzte == std::string_view::npos ? std::string_view() : t.substr(0, letzte + 1);
    }
    textlaenge_pruefen(t.size());
    a.result().set_string(std::string(t));
}

void split_(Aufruf& a) {
    a.anzahl_pruefen(3, 3);
    const std::string& text = a.string_arg(1);
    const std::string& trenner = a.string_arg(2);
    const int32_t nummer = a.integer_arg(3);
    if (nummer < 1) melden(QIM_ARGUMENT);
    if (text.empty()) return a.leer();
    // The delimiter matches without regard to letter case, character by
    // character, on two copies of the text of four bytes a character.
    textlaenge_pruefen(text.size() * 8);
    const std::u32string t = utf8_decode(text), d = utf8_decode(trenner);
    std::u32string tk = t, dk = d;
    for (auto& c : tk) c = char_to_lower(c);
    for (auto& c : dk) c = char_to_lower(c);
    size_t anfang = 0;
    int32_t stueck = 1;
    while (true) {
        size_t p = dk.empty() ? std::u32string::npos : tk.find(dk, anfang);
        if (stueck == nummer) {
            const size_t ende = p == std::u32string::npos ? t.size() : p;
            return a.result().set_string(std::string(trim_blanks(utf8_encode(t.substr(anfang, ende - anfang)))));
        }
        if (p == std::u32string::npos) return a.leer();
        anfang = p + dk.size();
        ++stueck;
    }
}

void urlencode_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    textlaenge_pruefen(a.string_arg(1).size() * 3);
    a.result().set_string(url_kodieren(a.string_arg(1)));
}

}  // namespace

void text_builtins_registrieren() {
    eingebaut("mid", mid_);
    eingebaut("index", index_);
    eingebaut("replace", replace_);
    eingebaut("format", format_);
    eingebaut("len", len_);
    eingebaut("upper", upper_);
    eingebaut("lower", lower_);
    eingebaut("trim", trim_);
    eingebaut("split", split_);
    eingebaut("urlencode", urlencode_);
}

}  // namespace galvora::builtins
