// Resizing with every filter code, and the average colour.
#include <gtest/gtest.h>

#include "image/imaging_error.h"
#include "image/pixel/resample.h"
#include "image/resize_image.h"
#include "image_test_support.h"

namespace galvora {
namespace {

const int32_t kFilterCodes[] = {-2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 99, -7};

TEST(ResizeImage, FilterCodesSelectTheirModes) {
    EXPECT_EQ(resize_mode_for_filter(-2), 14);
    EXPECT_EQ(resize_mode_for_filter(-1), 15);
    for (int32_t code = 0; code <= 13; ++code) EXPECT_EQ(resize_mode_for_filter(code), code);
    EXPECT_EQ(resize_mode_for_filter(14), 14);
    EXPECT_EQ(resize_mode_for_filter(-3), 14);
    EXPECT_EQ(resize_mode_for_filter(1000), 14);
}

TEST(ResizeImage, EveryFilterKeepsAConstantPictureConstant) {
    const PictureBuffer flat = test::solid(97, 61, 13, 200, 255);
    const std::pair<int32_t, int32_t> sizes[] = {{40, 25}, {1, 1}, {200, 150}, {60, 61}, {97, 20}, {300, 10}};
    for (int32_t filter : kFilterCodes) {
        for (const auto& [w, h] : sizes) {
            SCOPED_TRACE(::testing::Message() << "filter " << filter << " to " << w << "x" << h);
            PictureBuffer out;
            ResizeImage(flat, w, h, out, filter);
            ASSERT_EQ(out.width(), w);
            ASSERT_EQ(out.height(), h);
            EXPECT_TRUE(test::same_pixels(out, test::solid(w, h, 13, 200, 255)));
        }
    }
}

TEST(ResizeImage, AreaAverageToOnePixelIsTheExactMean) {
    // 3 x 2 pixels whose channel sums divide evenly, then a larger odd picture.
    PictureBuffer b = PictureBuffer::allocate(3, 2);
    const uint8_t values[6][3] = {{0, 10, 255}, {30, 20, 255}, {60, 30, 0}, {90, 40, 0}, {120, 50, 255}, {150, 60, 0}};
    for (int i = 0; i < 6; ++i) std::copy(values[i], values[i] + 3, b.pixel(i % 3, i / 3));
    PictureBuffer one;
    ResizeImage(b, 1, 1, one, -2);
    EXPECT_EQ(one.data()[0], 75);
    EXPECT_EQ(one.data()[1], 35);
    EXPECT_EQ(one.data()[2], 128);  // 765 / 6 = 127.5, rounded up
    EXPECT_EQ(GetAverageColour(b), 75 + 256 * 35 + 65536 * 128);

    const PictureBuffer p = test::pattern(101, 77);
    uint64_t sum[3] = {};
    for (size_t i = 0; i < p.size_bytes(); ++i) sum[i % 3] += p.data()[i];
    const double n = 101.0 * 77.0;
    const int32_t avg = GetAverageColour(p);
    EXPECT_EQ(colour_red(avg), static_cast<int>(std::lround(sum[0] / n)));
    EXPECT_EQ(colour_green(avg), static_cast<int>(std::lround(sum[1] / n)));
    EXPECT_EQ(colour_blue(avg), static_cast<int>(std::lround(sum[2] / n)));
}

TEST(ResizeImage, SameSizeCopiesTheBytes) {
    const PictureBuffer p = test::pattern(100, 50);
    for (int32_t filter : kFilterCodes) {
        PictureBuffer out;
        ResizeImage(p, 100, 50, out, filter);
        EXPECT_TRUE(test::same_pixels(out, p));
    }
}

TEST(ResizeImage, ShrinkingOnlyOneWayUsesInterpolation) {
    // 100 x 50 to 60 x 50 shrinks only the width: the filter does not matter.
    const PictureBuffer p = test::pattern(100, 50);
    PictureBuffer a, b;
    ResizeImage(p, 60, 50, a, 8);
    ResizeImage(p, 60, 50, b, -2);
    EXPECT_TRUE(test::same_pixels(a, b));
    // Shrinking both ways: the filter decides.
    ResizeImage(p, 60, 30, a, 8);
    ResizeImage(p, 60, 30, b, -2);
    EXPECT_FALSE(test::same_pixels(a, b));
}

TEST(ResizeImage, HalvingAveragesNeighbours) {
    // Columns alternate black and white: any averaging filter gives grey, a skipping one would not.
    PictureBuffer stripes = PictureBuffer::allocate(64, 64);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) std::fill_n(stripes.pixel(x, y), 3, static_cast<uint8_t>(x % 2 ? 255 : 0));
    for (int32_t filter : {-2, -1, 1, 3, 4, 5, 9}) {
        SCOPED_TRACE(filter);
        PictureBuffer out;
        ResizeImage(stripes, 16, 16, out, filter);
        for (int32_t x = 2; x < 14; ++x) EXPECT_NEAR(out.pixel(x, 8)[0], 128, 4);
    }
}

TEST(ResizeImage, ErrorRecords) {
    const PictureBuffer p = test::pattern(10, 10);
    PictureBuffer out;
    try {
        ResizeImage(p, 0, 5, out, -2);
        FAIL() << "no error";
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.number(), 1000);
        EXPECT_EQ(e.source(), "ResizeImage");
        EXPECT_EQ(e.description(), "GlobalAlloc");
    }
    // An empty source while shrinking names the filter; while enlarging it does not.
    try {
        ResizeImage(PictureBuffer{}, 5, 5, out, 20);
        FAIL() << "no error";
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.description(), "IS_ResizeImage");
        EXPECT_FALSE(out.empty());  // the target stays allocated for the caller
    }
}

TEST(ResizeImage, AverageColourOfPurePictures) {
    EXPECT_EQ(GetAverageColour(test::solid(7, 3, 255, 0, 0)), 255);
    EXPECT_EQ(GetAverageColour(test::solid(7, 3, 0, 0, 255)), 255 * 65536);
    EXPECT_EQ(GetAverageColour(PictureBuffer{}), 0);
}

}  // namespace
}  // namespace galvora
