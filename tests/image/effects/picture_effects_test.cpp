// Picture effects: identities, the kinds that do nothing, parameter routing,
// the size changes of drop shadow and turns, the mosaic's cells, and
// parameters far outside their ranges.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "image/effects/artistic_effects.h"
#include "image/effects/blur_kernels.h"
#include "image/effects/edge_detect.h"
#include "image/effects/effect_dispatch.h"
#include "image/effects/filter_effects.h"
#include "image/effects/geometry_effects.h"
#include "image/effects/tone_effects.h"
#include "image/image_test_support.h"
#include "image/picture/effect_calls.h"
#include "image/resize_image.h"

namespace galvora {
namespace {

using test::max_difference;
using test::pattern;
using test::same_pixels;
using test::solid;

std::unique_ptr<CBildEffekt> effect_of(int32_t kind) {
    auto e = std::make_unique<CBildEffekt>();
    e->Bildeffektart(kind);
    return e;
}

PictureBuffer applied(const PictureBuffer& picture, const CBildEffekt& effect) {
    PictureBuffer p = picture.copy();
    ErrorInfo error;
    EXPECT_TRUE(apply_picture_effect(p, effect, error)) << error.description;
    EXPECT_TRUE(error.empty());
    return p;
}

PictureBuffer applied(const PictureBuffer& picture, const std::unique_ptr<CBildEffekt>& effect) {
    return applied(picture, *effect);
}

TEST(PictureEffects, IdentitiesGiveThePictureBack) {
    const PictureBuffer original = pattern(37, 23);
    PictureBuffer p = original.copy();
    EffectInvert(p);
    EXPECT_FALSE(same_pixels(p, original));
    EffectInvert(p);
    EXPECT_TRUE(same_pixels(p, original)) << "invert twice";

    struct Case {
        const char* name;
        int32_t kind;
        int index;
        double value;
    };
    const Case cases[] = {
        {"gamma 1", 1, 1, 1.0},        {"brightness and contrast 0", 2, 1, 0.0},
        {"saturation 1", 4, 1, 1.0},   {"blur size 1", 3, 1, -1},
        {"blur intensity 0", 3, 0, 0}, {"flip code 0", 14, 0, 0},
    };
    for (const Case& c : cases) {
        auto e = effect_of(c.kind);
        if (c.kind == 3 && c.index == 1) e->LongArray(1, 1);
        if (c.kind == 3 && c.index == 0) e->DoubleArray(1, 0.0);
        if (c.kind == 14) e->LongArray(1, 0);
        if (c.kind != 3 && c.kind != 14) e->DoubleArray(c.index, c.value);
        EXPECT_TRUE(same_pixels(applied(original, e), original)) << c.name;
    }
}

TEST(PictureEffects, NoOperationAndUnknownKindsChangeNothing) {
    const PictureBuffer original = pattern(20, 10);
    for (int32_t kind : {6, 7, 8, 9, 10, 26, -1, 1000}) {
        CBildEffekt e;
        e.Bildeffektart(kind);
        for (int i = 1; i <= 10; ++i) e.LongArray(i, 5), e.DoubleArray(i, 0.5);
        EXPECT_TRUE(same_pixels(applied(original, e), original)) << "kind " << kind;
    }
    // An empty picture (no clone) is left alone by every kind.
    for (int32_t kind = 0; kind < kPictureEffectKinds; ++kind) {
        PictureBuffer empty;
        ErrorInfo error;
        EXPECT_TRUE(apply_picture_effect(empty, *effect_of(kind), error));
        EXPECT_TRUE(empty.empty());
    }
}

TEST(PictureEffects, EveryKindKeepsTheSizeExceptShadowAndTurns) {
    const PictureBuffer original = pattern(40, 30);
    for (int32_t kind = 0; kind < kPictureEffectKinds; ++kind) {
        if (kind == 15) continue;
        auto e = effect_of(kind);
        if (kind == 13) e->LongArray(1, 1);  // the half turn keeps the size
        const PictureBuffer p = applied(original, e);
        EXPECT_EQ(p.width(), 40) << "kind " << kind;
        EXPECT_EQ(p.height(), 30) << "kind " << kind;
    }
    auto quarter = effect_of(13);
    quarter->LongArray(1, 0);
    const PictureBuffer turned = applied(original, quarter);
    EXPECT_EQ(turned.width(), 30);
    EXPECT_EQ(turned.height(), 40);
    // The quarter turn clockwise puts the bottom-left pixel top-left.
    EXPECT_EQ(0, std::memcmp(turned.pixel(0, 0), original.pixel(0, 29), 3));
}

TEST(PictureEffects, DropShadowGrowsThePictureByOffsetAndDiffusion) {
    const PictureBuffer original = solid(100, 80, 10, 200, 30);
    struct Case {
        int32_t offset, direction, diffusion;
        int32_t width, height, picture_x, picture_y;
    };
    const Case cases[] = {
        {10, 135, 10, 120, 100, 3, 3},                         // down right: 7 each way, soft rim of 10
        {10, 0, 5, 100 + 10, 80 + 10 + 5, 5, 15},             // straight up
        {0, 135, 3, 106, 86, 3, 3},                            // under the picture, only the soft rim shows
        {20, 270, 1, 100 + 21, 80 + 2, 21, 1},                 // to the left
    };
    for (const Case& c : cases) {
        auto e = effect_of(15);
        e->LongArray(1, c.offset);
        e->LongArray(2, c.direction);
        e->LongArray(6, c.diffusion);
        e->LongArray(5, 0x000000);
        const PictureBuffer p = applied(original, e);
        EXPECT_EQ(p.width(), c.width) << c.offset << "/" << c.direction;
        EXPECT_EQ(p.height(), c.height) << c.offset << "/" << c.direction;
        const uint8_t* inside = p.pixel(c.picture_x, c.picture_y);
        EXPECT_EQ(inside[0], 10);
        EXPECT_EQ(inside[1], 200);
        EXPECT_EQ(inside[2], 30);
    }
    // The background colour fills the corner the shadow does not reach.
    auto e = effect_of(15);
    e->LongArray(3, 0x0000FF);  // red background
    const PictureBuffer p = applied(original, e);
    EXPECT_GE(p.pixel(p.width() - 1, 0)[0], 250);
    EXPECT_EQ(p.pixel(p.width() - 1, 0)[1], 0);
    // And the shadow is dark beside the picture's far corner.
    const uint8_t* deep = p.pixel(p.width() - 14, p.height() - 14);
    EXPECT_LT(deep[0], 128);
}

TEST(PictureEffects, DropShadowColourFromThePictureOnlyWhenAsked) {
    const PictureBuffer original = solid(30, 30, 0, 0, 250);  // blue
    auto e = effect_of(15);
    e->LongArray(1, 20);
    e->LongArray(2, 90);
    e->LongArray(6, 1);
    e->LongArray(5, 0x00FF00);  // green, used only while L4 is not 1
    const PictureBuffer green = applied(original, e);
    const uint8_t* g = green.pixel(green.width() - 5, 15);
    EXPECT_EQ(g[1], 255);
    e->LongArray(4, 1);
    const PictureBuffer blue = applied(original, e);
    const uint8_t* b = blue.pixel(blue.width() - 5, 15);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 250);
    e->LongArray(4, 2);  // only 1 switches to the picture's colour
    EXPECT_TRUE(same_pixels(applied(original, e), green));
}

// Distinct runs of colour along a row: the number of mosaic columns.
int runs_in_row(const PictureBuffer& p, int32_t y) {
    int runs = 1;
    for (int32_t x = 1; x < p.width(); ++x)
        if (std::memcmp(p.pixel(x, y), p.pixel(x - 1, y), 3) != 0) ++runs;
    return runs;
}

TEST(PictureEffects, MosaicMakesFlatCells) {
    PictureBuffer original = PictureBuffer::allocate(95, 40);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 95; ++x) {
            uint8_t* px = original.pixel(x, y);
            px[0] = static_cast<uint8_t>(x * 2), px[1] = static_cast<uint8_t>(y * 5), px[2] = 7;
        }
    auto e = effect_of(12);  // 10 x 10 cells
    const PictureBuffer p = applied(original, e);
    EXPECT_EQ(runs_in_row(p, 0), 9) << "95 pixels in cells of 10 make 9 columns";
    EXPECT_EQ(runs_in_row(p, 39), 9);
    // Every cell is one flat colour: within a column, rows change only at cell edges.
    std::set<int32_t> row_changes;
    for (int32_t y = 1; y < 40; ++y)
        if (std::memcmp(p.pixel(0, y), p.pixel(0, y - 1), 3) != 0) row_changes.insert(y);
    EXPECT_EQ(row_changes, (std::set<int32_t>{10, 20, 30}));

