// exifnice: EXIF values in the form a gallery page shows them.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "foundation/ole_date.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "script/builtins/exif_arguments.h"
#include "script/builtins/host_access.h"
#include "script/builtins/value_conversion.h"
#include "script/operators.h"

namespace galvora::builtins {

namespace {

struct Bruch {
    double zaehler = 0;
    double nenner = 1;
    double wert() const {
        if (nenner == 0) still();
        return zaehler / nenner;
    }
};

std::optional<double> lesen(std::string_view t) {
    double v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// A component as numerator and denominator; a plain number has denominator 1.
Bruch bruch(const ExifKomponente& k) {
    if (!std::holds_alternative<std::string>(k)) return {komponente_double(k), 1};
    const std::string& t = std::get<std::string>(k);
    size_t strich = t.find('/');
    auto z = lesen(std::string_view(t).substr(0, strich));
    if (!z) still();
    if (strich == std::string::npos) return {*z, 1};
    auto n = lesen(std::string_view(t).substr(strich + 1));
    if (!n) still();
    return {*z, *n};
}

double x_von(const ExifKomponente& k) { return bruch(k).wert(); }

// One character per component, the component being its code (Windows-1252).
std::string zeichen_der_bytes(const std::vector<ExifKomponente>& k) {
    std::string bytes;
    for (const auto& c : k) bytes += static_cast<char>(komponente_integer(c) & 0xFF);
    return cp1252_to_utf8(bytes);
}

const char* const ganz_muster[] = {"0", "0\\m\\m", "0\\c\\m", "0\\d\\m", "0\\m"};
const char* const bruch_muster[] = {"0.0", "0\\m\\m", "0.0\\c\\m", "0.00\\d\\m", "0.000\\m"};
bool einheit(int32_t modus) { return modus >= 10 && modus <= 14; }

// The user comment: an 8-byte character-code field, then the text.
void benutzerkommentar(Aufruf& a, const ExifEintrag& e) {
    const auto& k = e.komponenten;
    if (k.size() < 9) return;  // stays undefined
    std::string code;
    for (size_t i = 0; i < 8; ++i)
        if (int32_t b = komponente_integer(k[i]) & 0xFF) code += static_cast<char>(b);
    std::string text;
    if (utf8_equal_nocase(code, "unicode")) {
        bool big = e.big_endian;
        size_t i = 8;
        // A byte-order mark overrides the file's order.
        if (i + 1 < k.size()) {
            int32_t b0 = komponente_integer(k[i]) & 0xFF, b1 = komponente_integer(k[i + 1]) & 0xFF;
            if (b0 == 0xFE && b1 == 0xFF) big = true, i += 2;
            else if (b0 == 0xFF && b1 == 0xFE) big = false, i += 2;
        }
        std::u32string zeichen;
        for (; i + 1 < k.size(); i += 2) {
            uint32_t lo = static_cast<uint32_t>(komponente_integer(k[i]) & 0xFF);
            uint32_t hi = static_cast<uint32_t>(komponente_integer(k[i + 1]) & 0xFF);
            char32_t c = big ? (lo << 8 | hi) : (hi << 8 | lo);
            if (c >= 0xD800 && c <= 0xDBFF && i + 3 < k.size()) {
                uint32_t lo2 = static_cast<uint32_t>(komponente_integer(k[i + 2]) & 0xFF);
                uint32_t hi2 = static_cast<uint32_t>(komponente_integer(k[i + 3]) & 0xFF);
                char32_t c2 = big ? (lo2 << 8 | hi2) : (hi2 << 8 | lo2);
                if (c2 >= 0xDC00 && c2 <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (c2 - 0xDC00);
                    i += 2;
                }
            }
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
            if (c != 0) zeichen += c;
        }
        text = utf8_encode(zeichen);
    } else {
        std::string bytes;
        for (size_t i = 8; i < k.size(); ++i)
            if (int32_t b = komponente_integer(k[i]) & 0xFF) bytes += static_cast<char>(b);
        text = decode_text(bytes);
    }
    a.result().set_string(std::string(trim_blanks(text)));
}

// The special rules of the main section; false when the tag has none.
bool hauptsektion(Aufruf& a, const ExifEintrag& e, int32_t modus) {
    const auto& k = e.komponenten;
    ZNSVariable& r = a.result();
    switch (e.tag) {
    case 33432: {
        const std::string t = komponente_text(k.at(0));
        const size_t nul = t.find('\0');
        if (modus == 1) return r.set_string(t.substr(0, nul)), true;
        if (nul == std::string::npos) still();
        if (modus == 2) return r.set_string(t.substr(nul + 1)), true;
        return r.set_string(t.substr(0, nul) + ";" + t.substr(nul + 1)), true;
    }
    case 33434: {
        const double x = x_von(k.at(0));
        if (x <= 0.5) {
            if (x == 0) still();
            return r.set_string("1/" + zahl_mit_muster(1 / x, "0")), true;
        }
        return r.set_string(zahl_mit_muster(x, "0.0")), true;
    }
    case 33437: return r.set_string("f" + zahl_mit_muster(x_von(k.at(0)), "0.0")), true;
    case 36864:
    case 40960: {
        std::string t = zeichen_der_bytes(k);
        if (modus != 1) return r.set_string(t), true;
        auto v = text_als_zahl(t);
        if (!v) still();
        return r.set_string(zahl_mit_muster(*v / 100, "0.0#")), true;
    }
    case 37121: {
        static const char* const namen[] = {"Y", "Cb", "Cr", "Red", "Green", "Blue"};
        if (k.size() == 1) {
            int32_t v = komponente_integer(k[0]);
            return r.set_string(v >= 1 && v <= 6 ? namen[v - 1] : "unknown"), true;
        }
        if (k.size() == 4) {
            int32_t v[4];
            for (size_t i = 0; i < 4; ++i) v[i] = komponente_integer(k[i]);
            if (v[0] == 4 && v[1] == 5 && v[2] == 6 && v[3] == 0) return r.set_string("RGB"), true;
            if (v[0] == 1 && v[1] == 2 && v[2] == 3 && v[3] == 0) return r.set_string("YCbCr"), true;
            return r.set_string("unknown"), true;
        }
        std::string out;
        for (size_t i = 0; i < k.size(); ++i) out += (i ? "," : "") + zahl_mit_muster(komponente_double(k[i]), "0");
        return r.set_string(out), true;
    }
    case 37377: return r.set_string("1/" + zahl_mit_muster(std::pow(2.0, x_von(k.at(0))), "0")), true;
    case 37378:
    case 37381:
        return r.set_string("f" + zahl_mit_muster(std::pow(std::sqrt(2.0), x_von(k.at(0))), "0.0")), true;
    case 37386: {
        const double x = x_von(k.at(0));
        if (x < 0.01) return r.set_string("infinite"), true;
        if (modus == 1) return r.set_string(zahl_mit_muster(host().bild_brennweitenfaktor(x), "0\\m\\m")), true;
        return r.set_string(zahl_mit_muster(x, "0.0\\m\\m")), true;
    }
    case 37510: return benutzerkommentar(a, e), true;
    case 50341: {
        std::string t = zeichen_der_bytes(k);
        std::string teil = utf8_substr(t, 8, 4);
        if (modus != 1) return r.set_string(teil), true;
        auto v = text_als_zahl(teil);
        if (!v) still();
        return r.set_string(zahl_mit_muster(*v / 100, "0.0#")), true;
    }
    default: return false;
    }
}

// A component that is one rational, "n/d" as the reader writes them.
bool ist_bruch_text(const ExifKomponente& k) {
    const std::string* t = std::get_if<std::string>(&k);
    if (!t) return true;
    const size_t strich = t->find('/');
    auto ziffern = [](std::string_view s) {
        if (!s.empty() && s.front() == '-') s.remove_prefix(1);
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return strich != std::string::npos && ziffern(std::string_view(*t).substr(0, strich)) &&
           ziffern(std::string_view(*t).substr(strich + 1));
}

// A coordinate some cameras and phones store as text instead of three
// rationals: "52,00000,50,00000,34,01180" (degrees, minutes and seconds each
// written with a decimal comma), "52 50 34.0118", "52 deg 50' 34.01\"",
// "52/1,50/1,340118/10000", "52,50.567" or "52.842781". Read as degrees,
// minutes and seconds, it becomes the three rationals a camera writes: whole
// degrees, whole minutes, and the seconds to a millionth. A text that reads
// as none of these, or that carries a sign (the hemisphere is a tag of its
// own), is a format error.
std::vector<ExifKomponente> text_koordinate(std::string t) {
    for (char& c : t)
        if (c == '\0') c = ' ';
    std::vector<std::string> felder;
    size_t anfang = 0;
    while (true) {
        const size_t komma = t.find(',', anfang);
        felder.emplace_back(trim_blanks(t.substr(anfang, komma == std::string::npos ? std::string::npos : komma - anfang)));
        if (komma == std::string::npos) break;
        anfang = komma + 1;
    }
    auto ziffern = [](const std::string& f) { return !f.empty() && f.find_first_not_of("0123456789") == std::string::npos; };
    std::vector<std::string> zahlen;
    if (felder.size() == 6 && std::all_of(felder.begin(), felder.end(), ziffern)) {
        for (size_t i = 0; i < 6; i += 2) zahlen.push_back(felder[i] + "." + felder[i + 1]);
    } else {
        if (t.find('-') != std::string::npos) melden(EXIF_FORMAT);
        std::string zahl;
        for (char c : t + " ") {
            if ((c >= '0' && c <= '9') || c == '.' || c == '/') {
                zahl += c;
            } else if (!zahl.empty()) {
                zahlen.push_back(zahl);
                zahl.clear();
            }
        }
    }
    if (zahlen.empty() || zahlen.size() > 3) melden(EXIF_FORMAT);
    double teil[3] = {0, 0, 0};
    for (size_t i = 0; i < zahlen.size(); ++i) {
        const std::string& z = zahlen[i];
        const size_t strich = z.find('/');
        std::optional<double> v = text_als_zahl(z.substr(0, strich));
        if (v && strich != std::string::npos) {
            const std::optional<double> n = text_als_zahl(z.substr(strich + 1));
            v = n && *n != 0 ? std::optional<double>(*v / *n) : std::nullopt;
        }
        // Minutes and seconds below 60, degrees at most 180.
        if (!v || *v >= (i == 0 ? 180.000001 : 60)) melden(EXIF_FORMAT);
        teil[i] = *v;
    }
    // In millionths of a second of arc, so that no rounding carries a 60.
    const int64_t gesamt = std::llround((teil[0] * 3600 + teil[1] * 60 + teil[2]) * 1e6);
    const int64_t grad = gesamt / 3600000000LL, minuten = gesamt / 60000000LL % 60, sekunden = gesamt % 60000000LL;
    return {std::to_string(grad) + "/1", std::to_string(minuten) + "/1", std::to_string(sekunden) + "/1000000"};
}

// The special rules of the GPS section; false when the tag has none.
bool gps_sektion(Aufruf& a, const ExifEintrag& e, int32_t modus) {
    std::vector<ExifKomponente> k = e.komponenten;
    ZNSVariable& r = a.result();
    if (e.tag == 0) {
        std::string t;
        for (const auto& c : k) t += zahl_mit_muster(komponente_double(c), "0");
        if (modus != 1) return r.set_string(t), true;
        auto v = text_als_zahl(t);
        if (!v) still();
        return r.set_string(zahl_mit_muster(*v / 1000, "0.0#")), true;
    }
    if (e.tag != 2 && e.tag != 4 && e.tag != 20 && e.tag != 22) return false;
    // One rational alone (one part of a coordinate) stays a format error.
    if (k.size() == 1 && !ist_bruch_text(k[0])) k = text_koordinate(std::get<std::string>(k[0]));
    if (k.size() != 3) melden(EXIF_FORMAT);
    // Each part divided by its own denominator.
    const double grad = x_von(k[0]);
    const Bruch minuten_bruch = bruch(k[1]);
    const double minuten = minuten_bruch.wert();
    const bool ganze_minuten = minuten_bruch.nenner == 1;
    const double sekunden = ganze_minuten ? x_von(k[2]) : 0;
    if (modus == 2) return r.set_double(grad + minuten / 60 + (ganze_minuten ? sekunden / 3600 : 0)), true;
    std::string t = zahl_mit_muster(grad, "0");
    if (!ganze_minuten) {
        if (modus == 1) {
            const double ganz = std::floor(minuten);
            t += "&deg; " + zahl_mit_muster(ganz, "0") + "' " + zahl_mit_muster((minuten - ganz) * 60, "0.00") + "\"";
        } else {
            t += " " + zahl_mit_muster(minuten, "0.0##############") + "'";
        }
        return r.set_string(t), true;
    }
    if (modus == 1 || modus == 3) t += "&deg;";
    t += " " + zahl_mit_muster(minuten, "0");
    if (modus != 3) t += "'";
    if (modus == 0 || modus == 1) {
        t += " " + zahl_mit_muster(sekunden, "0.00") + "\"";
    } else if (modus == 3) {
        // The seconds as the decimal places of the minutes (30 seconds: ".5").
        std::string bruchteil = zahl_mit_muster(sekunden / 60, "0.0##############");
        t += bruchteil.substr(bruchteil.find('.')) + "'";
    }
    return r.set_string(t), true;
}

void generisch(Aufruf& a, const ExifEintrag& e, int32_t modus, const std::optional<ExifDefinition>& def) {
    const auto& k = e.komponenten;
    ZNSVariable& r = a.result();
    auto grenze = [&k] { return std::min<size_t>(k.size(), 10); };
    auto schwanz = [&k] { return k.size() > 10 ? ",...(" + std::to_string(k.size()) + ")" : std::string(); };
    switch (e.typ) {
    case TYP_INTEGER: {
        if (modus == 0) {
            if (k.size() == 1) {
                const int32_t v = komponente_integer(k[0]);
                if (def) {
                    auto it = def->nice_texte.find(v);
                    if (it != def->nice_texte.end()) return r.set_string(it->second);
                }
                return r.set_integer(v);
            }
            std::string out;
            for (size_t i = 0; i < grenze(); ++i) out += (i ? "," : "") + zahl_zu_text(komponente_integer(k[i]));
            return r.set_string(out + schwanz());
        }
        if (modus == 1 || modus == 3) {
            std::string out;
            for (const auto& c : k) {
                const int32_t v = komponente_integer(c);
                if (modus == 1) out += v >= 32 && v <= 255 ? cp1252_to_utf8(std::string(1, static_cast<char>(v))) : "_";
                else out += v >= 0 && v <= 9 ? static_cast<char>('0' + v) : '_';
            }
            return r.set_string(out);
        }
        if (modus == 2) return r.set_string(bis_nullzeichen(zeichen_der_bytes(k)));
        if (einheit(modus)) {
            std::string out;
            for (size_t i = 0; i < grenze(); ++i)
                out += (i ? "," : "") + zahl_mit_muster(komponente_integer(k[i]), ganz_muster[modus - 10]);
            return r.set_string(out);
        }
        return;  // another mode leaves the result undefined
    }
    case TYP_DOUBLE: {
        std::string out;
        for (size_t i = 0; i < grenze(); ++i) {
            const double v = komponente_double(k[i]);
            out += (i ? "," : "") + (einheit(modus) ? zahl_mit_muster(v, bruch_muster[modus - 10]) : zahl_zu_text(v));
        }
        return r.set_string(out + schwanz());
    }
    case TYP_STRING: {
        const std::string t = k.empty() ? std::string() : komponente_text(k[0]);
        if (modus == 1) {
            // "yyyy:mm:dd hh:mm:ss"; a text of another layout fails silently.
            auto feld = [&t](size_t von, size_t laenge) {
                if (t.size() < von + laenge) still();
                int v = 0;
                for (size_t i = von; i < von + laenge; ++i) {
                    if (t[i] < '0' || t[i] > '9') still();
                    v = v * 10 + (t[i] - '0');
                }
                return v;
            };
            DateParts p{feld(0, 4), feld(5, 2), feld(8, 2), feld(11, 2), feld(14, 2), feld(17, 2), 0};
            if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > 31 || p.hour > 23 || p.minute > 59 || p.second > 59)
                still();
            return r.set_datum(ole_from_parts(p));
        }
        if (einheit(modus)) {
            const size_t strich = t.find('/');
            if (strich == std::string::npos || t.find('/', strich + 1) != std::string::npos) melden(EXIF_FORMAT);
            int32_t z = 0, n = 0;
            auto ganz = [](std::string_view s, int32_t& v) {
                auto res = std::from_chars(s.data(), s.data() + s.size(), v);
                return !s.empty() && res.ec == std::errc() && res.ptr == s.data() + s.size();
            };
            if (!ganz(std::string_view(t).substr(0, strich), z) || !ganz(std::string_view(t).substr(strich + 1), n))
                melden(EXIF_FORMAT);
            if (n == 0) still();
            return r.set_string(zahl_mit_muster(static_cast<double>(z) / n, bruch_muster[modus - 10]));
        }
        return r.set_string(t);
    }
    default:
        if (k.empty()) return;
        r.typ = e.typ;
        r.wert = std::visit([](const auto& v) -> ZNSWert { return v; }, k[0]);
        return;
    }
}

void exifnice_(Aufruf& a) {
    a.anzahl_pruefen(0, 4);
    if (a.anzahl() == 0) return a.wahrheit(host().bild_hat_exif());
    ExifSektion s;
    int32_t index_arg = 0, modus_arg = 0;
    switch (a.anzahl()) {
    case 2:
        if (a.arg(2).typ == TYP_SYMBOL) s = exif_sektion(a, 2);
        else index_arg = 2;
        break;
    case 3:
        index_arg = 2;
        if (a.arg(3).typ == TYP_SYMBOL) s = exif_sektion(a, 3);
        else modus_arg = 3;
        break;
    case 4:
        s = exif_sektion(a, 4);
        index_arg = 2;
        modus_arg = 3;
        break;
    default: break;
    }
    const int32_t tag = exif_tag(a, 1, s);
    const int32_t index = index_arg ? a.integer_arg(index_arg) : 0;
    const int32_t modus_vorgabe = modus_arg ? a.integer_arg(modus_arg) : 0;
    BuiltinHost& h = host();
    const std::optional<ExifDefinition> def = h.exif_definition(s.makernote_code, s.nummer, tag, index);
    const int32_t modus = modus_arg ? modus_vorgabe : def ? def->anzeige_modus : 0;

    ExifEintrag e;
    if (!h.bild_exif_wert(s.nummer, tag, e)) melden(EXIF_FEHLT);
    e.tag = tag;
    if (index != 0) {
        if (index < 0 || index > static_cast<int32_t>(e.komponenten.size())) melden(EXIF_POSITION);
        ExifKomponente eine = e.komponenten[static_cast<size_t>(index - 1)];
        e.komponenten.assign(1, std::move(eine));
    }
    if (e.komponenten.empty()) still();
    if (s.nummer == 3 && s.makernote_code == 0) melden(EXIF_MAKERNOTE_UNBEKANNT);
    // A unit mode shows the plain number with its unit; a GPS coordinate is
    // one value of three parts in every mode, so one part alone is a format
    // error, whatever display mode the definition gives that part.
    const bool koordinate = s.nummer == 4 && (tag == 2 || tag == 4 || tag == 20 || tag == 22);
    if (!einheit(modus) || koordinate) {
        if (s.nummer == 1 && hauptsektion(a, e, modus)) return;
        if (s.nummer == 4 && gps_sektion(a, e, modus)) return;
    }
    generisch(a, e, modus, def);
}

}  // namespace

void exifnice_registrieren() { eingebaut("exifnice", exifnice_); }

}  // namespace galvora::builtins
