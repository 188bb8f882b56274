#include "script/date_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <langinfo.h>
#include <locale.h>

#include "foundation/ole_date.h"

namespace galvora {

namespace {

struct Zeitpunkt {
    int64_t jahr = 1899;
    unsigned monat = 12, tag = 30, stunde = 0, minute = 0, sekunde = 0, wochentag = 6;  // 0 = Sunday
};

Zeitpunkt zerlegen(double serial) {
    Zeitpunkt z;
    // Far outside the calendar the value is shown as its base day.
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6) return z;
    DateParts p = ole_to_parts(serial);
    if (p.millisecond >= 500) {
        // Seconds are shown rounded, as the time of day is stored.
        p.millisecond = 0;
        p.second += 1;
        p = ole_to_parts(ole_from_parts(p));
    }
    z.jahr = p.year;
    z.monat = static_cast<unsigned>(p.month);
    z.tag = static_cast<unsigned>(p.day);
    z.stunde = static_cast<unsigned>(p.hour);
    z.minute = static_cast<unsigned>(p.minute);
    z.sekunde = static_cast<unsigned>(p.second);
    // Day 0 (1899-12-30) was a Saturday.
    DateParts tag_nur{p.year, p.month, p.day, 0, 0, 0, 0};
    int64_t tage = static_cast<int64_t>(std::llround(ole_from_parts(tag_nur)));
    z.wochentag = static_cast<unsigned>(((tage + 6) % 7 + 7) % 7);
    return z;
}

std::string zahl(int64_t v, int stellen) {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%0*lld", stellen, static_cast<long long>(v));
    return puffer;
}

// Month and weekday names, long and short, as the user's regional settings
// (LC_TIME) give them; without a usable locale the C locale's English names.
// They are read once, with the time category switched to the user's locale
// for the moment and back (newlocale would leak its search path when LOCPATH
// is set).
struct Kalendernamen {
    std::string monate[12], monate_kurz[12], tage[7], tage_kurz[7];

    Kalendernamen() {
        const char* current = setlocale(LC_TIME, nullptr);
        const std::string previous = current != nullptr ? current : "C";
        setlocale(LC_TIME, "");
        for (int i = 0; i < 12; ++i) {
            monate[i] = nl_langinfo(static_cast<nl_item>(MON_1 + i));
            monate_kurz[i] = nl_langinfo(static_cast<nl_item>(ABMON_1 + i));
        }
        for (int i = 0; i < 7; ++i) {
            tage[i] = nl_langinfo(static_cast<nl_item>(DAY_1 + i));
            tage_kurz[i] = nl_langinfo(static_cast<nl_item>(ABDAY_1 + i));
        }
        setlocale(LC_TIME, previous.c_str());
    }
};

const Kalendernamen& kalendernamen() {
    static const Kalendernamen namen;
    return namen;
}

}  // namespace

std::string ole_datum_formatieren(double serial, std::string_view muster) {
    const Zeitpunkt z = zerlegen(serial);
    std::string out;
    bool nach_stunde = false;  // "m" right after an hour means minutes
    size_t i = 0;
    while (i < muster.size()) {
        char c = muster[i];
        char k = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        size_t n = 1;
        while (i + n < muster.size()) {
            char d = muster[i + n];
            if ((d >= 'A' && d <= 'Z' ? d + 32 : d) != k) break;
            ++n;
        }
        switch (k) {
        case 'd':
            if (n <= 2) out += zahl(z.tag, static_cast<int>(n));
            else if (n == 3) out += kalendernamen().tage_kurz[z.wochentag];
            else out += kalendernamen().tage[z.wochentag];
            break;
        case 'm': {
            bool minuten = nach_stunde;
            if (!minuten) {
                // A minute field also stands right before the seconds ("mm:ss").
                size_t j = i + n;
                while (j < muster.size() && (muster[j] == ':' || muster[j] == ' ')) ++j;
                minuten = j < muster.size() && (muster[j] == 's' || muster[j] == 'S') && n <= 2;
            }
            if (minuten && n <= 2) out += zahl(z.minute, static_cast<int>(n));
            else if (n <= 2) out += zahl(z.monat, static_cast<int>(n));
            else if (n == 3) out += kalendernamen().monate_kurz[z.monat - 1];
            else out += kalendernamen().monate[z.monat - 1];
            nach_stunde = false;
            break;
        }
        case 'y':
            if (n <= 2) out += zahl(z.jahr % 100, 2);
            else out += zahl(z.jahr, 4);
            break;
        case 'h':
            out += zahl(z.stunde, n >= 2 ? 2 : 1);
            nach_stunde = true;
            i += n;
            continue;
        case 'n':
            out += zahl(z.minute, n >= 2 ? 2 : 1);
            break;
        case 's':
            out += zahl(z.sekunde, n >= 2 ? 2 : 1);
            break;
        case '"': {
            size_t ende = muster.find('"', i + 1);
            if (ende == std::string_view::npos) ende = muster.size();
            out.append(muster.substr(i + 1, ende - i - 1));
            i = ende + 1;
            continue;
        }
        case '\\':
            if (i + 1 < muster.size()) out.push_back(muster[i + 1]);
            i += 2;
            continue;
        default:
            out.append(muster.substr(i, n));
            i += n;
            continue;
        }
        if (k != 'm') nach_stunde = nach_stunde && (k == ':' || k == ' ');
        i += n;
    }
    return out;
}

}  // namespace galvora