    // Cells larger than the picture leave one colour, the picture's mean.
    e->LongArray(1, 99), e->LongArray(2, 99);
    const PictureBuffer one = applied(original, e);
    EXPECT_EQ(runs_in_row(one, 0), 1);
    EXPECT_EQ(std::memcmp(one.pixel(0, 0), one.pixel(94, 39), 3), 0);
    const int32_t mean = GetAverageColour(original);
    EXPECT_NEAR(one.pixel(50, 20)[0], colour_red(mean), 1);

    // Cell sizes of zero or below count as one pixel: no division by zero,
    // and each pixel is its own cell.
    for (int32_t bad : {0, -5, INT32_MIN}) {
        e->LongArray(1, bad), e->LongArray(2, bad);
        EXPECT_TRUE(same_pixels(applied(original, e), original)) << bad;
    }
}

TEST(PictureEffects, ParameterRouting) {
    const PictureBuffer original = pattern(48, 32);
    // Watercolour: only the value 1 switches a flag on.
    auto water = effect_of(21);
    const PictureBuffer plain = applied(original, water);
    water->LongArray(1, 2);
    EXPECT_TRUE(same_pixels(applied(original, water), plain));
    water->LongArray(1, 1);
    EXPECT_FALSE(same_pixels(applied(original, water), plain));

    // Unsharp mask always blurs with radius 2, whatever D2 holds.
    auto unsharp = effect_of(5);
    unsharp->LongArray(1, 0);
    const PictureBuffer sharp = applied(original, unsharp);
    EXPECT_FALSE(same_pixels(sharp, original));
    unsharp->DoubleArray(2, 40.0);
    EXPECT_TRUE(same_pixels(applied(original, unsharp), sharp));

    // Noise: monochrome only for L2 = 1; the same run gives the same noise.
    auto noise = effect_of(16);
    const PictureBuffer n1 = applied(original, noise);
    EXPECT_TRUE(same_pixels(applied(original, noise), n1)) << "fixed seed";
    EXPECT_FALSE(same_pixels(n1, original));
    noise->LongArray(2, 1);
    const PictureBuffer grey_noise = applied(solid(20, 20, 128, 128, 128), noise);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const uint8_t* px = grey_noise.pixel(x, y);
            ASSERT_TRUE(px[0] == px[1] && px[1] == px[2]);
        }

    // Flip: 1 mirrors left-right, 2 top-bottom.
    auto flip = effect_of(14);
    const PictureBuffer mirrored = applied(original, flip);
    EXPECT_EQ(std::memcmp(mirrored.pixel(0, 5), original.pixel(47, 5), 3), 0);
    flip->LongArray(1, 2);
    const PictureBuffer upside = applied(original, flip);
    EXPECT_EQ(std::memcmp(upside.pixel(3, 0), original.pixel(3, 31), 3), 0);
}

