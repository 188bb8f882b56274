#include "foundation/ole_date.h"

#include <cmath>
#include <cstdint>

namespace galvora {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civil_from_days(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kOleEpochDays = -25569;
constexpr std::int64_t kMsPerDay = 86400000;

// Beyond this many days from 1899-12-30 (about 27000 years) a value is no
// date: conversions treat it as day 0 rather than overflow.
constexpr double kMaxDays = 1e7;

// A day count from 1899-12-30 plus milliseconds into the day (any amount, also
// negative) to a date value.
double ole_from_day_and_ms(std::int64_t days, std::int64_t ms) {
    days += ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    const double fraction = static_cast<double>(rest) / static_cast<double>(kMsPerDay);
    // Before the epoch the day counts down while the time of day still counts up.
    if (days < 0) return static_cast<double>(days) - fraction;
    return static_cast<double>(days) + fraction;
}

// A date value to its day (counted from 1899-12-30) and milliseconds into it.
void day_and_ms_from_ole(double date, std::int64_t& days, std::int64_t& ms_of_day) {
    days = 0;
    ms_of_day = 0;
    if (!std::isfinite(date) || std::fabs(date) > kMaxDays) return;
    const double day = std::trunc(date);
    // -1.25 is day -1 at 06:00: the fraction counts forward from the day's start.
    ms_of_day = std::llround(std::fabs(date - day) * static_cast<double>(kMsPerDay));
    days = static_cast<std::int64_t>(day);
    if (ms_of_day >= kMsPerDay) {
        ms_of_day -= kMsPerDay;
        ++days;
    }
}

}  // namespace

double ole_from_parts(const DateParts& p) {
    // Month overflow is folded into the year first, the way date serials do it.
    std::int64_t y = p.year;
    std::int64_t m = static_cast<std::int64_t>(p.month) - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    const std::int64_t days =
        days_from_civil(y, static_cast<unsigned>(m + 1), 1) + (static_cast<std::int64_t>(p.day) - 1) - kOleEpochDays;
    const std::int64_t ms = ((static_cast<std::int64_t>(p.hour) * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    return ole_from_day_and_ms(days, ms);
}

DateParts ole_to_parts(double date) {
    DateParts parts;
    std::int64_t days = 0;
    std::int64_t rest = 0;
    day_and_ms_from_ole(date, days, rest);
    civil_from_days(days + kOleEpochDays, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(rest / 3600000);
    parts.minute = static_cast<int>(rest / 60000 % 60);
    parts.second = static_cast<int>(rest / 1000 % 60);
    parts.millisecond = static_cast<int>(rest % 1000);
    return parts;
}

double ole_from_time_t(std::time_t when) {
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr) return 0.0;
    DateParts p;
    p.year = local.tm_year + 1900;
    p.month = local.tm_mon + 1;
    p.day = local.tm_mday;
    p.hour = local.tm_hour;
    p.minute = local.tm_min;
    p.second = local.tm_sec;
    return ole_from_parts(p);
}

std::optional<std::time_t> ole_to_time_t(double date) {
    if (!std::isfinite(date)) return std::nullopt;
    const DateParts p = ole_to_parts(date);
    std::tm local{};
    local.tm_year = p.year - 1900;
    local.tm_mon = p.month - 1;
    local.tm_mday = p.day;
    local.tm_hour = p.hour;
    local.tm_min = p.minute;
    local.tm_sec = p.second;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1) && !(p.year == 1969 && p.month == 12 && p.day == 31)) return std::nullopt;
    return t;
}

double ole_from_system_time(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto secs = floor<seconds>(when);
    const auto ms = duration_cast<milliseconds>(when - secs).count();
    const double whole = ole_from_time_t(system_clock::to_time_t(secs));
    if (ms == 0) return whole;
    DateParts p = ole_to_parts(whole);
    p.millisecond = static_cast<int>(ms);
    return ole_from_parts(p);
}

std::optional<std::chrono::system_clock::time_point> ole_to_system_time(double date) {
    const auto t = ole_to_time_t(date);
    if (!t) return std::nullopt;
    const DateParts p = ole_to_parts(date);
    return std::chrono::system_clock::from_time_t(*t) + std::chrono::milliseconds(p.millisecond);
}

double ole_from_file_time(std::filesystem::file_time_type when) {
    const auto sys = std::chrono::file_clock::to_sys(when);
    return ole_from_system_time(std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
}

double ole_now() { return ole_from_system_time(std::chrono::system_clock::now()); }

}  // namespace galvora
