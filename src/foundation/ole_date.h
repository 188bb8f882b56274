#pragma once
// Dates as the program keeps them: a double counting days since 1899-12-30,
// the fraction being the time of day. Before that day the integer part counts
// days backwards while the fraction still runs forward (-1.25 is 1899-12-29
// 06:00). All conversions to and from the clock work in local time.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>

namespace galvora {

struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Calendar parts to a date value; the time may run over (25:00 is the next day).
double ole_from_parts(const DateParts& parts);
// A date value to calendar parts, rounded to the nearest millisecond.
DateParts ole_to_parts(double date);

// Seconds since the epoch (UTC) to a local date value, and back.
double ole_from_time_t(std::time_t when);
// nullopt when the local time cannot be represented.
std::optional<std::time_t> ole_to_time_t(double date);

double ole_from_system_time(std::chrono::system_clock::time_point when);
std::optional<std::chrono::system_clock::time_point> ole_to_system_time(double date);

// A file time (last-write time as std::filesystem gives it) to a local date value.
double ole_from_file_time(std::filesystem::file_time_type when);

// The current local date and time.
double ole_now();

}  // namespace galvora
