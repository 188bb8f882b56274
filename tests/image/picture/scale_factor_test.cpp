#include "image/picture/scale_factor.h"

#include <gtest/gtest.h>

namespace galvora {
namespace {

struct ScaleCase {
    int32_t width, height, length, box_width, box_height, side;
    int32_t expected_width, expected_height;
};

TEST(ScaleFactor, SideChoicesGiveTheTargetSize) {
    const ScaleCase cases[] = {
        {1000, 750, 640, 0, 0, 1, 640, 480},     // longer side is the width
        {750, 1000, 640, 0, 0, 1, 480, 640},     // longer side is the height
        {800, 800, 640, 0, 0, 1, 640, 640},      // square: the height decides
        {1000, 300, 0, 200, 100, 4, 200, 60},    // fit: the width is the tighter side
        {300, 1000, 0, 200, 100, 4, 30, 100},    // fit: the height is the tighter side
        {1000, 500, 0, 250, 0, 2, 250, 125},     // width
        {1000, 500, 0, 0, 100, 3, 200, 100},     // height
    };
    for (const ScaleCase& c : cases) {
        const double f = BerechneSkalierung(c.width, c.height, c.length, c.box_width, c.box_height, c.side);
        EXPECT_EQ(scaled_size(c.width, c.height, f), (PixelSize{c.expected_width, c.expected_height}))
            << c.width << "x" << c.height << " side " << c.side;
    }
    EXPECT_DOUBLE_EQ(BerechneSkalierung(1000, 750, 640, 0, 0, 1), 0.64);
}

TEST(ScaleFactor, OtherSideChoicesGiveNoFactor) {
    EXPECT_EQ(BerechneSkalierung(1000, 750, 640, 200, 100, 0), 0);
    EXPECT_EQ(BerechneSkalierung(1000, 750, 640, 200, 100, 5), 0);
    EXPECT_EQ(BerechneSkalierung(1000, 750, 640, 200, 100, -1), 0);
}

TEST(ScaleFactor, HalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(scaled_size(640, 5, 0.5), (PixelSize{320, 2}));  // 2.5 -> 2
    EXPECT_EQ(scaled_size(7, 9, 0.5), (PixelSize{4, 4}));      // 3.5 -> 4, 4.5 -> 4
    EXPECT_EQ(round_half_even(50.5), 50);
    EXPECT_EQ(round_half_even(63.0), 63);
    EXPECT_EQ(round_half_even(-0.5), 0);
    EXPECT_EQ(round_half_even(1e12), 2147483647);
}

}  // namespace
}  // namespace galvora
