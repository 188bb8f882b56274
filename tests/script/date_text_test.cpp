// Date values written with the pattern letters of the language's patterns.
#include <gtest/gtest.h>

#include "script/date_text.h"

namespace galvora {
namespace {

TEST(DateText, PatternLetters) {
    struct Fall {
        double datum;
        const char* muster;
        const char* text;
    };
    const Fall faelle[] = {
        {45000.75, "dd.mm.yyyy hh:mm:ss", "15.03.2023 18:00:00"},
        {45000.75, "d.m.yyyy", "15.3.2023"},
        {45000.75, "hh:mm:ss", "18:00:00"},
        {45000.5 + 65.0 / 86400, "h:nn:ss", "12:01:05"},
        {45000.5 + 65.0 / 86400, "yy-m-d h:n:s", "23-3-15 12:1:5"},
        {45000.75, "dddd, d. mmmm yyyy", "Wednesday, 15. March 2023"},
        {45000.75, "ddd mmm", "Wed Mar"},
        {45000.75, "\"Tag\" d", "Tag 15"},
        {0.0, "dd.mm.yyyy hh:mm:ss", "30.12.1899 00:00:00"},
        {-1.25, "dd.mm.yyyy hh:mm", "29.12.1899 06:00"},
        {45000.9999999, "dd.mm.yyyy hh:mm:ss", "16.03.2023 00:00:00"},
        {2.0, "", ""},
    };
    for (const auto& f : faelle) EXPECT_EQ(ole_datum_formatieren(f.datum, f.muster), f.text) << f.muster;
}

}  // namespace
}  // namespace galvora
