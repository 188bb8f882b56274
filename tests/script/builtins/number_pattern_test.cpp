// Numbers written with the number patterns of format and exifnice.
#include <gtest/gtest.h>

#include "script/builtins/value_conversion.h"

namespace galvora::builtins {
namespace {

TEST(NumberPattern, RoundsHalfAwayFromZeroAndKeepsThePoint) {
    const struct {
        double v;
        const char* muster;
        const char* text;
    } faelle[] = {
        {2.5, "0", "3"},           {-2.5, "0", "-3"},          {0.4, "0", "0"},
        {-0.4, "0", "0"},          {3, "0.00", "3.00"},        {0.05, "0.0", "0.1"},
        {0.004, "0.0", "0.0"},     {0.096, "0.0", "0.1"},      {9.96, "0.0", "10.0"},
        {51.23, "0.0##############", "51.23"},                 {2.2, "0.0#", "2.2"},
        {2.25, "0.0#", "2.25"},    {2, "0.0#", "2.0"},         {5.8, "0.0\\m\\m", "5.8mm"},
        {8.7, "0\\m\\m", "9mm"},   {2.8, "0.00\\d\\m", "2.80dm"}, {1e20, "0", "100000000000000000000"},
        {123456.789, "0.000\\m", "123456.789m"},
    };
    for (const auto& f : faelle) EXPECT_EQ(zahl_mit_muster(f.v, f.muster), f.text) << f.v << " " << f.muster;
}

}  // namespace
}  // namespace galvora::builtins