TEST(PictureEffects, ToneEffectsFollowTheirCurves) {
    PictureBuffer p = pattern(16, 16);
    EffectGrayscale(p);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) ASSERT_TRUE(p.pixel(x, y)[0] == p.pixel(x, y)[2]);

    struct Case {
        uint8_t in, solarized, posterized;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{100, 100, 85}, Case{127, 127, 85}, Case{128, 127, 170},
                          Case{200, 55, 255}, Case{255, 0, 255}}) {
        PictureBuffer s = solid(1, 1, c.in, c.in, c.in);
        EffectSolarize(s);
        EXPECT_EQ(s.data()[0], c.solarized) << int(c.in);
        PictureBuffer q = solid(1, 1, c.in, c.in, c.in);
        EffectPosterize(q);
        EXPECT_EQ(q.data()[0], c.posterized) << int(c.in);
    }

    // Duotone: black stays black, white stays white, middle grey takes the colour.
    PictureBuffer d = PictureBuffer::allocate(3, 1);
    std::memset(d.pixel(1, 0), 128, 3);
    std::memset(d.pixel(2, 0), 255, 3);
    EffectDuotone(d, 0x004080);
    EXPECT_EQ(d.pixel(0, 0)[0], 0);
    EXPECT_EQ(d.pixel(1, 0)[0], 128);
    EXPECT_EQ(d.pixel(1, 0)[1], 64);
    EXPECT_EQ(d.pixel(1, 0)[2], 0);
    EXPECT_EQ(d.pixel(2, 0)[2], 255);

    // Gamma above 1 lightens the middle tones, contrast spreads them.
    PictureBuffer g = solid(1, 1, 64, 128, 192);
    EffectGamma(g, 2.0);
    EXPECT_EQ(g.data()[0], 128);  // 255 * sqrt(64 / 255)
    PictureBuffer c = solid(1, 1, 100, 128, 160);
    EffectBrightnessContrast(c, 0.0, 0.5);
    EXPECT_LT(c.data()[0], 100);
    EXPECT_GT(c.data()[2], 160);
    PictureBuffer b = solid(1, 1, 10, 128, 250);
    EffectBrightnessContrast(b, 0.2, 0.0);
    EXPECT_EQ(b.data()[0], 61);
    EXPECT_EQ(b.data()[2], 255);
    PictureBuffer s = solid(1, 1, 200, 100, 100);
    EffectSaturation(s, 0.1);
    EXPECT_LT(s.data()[0] - s.data()[1], 20);
}

