#include "script/builtins/value_conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/language.h"
#include "foundation/ole_date.h"
#include "script/date_text.h"
#include "script/engine.h"
#include "script/operators.h"

namespace galvora::builtins {

std::optional<std::string> als_string_text(const ZNSVariable& v) {
    switch (v.typ) {
    case TYP_INTEGER: return zahl_zu_text(v.als_integer());
    case TYP_DOUBLE: return double_ausgabe_text(v.als_double());
    case TYP_SYMBOL: return zns() ? zns()->const_oba.e_name(v.als_integer()) : std::string();
    case TYP_STRING: return v.als_text();
    case TYP_DATUM: return ole_datum_formatieren(v.als_double(), format_datum_zeit);
    default: return std::nullopt;
    }
}

std::optional<double> text_als_zahl(std::string_view text) {
    if (text.empty()) return std::nullopt;
    // from_chars would accept "inf", "nan" and hexadecimal forms; only plain
    // decimal numbers count here.
    for (char c : text) {
        bool erlaubt = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
        if (!erlaubt) return std::nullopt;
    }
    if (text.front() == '+' || text.front() == '-') return std::nullopt;
    double v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> wert_als_zahl(const ZNSVariable& v) {
    switch (v.typ) {
    case TYP_INTEGER:
    case TYP_SYMBOL: return v.als_integer();
    case TYP_DOUBLE:
    case TYP_DATUM: return v.als_double();
    // A "0" in front lets the empty text read as 0 and refuses a sign.
    case TYP_STRING: return text_als_zahl("0" + v.als_text());
    default: return std::nullopt;
    }
}

namespace {

// Reads the unsigned numbers of a date or time text and the separators between them.
struct Teile {
    std::vector<int> zahlen;
    std::vector<char> trenner;  // trenner[i] stands after zahlen[i]
};

std::optional<Teile> zerlegen(std::string_view t) {
    Teile teile;
    size_t i = 0;
    while (i < t.size()) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        long v = 0;
        size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            v = v * 10 + (t[i] - '0');
            if (v > 99999 || i - start > 5) return std::nullopt;
            ++i;
        }
        teile.zahlen.push_back(static_cast<int>(v));
        if (i < t.size()) {
            char c = t[i];
            if (c != '.' && c != '-' && c != '/' && c != ':' && c != ' ' && c != 'T') return std::nullopt;
            teile.trenner.push_back(c);
            ++i;
            while (c == ' ' && i < t.size() && t[i] == ' ') ++i;
            if (i == t.size()) return std::nullopt;
        }
    }
    return teile;
}

bool tag_gueltig(int j, int m, int d) {
    if (j < 100 || j > 9999 || m < 1 || m > 12 || d < 1) return false;
    static const int tage[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int max = tage[m - 1];
    if (m == 2 && ((j % 4 == 0 && j % 100 != 0) || j % 400 == 0)) max = 29;
    return d <= max;
}

}  // namespace

std::optional<double> text_als_datum(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    auto t = zerlegen(text);
    if (!t || t->zahlen.empty()) return std::nullopt;
    const auto& z = t->zahlen;
    const auto& s = t->trenner;
    DateParts p;
    size_t n = 0;
    bool datum = false;
    if (z.size() >= 3 && s[0] == s[1] && s[0] != ':') {
        if (s[0] == '-' || (s[0] == '/' && z[0] >= 100)) {
            p.year = z[0], p.month = z[1], p.day = z[2];
        } else if (s[0] == '.' || s[0] == '/') {
            p.day = z[0], p.month = z[1], p.year = z[2];
            if (p.year < 100) p.year += p.year < 30 ? 2000 : 1900;
        } else {
            return std::nullopt;
        }
        if (!tag_gueltig(p.year, p.month, p.day)) return std::nullopt;
        datum = true;
        n = 3;
        if (n < z.size() && s[2] != ' ' && s[2] != 'T') return std::nullopt;
    }
    // What follows (or the whole text) must be a time: h:m or h:m:s.
    size_t rest = z.size() - n;
    if (rest != 0) {
        if (rest < 2 || rest > 3) return std::nullopt;
        for (size_t i = n; i + 1 < z.size(); ++i)
            if (s[i] != ':') return std::nullopt;
        int h = z[n], m = z[n + 1], sek = rest == 3 ? z[n + 2] : 0;
        if (h > 23 || m > 59 || sek > 59) return std::nullopt;
        p.hour = h, p.minute = m, p.second = sek;
    } else if (!datum) {
        return std::nullopt;
    }
    if (!datum) {
        p.year = 1899, p.month = 12, p.day = 30;
    }
    return ole_from_parts(p);
}

std::string zahl_mit_muster(double v, std::string_view muster) {
    std::string vorne, hinten;
    int pflicht = 0, optional = 0;
    bool zahl_gesehen = false, punkt = false;
    for (size_t i = 0; i < muster.size(); ++i) {
        char c = muster[i];
        if (c == '\\' && i + 1 < muster.size()) {
            (zahl_gesehen ? hinten : vorne) += muster[++i];
        } else if (c == '0' || c == '#') {
            zahl_gesehen = true;
            if (punkt) (c == '0' && optional == 0 ? pflicht : optional)++;
        } else if (c == '.' && !punkt) {
            zahl_gesehen = true;
            punkt = true;
        } else {
            (zahl_gesehen ? hinten : vorne) += c;
        }
    }
    // More places than a double carries only add zeros; the cap keeps the buffers small.
    if (pflicht > 340) pflicht = 340;
    if (pflicht + optional > 340) optional = 340 - pflicht;
    const int stellen = pflicht + optional;
    if (!std::isfinite(v)) return vorne + zahl_zu_text(v) + hinten;
    // The value with 15 significant digits (what a double reliably holds),
    // then rounded half away from zero at the last place the pattern keeps.
    char puffer[40];
    std::snprintf(puffer, sizeof puffer, "%.14e", std::fabs(v));
    std::string mantisse;
    // Only the digits: the decimal point printf writes follows the locale.
    for (const char* c = puffer; *c && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9') mantisse += *c;
    long punkt_stelle = std::strtol(std::strchr(puffer, 'e') + 1, nullptr, 10) + 1;  // digits before the point
    long behalten = punkt_stelle + stellen;
    std::string ziffern;
    if (behalten < 0) {
        ziffern.clear();
    } else {
        ziffern = mantisse.substr(0, static_cast<size_t>(std::min<long>(behalten, 15)));
        if (behalten < 15 && mantisse[static_cast<size_t>(behalten)] >= '5') {
            long i = static_cast<long>(ziffern.size()) - 1;
            while (i >= 0 && ziffern[static_cast<size_t>(i)] == '9') ziffern[static_cast<size_t>(i--)] = '0';
            if (i >= 0) ziffern[static_cast<size_t>(i)]++;
            else ziffern.insert(0, 1, '1'), ++punkt_stelle, ++behalten;
        }
        if (static_cast<long>(ziffern.size()) < behalten) ziffern.append(static_cast<size_t>(behalten) - ziffern.size(), '0');
    }
    if (ziffern.size() < static_cast<size_t>(stellen) + 1) ziffern.insert(0, static_cast<size_t>(stellen) + 1 - ziffern.size(), '0');
    const bool negativ = v < 0 && ziffern.find_first_not_of('0') != std::string::npos;
    std::string ganz = ziffern.substr(0, ziffern.size() - static_cast<size_t>(stellen));
    std::string nach = ziffern.substr(ziffern.size() - static_cast<size_t>(stellen));
    ganz.erase(0, std::min(ganz.find_first_not_of('0'), ganz.size() - 1));
    while (static_cast<int>(nach.size()) > pflicht && nach.back() == '0') nach.pop_back();
    std::string out = vorne;
    if (negativ) out += '-';
    out += ganz;
    if (punkt && (!nach.empty())) out += "." + nach;
    out += hinten;
    return out;
}

}  // namespace galvora::builtins
