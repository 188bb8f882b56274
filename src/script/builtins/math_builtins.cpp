// sin, cos, tan, ln, log, sqrt, asin, acos, atan, exp, abs, pow, random, min,
// max, now and datepart.
#include <chrono>
#include <climits>
#include <cmath>
#include <random>

#include "foundation/ole_date.h"
#include "script/builtins/builtin_frame.h"
#include "script/date_text.h"
#include "script/operators.h"

namespace galvora::builtins {

namespace {

// A double result that is no finite number fails silently.
void double_ergebnis(Aufruf& a, double v) {
    if (!std::isfinite(v)) still();
    a.result().set_double(v);
}

void einstellig(std::string_view name, double (*f)(double)) {
    eingebaut(name, [f](Aufruf& a) {
        a.anzahl_pruefen(1, 1);
        double_ergebnis(a, f(a.zahl_arg(1)));
    });
}

double ln_(double x) {
    if (!(x > 0)) still();
    return std::log(x);
}
double log_(double x) { return ln_(x) / std::log(10.0); }
double sqrt_(double x) {
    if (x < 0) still();
    return std::sqrt(x);
}
double asin_(double x) {
    if (!(x > -1 && x < 1)) still();
    return std::atan(x / std::sqrt(1 - x * x));
}
double acos_(double x) {
    if (!(x > -1 && x < 1)) still();
    return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
}
double sin_(double x) { return std::sin(x); }
double cos_(double x) { return std::cos(x); }
double tan_(double x) { return std::tan(x); }
double atan_(double x) { return std::atan(x); }
double exp_(double x) { return std::exp(x); }

void abs_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const ZNSVariable& x = a.arg(1);
    if (x.typ == TYP_INTEGER) {
        if (x.als_integer() == INT32_MIN) still();
        a.result().set_integer(std::abs(x.als_integer()));
        return;
    }
    double_ergebnis(a, std::fabs(a.zahl_arg(1)));
}

void pow_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    ZNSAngeglichen g = typ_angleichen(a.arg(1), a.arg(2));
    if (g.t != TYP_INTEGER && g.t != TYP_DOUBLE) melden(QIM_ARGUMENTTYP);
    double_ergebnis(a, std::pow(a.arg(1).als_double(), a.arg(2).als_double()));
}

// Seeded once per program run: reseeding from the clock on every call would
// give the same number to calls within one clock tick.
std::mt19937_64& zufall() {
    static std::mt19937_64 generator([] {
        std::random_device rd;
        auto zeit = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        return (static_cast<uint64_t>(rd()) << 32) ^ zeit;
    }());
    return generator;
}

void random_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const int32_t n = a.integer_arg(1);
    const double r = std::generate_canonical<double, 53>(zufall());
    double v = std::floor(r * n) + 1;
    // r lies below 1, but r * n may round up to n.
    if (n > 0 && v > n) v = n;
    a.result().set_integer(static_cast<int32_t>(v));
}

void min_max(Aufruf& a, bool maximum) {
    a.anzahl_pruefen(1, INT32_MAX);
    const ZNSVariable& erstes = a.arg(1);
    if (!ist_zahl(erstes)) melden(QIM_ARGUMENTTYP);
    ZNSVariable laufend;
    erstes.copy(laufend);
    for (int32_t i = 2; i <= a.anzahl(); ++i) {
        const ZNSVariable& x = a.arg(i);
        ZNSAngeglichen g = typ_angleichen(laufend, x);
        if (g.t != TYP_INTEGER && g.t != TYP_DOUBLE) melden(QIM_ARGUMENTTYP);
        if (g.t == TYP_DOUBLE) laufend.set_double(laufend.als_double());
        const double alt = laufend.als_double(), neu = x.als_double();
        if (maximum ? neu > alt : neu < alt) {
            if (g.t == TYP_DOUBLE) laufend.set_double(neu);
            else laufend.set_integer(x.als_integer());
        }
    }
    laufend.copy(a.result());
}

void now_(Aufruf& a) {
    a.anzahl_pruefen(0, 0);
    a.result().set_datum(ole_now());
}

// The parts of a date that the date patterns lack but datepart offers: "w"
// weekday (Sunday 1), "ww" week of the year (Sunday first, the week of
// 1 January is week 1), "q" quarter, a single "y" day of the year. They are
// put into the pattern as quoted literals; the rest is the date formatter's.
std::string muster_ergaenzen(double datum, std::string_view muster) {
    const DateParts p = ole_to_parts(datum);
    DateParts tag0{p.year, p.month, p.day, 0, 0, 0, 0};
    DateParts neujahr{p.year, 1, 1, 0, 0, 0, 0};
    const long long tag = std::llround(ole_from_parts(tag0));
    const long long tag_neujahr = std::llround(ole_from_parts(neujahr));
    auto wochentag = [](long long serial) { return static_cast<int>(((serial + 6) % 7 + 7) % 7) + 1; };
    const long long jahrestag = tag - tag_neujahr + 1;
    std::string out;
    for (size_t i = 0; i < muster.size();) {
        char c = muster[i];
        if (c == '"') {
            size_t ende = muster.find('"', i + 1);
            ende = ende == std::string_view::npos ? muster.size() : ende + 1;
            out.append(muster.substr(i, ende - i));
            i = ende;
            continue;
        }
        if (c == '\\') {
            out.append(muster.substr(i, 2));
            i += 2;
            continue;
        }
        char k = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        size_t n = 1;
        while (i + n < muster.size() && (muster[i + n] | 0x20) == k) ++n;
        std::string ersatz;
        if (k == 'w' && n == 1) ersatz = std::to_string(wochentag(tag));
        else if (k == 'w' && n == 2) ersatz = std::to_string((jahrestag - 1 + wochentag(tag_neujahr) - 1) / 7 + 1);
        else if (k == 'q') ersatz = std::to_string((p.month - 1) / 3 + 1);
        else if (k == 'y' && n == 1) ersatz = std::to_string(jahrestag);
        if (!ersatz.empty()) out += "\"" + ersatz + "\"";
        else out.append(muster.substr(i, n));
        i += n;
    }
    return out;
}

void datepart_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    const ZNSVariable& d = a.arg(1);
    if (d.typ != TYP_DATUM) melden(QIM_ARGUMENTTYP);
    const std::string& muster = a.string_arg(2);
    std::string text = ole_datum_formatieren(d.als_double(), muster_ergaenzen(d.als_double(), muster));
    bool ziffern = !text.empty() && text.size() <= 10;
    for (char c : text) ziffern = ziffern && c >= '0' && c <= '9';
    if (ziffern) {
        long long v = std::stoll(text);
        if (v <= INT32_MAX) return a.result().set_integer(static_cast<int32_t>(v));
    }
    a.result().set_string(std::move(text));
}

}  // namespace

void mathe_builtins_registrieren() {
    einstellig("sin", sin_);
    einstellig("cos", cos_);
    einstellig("tan", tan_);
    einstellig("ln", ln_);
    einstellig("log", log_);
    einstellig("sqrt", sqrt_);
    einstellig("asin", asin_);
    einstellig("acos", acos_);
    einstellig("atan", atan_);
    einstellig("exp", exp_);
    eingebaut("abs", abs_);
    eingebaut("pow", pow_);
    eingebaut("random", random_);
    eingebaut("min", [](Aufruf& a) { min_max(a, false); });
    eingebaut("max", [](Aufruf& a) { min_max(a, true); });
    eingebaut("now", now_);
    eingebaut("datepart", datepart_);
}

}  // namespace galvora::builtins