TEST(PictureEffects, HalftoneIsBlackAndWhiteWithDotsByDarkness) {
    PictureBuffer ramp = PictureBuffer::allocate(90, 30);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 90; ++x) std::memset(ramp.pixel(x, y), x < 30 ? 30 : (x < 60 ? 128 : 230), 3);
    EffectHalftone(ramp, 3);
    int black[3] = {0, 0, 0};
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 90; ++x) {
            const uint8_t v = ramp.pixel(x, y)[0];
            ASSERT_TRUE(v == 0 || v == 255);
            if (v == 0) ++black[x / 30];
        }
    EXPECT_GT(black[0], black[1]);
    EXPECT_GT(black[1], black[2]);
}

TEST(PictureEffects, FiltersLeaveFlatPicturesFlat) {
    const PictureBuffer flat = solid(25, 17, 90, 140, 200);
    for (int32_t kind : {0, 3, 5, 20}) {
        EXPECT_EQ(max_difference(applied(flat, effect_of(kind)), flat), 0) << "kind " << kind;
    }
    // Edge detection of a flat picture: no edges at all.
    PictureBuffer e = flat.copy();
    EffectEdgeDetect(e, 0.1, 0, 0);
    EXPECT_EQ(max_difference(e, solid(25, 17, 0, 0, 0)), 0);
}

TEST(PictureEffects, EdgeDetectionOutlinesASquare) {
    PictureBuffer p = solid(40, 40, 20, 20, 20);
    for (int32_t y = 10; y < 30; ++y)
        for (int32_t x = 10; x < 30; ++x) std::memset(p.pixel(x, y), 230, 3);
    const PictureBuffer edges = applied(p, effect_of(22));
    int on_edge = 0, elsewhere = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const uint8_t* px = edges.pixel(x, y);
            ASSERT_TRUE(px[0] == px[1] && px[1] == px[2]);
            ASSERT_TRUE(px[0] == 0 || px[0] == 255);
            const bool near_edge = (x >= 8 && x <= 31 && y >= 8 && y <= 31) && !(x >= 12 && x <= 27 && y >= 12 && y <= 27);
            if (px[0] == 255) ++(near_edge ? on_edge : elsewhere);
        }
    EXPECT_GE(on_edge, 60) << "the square's outline is found";
    EXPECT_EQ(elsewhere, 0);
}

