#include "foundation/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

#include "temp_folder.h"

using namespace galvora;

TEST(OleDate, CalendarPartsAndSerialNumbers) {
    struct Case { DateParts parts; double serial; };
    const std::vector<Case> cases = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{2000, 1, 1, 12, 0, 0, 0}, 36526.5},
        {{2024, 2, 29, 6, 0, 0, 0}, 45351.25},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},  // before the epoch the fraction still runs forward
        {{1899, 12, 29, 0, 0, 0, 0}, -1.0},
        {{1800, 1, 1, 18, 0, 0, 0}, -36522.75},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ole_from_parts(c.parts), c.serial) << c.serial;
        const DateParts back = ole_to_parts(c.serial);
        EXPECT_EQ(back.year, c.parts.year) << c.serial;
        EXPECT_EQ(back.month, c.parts.month) << c.serial;
        EXPECT_EQ(back.day, c.parts.day) << c.serial;
        EXPECT_EQ(back.hour, c.parts.hour) << c.serial;
        EXPECT_EQ(back.minute, 0) << c.serial;
    }
    // Times and months run over into the next day and year.
    EXPECT_DOUBLE_EQ(ole_from_parts({2023, 13, 1, 0, 0, 0, 0}), ole_from_parts({2024, 1, 1, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(ole_from_parts({2024, 1, 1, 25, 0, 0, 0}), ole_from_parts({2024, 1, 2, 1, 0, 0, 0}));
    const DateParts ms = ole_to_parts(ole_from_parts({2024, 5, 6, 7, 8, 9, 123}));
    EXPECT_EQ(ms.second, 9);
    EXPECT_EQ(ms.millisecond, 123);
    // Values that are no date, and calendar parts far out of range, do not overflow.
    for (double wild : {std::nan(""), 1e300, -1e300, HUGE_VAL}) {
        const DateParts none = ole_to_parts(wild);
        EXPECT_EQ(none.year, 1899);
        EXPECT_EQ(none.day, 30);
    }
    EXPECT_TRUE(std::isfinite(ole_from_parts({2147483647, -2147483647 - 1, 2147483647, 2147483647, 2147483647,
                                              2147483647, 2147483647})));
    EXPECT_TRUE(std::isfinite(ole_from_parts({-2147483647 - 1, 2147483647, -2147483647 - 1, -2147483647 - 1,
                                              -2147483647 - 1, -2147483647 - 1, -2147483647 - 1})));
    // A fraction that rounds up to a whole day is the next day's midnight.
    EXPECT_EQ(ole_to_parts(0.99999999999).day, 31);
}

TEST(OleDate, ClockConversionsUseLocalTime) {
    auto env = std::make_unique<galvora::testing::ScopedEnv>();
    env->set("TZ", "Europe/Berlin");
    tzset();
    // 2024-07-01 10:00:00 UTC is 12:00 summer time in Berlin.
    const std::time_t when = 1719828000;
    const DateParts local = ole_to_parts(ole_from_time_t(when));
    EXPECT_EQ(local.year, 2024);
    EXPECT_EQ(local.month, 7);
    EXPECT_EQ(local.day, 1);
    EXPECT_EQ(local.hour, 12);
    EXPECT_EQ(ole_to_time_t(ole_from_time_t(when)).value(), when);
    const auto sys = std::chrono::system_clock::from_time_t(when) + std::chrono::milliseconds(250);
    EXPECT_EQ(ole_to_parts(ole_from_system_time(sys)).millisecond, 250);
    EXPECT_EQ(ole_to_system_time(ole_from_system_time(sys)).value(), sys);
    EXPECT_FALSE(ole_to_time_t(std::nan("")).has_value());
    env.reset();  // the old zone comes back
    tzset();
}
