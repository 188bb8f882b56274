#include "profile/number_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "german_locale.h"

namespace galvora {
namespace {

TEST(NumberTextTest, GeneralFormUsesAPointAndNoNeedlessDigits) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"}, Case{2, "2"}, Case{-7, "-7"}, Case{0.5, "0.5"}, Case{1.25, "1.25"},
                          Case{-0.001, "-0.001"}, Case{0.1, "0.1"}, Case{123456.75, "123456.75"},
                          Case{1e-7, "1E-07"}, Case{1e20, "1E+20"}}) {
        EXPECT_EQ(number_to_text(c.value), c.text) << c.value;
        double back = 0;
        ASSERT_TRUE(text_to_number(number_to_text(c.value), back)) << c.text;
        EXPECT_EQ(back, c.value) << c.text;
    }
}

// The window program runs in the user's locale; a German one writes "," in
// printf's numbers. Profiles keep "." there too, so they read back anywhere.
TEST(NumberTextTest, AGermanLocaleStillWritesAPoint) {
    ASSERT_TRUE(testing::set_german_locale());
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(number_to_text(1.25), "1.25");
    EXPECT_EQ(number_to_text(-0.001), "-0.001");
    EXPECT_EQ(number_to_text(1e-7), "1E-07");
    EXPECT_EQ(number_to_text(1234567.5), "1234567.5");
    EXPECT_EQ(number_to_text(2), "2");
    testing::set_c_locale();
}

TEST(NumberTextTest, ReadingAcceptsPointAndCommaOnly) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    for (const Case& c : {Case{"0,75", true, 0.75}, Case{" 12 ", true, 12}, Case{"+3", true, 3},
                          Case{"-2.5e1", true, -25}, Case{"", false, 0}, Case{"  ", false, 0}, Case{"1,2,3", false, 0},
                          Case{"1.2.3", false, 0}, Case{"abc", false, 0}, Case{"12abc", false, 0},
                          Case{"inf", false, 0}, Case{"nan", false, 0}, Case{"+", false, 0}}) {
        double value = -1;
        EXPECT_EQ(text_to_number(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(NumberTextTest, IntegersRoundHalfToEvenAndRefuseOverflow) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    for (const Case& c : {Case{"2.5", true, 2}, Case{"3.5", true, 4}, Case{"-1.5", true, -2}, Case{"1,6", true, 2},
                          Case{"2147483647", true, 2147483647}, Case{"-2147483648", true, -2147483647 - 1},
                          Case{"2147483648", false, 0}, Case{"1e12", false, 0}, Case{"x", false, 0}}) {
        int32_t value = -1;
        EXPECT_EQ(text_to_int32(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

}  // namespace
}  // namespace galvora