TEST(PictureEffects, BlurOfAnEdgeSpreadsOverItsSize) {
    // Left half black, right half white: the blur of size s softens the step
    // over (s - 1) / 2 pixels to each side and no further.
    PictureBuffer p = solid(200, 4, 0, 0, 0);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 100; x < 200; ++x) std::memset(p.pixel(x, y), 255, 3);
    EffectBlur(p, 41, 1.0, 7);
    EXPECT_EQ(p.pixel(79, 1)[0], 0);
    EXPECT_GT(p.pixel(90, 1)[0], 0);
    EXPECT_LT(p.pixel(110, 1)[0], 255);
    EXPECT_EQ(p.pixel(120, 1)[0], 255);
    EXPECT_NEAR(p.pixel(99, 1)[0] + p.pixel(100, 1)[0], 255, 3);
}

TEST(PictureEffects, HugeParametersStayInTheirRanges) {
    const PictureBuffer original = pattern(30, 20);
    // Each kind with every parameter at an extreme: the result is the same
    // as with the range's end, and nothing runs away. A profile written by
    // hand or by another program may hold any number; taken as it stands, a
    // blur or a drop shadow of two billion pixels would run for hours or ask
    // for more memory than there is. Values are held to the
    // ranges the effect's option page offers.
    struct Case {
        int32_t kind;
        int index;
        bool is_long;
        double huge, range_end;
    };
    const Case cases[] = {
        {0, 1, true, 2e9, 100},      {1, 1, false, 1e300, 2.0},  {2, 1, false, -1e9, -1.0},
        {3, 1, true, 2e9, 200},      {3, 1, true, -2e9, 1},      {4, 1, false, 1e9, 10.0},
        {5, 1, true, -7, 0},         {16, 1, true, 2e9, 4000000}, {20, 1, true, 2e9, 12},
        {21, 1, false, 1e9, 1.0},    {22, 1, false, 1e9, 2.0},   {24, 1, true, 2e9, 99},
        {25, 1, true, 2e9, 4},       {25, 2, true, -2e9, 0},     {15, 6, true, 2e9, 100},
    };
    for (const Case& c : cases) {
        auto a = effect_of(c.kind), b = effect_of(c.kind);
        if (c.is_long) {
            a->LongArray(c.index, static_cast<int32_t>(c.huge));
            b->LongArray(c.index, static_cast<int32_t>(c.range_end));
        } else {
            a->DoubleArray(c.index, c.huge);
            b->DoubleArray(c.index, c.range_end);
        }
        EXPECT_TRUE(same_pixels(applied(original, a), applied(original, b))) << "kind " << c.kind;
    }
    // A shadow whose canvas would pass the pixel limit is refused with the
    // allocation error and leaves the picture as it was.
    set_pixel_limit(50'000);
    auto shadow = effect_of(15);
    shadow->LongArray(1, 9999);
    PictureBuffer p = original.copy();
    ErrorInfo error;
    EXPECT_FALSE(apply_picture_effect(p, *shadow, error));
    EXPECT_EQ(error.source, "ApplyEffect");
    EXPECT_EQ(error.description, "GlobalAlloc");
    EXPECT_GT(error.number, 1000);
    EXPECT_TRUE(same_pixels(p, original));
    set_pixel_limit(0);
}

TEST(BlurKernels, SmoothBlurSplitsItsReachOverThreeBoxes) {
    int32_t r[3];
    for (int32_t reach : {0, 1, 2, 3, 4, 99, 100}) {
        smooth_blur_radii(reach, r);
        EXPECT_EQ(r[0] + r[1] + r[2], reach);
        EXPECT_LE(r[0] - r[2], 1);
    }
    // A box blur of a single bright pixel spreads its value evenly.
    std::vector<uint8_t> plane(11 * 11, 0);
    plane[5 * 11 + 5] = 225;
    box_blur(plane.data(), 11, 11, 1, 1);
    EXPECT_EQ(plane[4 * 11 + 4], 25);
    EXPECT_EQ(plane[6 * 11 + 6], 25);
    EXPECT_EQ(plane[3 * 11 + 5], 0);
}

}  // namespace
}  // namespace galvora
