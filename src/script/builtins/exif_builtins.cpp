// exif, exifcount, exiftag, exiftagname and exifcomponentcount.
#include <cmath>

#include "script/builtins/exif_arguments.h"
#include "script/builtins/host_access.h"
#include "script/builtins/value_conversion.h"
#include "script/operators.h"

namespace galvora::builtins {

ExifSektion exif_sektion(Aufruf& a, int32_t i) {
    a.symbol_arg(i);
    ZNS& e = a.engine();
    ExifSektion s;
    if (a.ist_symbol(i, e.sym_main)) s.nummer = 1;
    else if (a.ist_symbol(i, e.sym_thumbnail)) s.nummer = 2;
    else if (a.ist_symbol(i, e.sym_gps)) s.nummer = 4;
    else if (a.ist_symbol(i, e.sym_makernote)) s.nummer = 3;
    else melden(EXIF_SEKTION_UNBEKANNT);
    if (s.nummer == 3) s.makernote_code = host().bild_exifkennung();
    return s;
}

int32_t exif_tag(Aufruf& a, int32_t i, const ExifSektion& s) {
    const ZNSVariable& x = a.arg(i);
    if (x.typ == TYP_INTEGER) return x.als_integer();
    if (x.typ != TYP_STRING) melden(QIM_ARGUMENTTYP);
    const int32_t tag = host().exif_tag_suchen(s.makernote_code, s.nummer, x.als_text());
    if (tag == -1) melden(EXIF_DATEN_UNBEKANNT);
    return tag;
}

int32_t komponente_integer(const ExifKomponente& k) {
    if (auto p = std::get_if<int32_t>(&k)) return *p;
    if (auto p = std::get_if<double>(&k)) return runden_oder_still(*p);
    auto v = text_als_zahl(std::get<std::string>(k));
    if (!v) still();
    return runden_oder_still(*v);
}

double komponente_double(const ExifKomponente& k) {
    if (auto p = std::get_if<int32_t>(&k)) return *p;
    if (auto p = std::get_if<double>(&k)) return *p;
    auto v = text_als_zahl(std::get<std::string>(k));
    if (!v) still();
    return *v;
}

std::string komponente_text(const ExifKomponente& k) {
    if (auto p = std::get_if<int32_t>(&k)) return zahl_zu_text(*p);
    if (auto p = std::get_if<double>(&k)) return zahl_zu_text(*p);
    return std::get<std::string>(k);
}

namespace {

// Components 1 to 10 joined by ",", then ",...(" count ")" when there are more.
template <typename Text>
std::string verbinden(const std::vector<ExifKomponente>& k, Text text) {
    std::string out;
    for (size_t i = 0; i < k.size() && i < 10; ++i) {
        if (i) out += ',';
        out += text(k[i]);
    }
    if (k.size() > 10) out += ",...(" + std::to_string(k.size()) + ")";
    return out;
}

std::string ohne_nul(std::string s) {
    for (auto& c : s)
        if (c == '\0') c = ' ';
    return s;
}

// Reads the section of a call (tag [, index] [, section]), where a second
// argument is the section when it is a symbol; returns where the index
// stands (0: none).
int32_t sektion_und_index(Aufruf& a, ExifSektion& s) {
    if (a.anzahl() == 2) {
        if (a.arg(2).typ == TYP_SYMBOL) return s = exif_sektion(a, 2), 0;
        return 2;
    }
    if (a.anzahl() == 3) return s = exif_sektion(a, 3), 2;
    return 0;
}

void exif_(Aufruf& a) {
    a.anzahl_pruefen(0, 3);
    if (a.anzahl() == 0) return a.wahrheit(host().bild_hat_exif());
    ExifSektion s;
    const int32_t index_arg = sektion_und_index(a, s);
    const int32_t tag = exif_tag(a, 1, s);
    int32_t index = index_arg ? a.integer_arg(index_arg) : 0;
    ExifEintrag eintrag;
    if (!host().bild_exif_wert(s.nummer, tag, eintrag)) melden(EXIF_DATEN_UNBEKANNT);
    const auto& k = eintrag.komponenten;
    const int32_t n = static_cast<int32_t>(k.size());
    if (index < 0 || index > n) melden(EXIF_POSITION);
    if (n == 1 && index == 0) index = 1;
    switch (eintrag.typ) {
    case TYP_INTEGER:
        if (index >= 1) return a.result().set_integer(komponente_integer(k[static_cast<size_t>(index - 1)]));
        return a.result().set_string(verbinden(k, [](const ExifKomponente& x) { return zahl_zu_text(komponente_integer(x)); }));
    case TYP_DOUBLE:
        if (index >= 1) return a.result().set_double(komponente_double(k[static_cast<size_t>(index - 1)]));
        // Joined doubles carry "." whatever the locale.
        return a.result().set_string(verbinden(k, [](const ExifKomponente& x) { return zahl_zu_text(komponente_double(x)); }));
    case TYP_STRING:
        if (index >= 1) return a.result().set_string(ohne_nul(komponente_text(k[static_cast<size_t>(index - 1)])));
        // Several texts (the rationals of a GPS coordinate) join like numbers.
        return a.result().set_string(verbinden(k, [](const ExifKomponente& x) { return ohne_nul(komponente_text(x)); }));
    default: melden(EXIF_DATENTYP_UNBEKANNT);
    }
}

void exifcount_(Aufruf& a) {
    a.anzahl_pruefen(0, 1);
    if (a.anzahl() == 1) {
        ExifSektion s = exif_sektion(a, 1);
        return a.result().set_integer(static_cast<int32_t>(host().bild_exif_anzahl(s.nummer)));
    }
    BuiltinHost& h = host();
    int64_t summe = 0;
    for (int32_t sektion : {1, 2, 4, 3}) summe += h.bild_exif_anzahl(sektion);
    a.result().set_integer(static_cast<int32_t>(summe));
}

void exiftag_(Aufruf& a) {
    a.anzahl_pruefen(1, 2);
    const ZNSVariable& x = a.arg(1);
    if (x.typ != TYP_INTEGER && x.typ != TYP_STRING) melden(QIM_ARGUMENTTYP);
    ExifSektion s;
    if (a.anzahl() == 2) s = exif_sektion(a, 2);
    if (x.typ == TYP_STRING) return a.result().set_integer(exif_tag(a, 1, s));
    int64_t tag = 0;
    if (!host().bild_exif_nummer(s.nummer, x.als_integer(), tag)) melden(EXIF_DATEN_UNBEKANNT);
    a.result().set_integer(static_cast<int32_t>(tag));
}

void exiftagname_(Aufruf& a) {
    a.anzahl_pruefen(1, 3);
    ExifSektion s;
    const int32_t index_arg = sektion_und_index(a, s);
    const int32_t tag = exif_tag(a, 1, s);
    const int32_t index = index_arg ? a.integer_arg(index_arg) : 0;
    auto def = host().exif_definition(s.makernote_code, s.nummer, tag, index);
    if (!def || def->name.empty()) melden(EXIF_TAG_UNBEKANNT);
    a.result().set_string(def->name);
}

void exifcomponentcount_(Aufruf& a) {
    a.anzahl_pruefen(1, 2);
    ExifSektion s;
    if (a.anzahl() == 2) s = exif_sektion(a, 2);
    const int32_t tag = exif_tag(a, 1, s);
    ExifEintrag eintrag;
    if (!host().bild_exif_wert(s.nummer, tag, eintrag)) melden(EXIF_DATEN_UNBEKANNT);
    const size_t n = eintrag.komponenten.size();
    a.result().set_integer(n == 1 ? 0 : static_cast<int32_t>(n));
}

}  // namespace

void exifnice_registrieren();

void exif_builtins_registrieren() {
    eingebaut("exif", exif_);
    eingebaut("exifcount", exifcount_);
    eingebaut("exiftag", exiftag_);
    eingebaut("exiftagname", exiftagname_);
    eingebaut("exifcomponentcount", exifcomponentcount_);
    exifnice_registrieren();
}

}  // namespace galvora::builtins
