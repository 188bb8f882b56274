// The in-place operations on the current image, overlays, blends and crops.
#include <gtest/gtest.h>

#include "image/current_image.h"
#include "image/draw_image.h"
#include "image/pixel/draw.h"
#include "image/pixel/transform.h"
#include "image_test_support.h"

namespace galvora {
namespace {

// A picture object as far as drawing is concerned.
class Surface : public DrawingSurface {
public:
    explicit Surface(PictureBuffer b) : buffer(std::move(b)), dim_x(buffer.width()), dim_y(buffer.height()) {}
    PictureBuffer& clone_buffer() override { return buffer; }
    void clone_turned(int32_t w, int32_t h) override {
        dim_x = w;
        dim_y = h;
        rotated = true;
    }
    PictureBuffer buffer;
    int32_t dim_x, dim_y;
    bool rotated = false;
};

class Drawing : public ::testing::Test {
protected:
    std::shared_ptr<Surface> make_current(PictureBuffer b) {
        auto s = std::make_shared<Surface>(std::move(b));
        SetImage(s);
        return s;
    }
    void TearDown() override { SetImage(nullptr); }
};

std::array<uint8_t, 3> at(const PictureBuffer& b, int32_t x, int32_t y) {
    const uint8_t* p = b.pixel(x, y);
    return {p[0], p[1], p[2]};
}

TEST_F(Drawing, NothingHappensWithoutACurrentImage) {
    SetImage(nullptr);
    RotateImage(0);
    FlipImage(1);
    FillTransparentRect(0xFF, 0, 0, -1, -1, 50);
    DrawLine(0xFF, 0, 0, 10, 10);
    DrawEllipse(0xFF, 5, 5, 3, 3, 100, -1);
    EXPECT_EQ(GetImageAverageColour(), 0);
    // An object whose clone buffer is empty is harmless as well.
    auto s = make_current(PictureBuffer{});
    RotateImage(0);
    DrawEllipse(0, 5, 5, 3, 3, 100, -1);
    EXPECT_FALSE(s->rotated);
    EXPECT_EQ(GetImageAverageColour(), 0);
}

TEST_F(Drawing, QuarterTurnsSwapTheSizeAndMovePixels) {
    auto s = make_current(test::pattern(400, 300));
    const PictureBuffer original = test::pattern(400, 300);
    RotateImage(0);  // clockwise
    EXPECT_EQ(s->dim_x, 300);
    EXPECT_EQ(s->dim_y, 400);
    EXPECT_TRUE(s->rotated);
    // The top-left pixel goes to the top-right corner.
    EXPECT_EQ(at(s->buffer, 299, 0), at(original, 0, 0));
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 0, 299));
    RotateImage(2);  // back
    EXPECT_TRUE(test::same_pixels(s->buffer, original));

    s->rotated = false;
    RotateImage(1);  // half turn keeps the size and the flag
    EXPECT_EQ(s->buffer.width(), 400);
    EXPECT_FALSE(s->rotated);
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 399, 299));
    RotateImage(3);  // no such code
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 399, 299));
}

TEST_F(Drawing, Flips) {
    const PictureBuffer original = test::pattern(5, 3);
    auto s = make_current(test::pattern(5, 3));
    FlipImage(1);
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 4, 0));
    EXPECT_EQ(at(s->buffer, 2, 1), at(original, 2, 1));
    FlipImage(1);
    FlipImage(2);
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 0, 2));
    FlipImage(7);
    EXPECT_EQ(at(s->buffer, 0, 0), at(original, 0, 2));
}

TEST_F(Drawing, TransparentRectangleToTheEdges) {
    auto s = make_current(test::solid(10, 8, 0, 0, 0));
    FillTransparentRect(0x0000FF, 4, 3, -1, -1, 50);  // red at half strength
    EXPECT_EQ(at(s->buffer, 3, 3), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(s->buffer, 4, 2), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(s->buffer, 4, 3), (std::array<uint8_t, 3>{128, 0, 0}));
    EXPECT_EQ(at(s->buffer, 9, 7), (std::array<uint8_t, 3>{128, 0, 0}));
    // Rectangles far outside and opacities beyond 0..100 are safe.
    FillTransparentRect(0xFFFFFF, -2000000000, -5, 2000000000, 1, 250);
    EXPECT_EQ(at(s->buffer, 9, 0), (std::array<uint8_t, 3>{255, 255, 255}));
    FillTransparentRect(0xFFFFFF, 0, 0, -1, -1, -30);
    EXPECT_EQ(at(s->buffer, 4, 3), (std::array<uint8_t, 3>{128, 0, 0}));
}

TEST_F(Drawing, OutsideEllipsePaintsOnlyOutside) {
    // Black with the negative mode: the mask colour is white, black goes outside.
    auto s = make_current(test::solid(41, 41, 200, 150, 100));
    DrawEllipse(0, 20, 20, 10, 15, 100, -1);
    EXPECT_EQ(at(s->buffer, 0, 0), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(s->buffer, 40, 20), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(s->buffer, 20, 20), (std::array<uint8_t, 3>{200, 150, 100}));
    EXPECT_EQ(at(s->buffer, 28, 20), (std::array<uint8_t, 3>{200, 150, 100}));
    EXPECT_EQ(at(s->buffer, 20, 4), (std::array<uint8_t, 3>{0, 0, 0}));
    // Another colour at half opacity: outside blended, inside unchanged.
    auto t = make_current(test::solid(41, 41, 0, 0, 0));
    DrawEllipse(0x0000FF, 20, 20, 10, 10, 50, -1);
    EXPECT_EQ(at(t->buffer, 0, 0), (std::array<uint8_t, 3>{128, 0, 0}));
    EXPECT_EQ(at(t->buffer, 20, 20), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST_F(Drawing, FilledAndOutlinedEllipses) {
    auto s = make_current(test::solid(41, 41, 0, 0, 0));
    DrawEllipse(0xFFFFFF, 20, 20, 10, 6, 100, 1);
    EXPECT_EQ(at(s->buffer, 20, 20), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(at(s->buffer, 28, 20), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(at(s->buffer, 20, 10), (std::array<uint8_t, 3>{0, 0, 0}));
    auto o = make_current(test::solid(41, 41, 0, 0, 0));
    DrawEllipse(0xFFFFFF, 20, 20, 10, 10, 100, 0);
    EXPECT_EQ(at(o->buffer, 20, 20), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(o->buffer, 30, 20), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(at(o->buffer, 20, 10), (std::array<uint8_t, 3>{255, 255, 255}));
    // Centres and radii far off the picture are clipped, not walked.
    DrawEllipse(0xFFFFFF, 2000000000, -2000000000, 2000000000, 2000000000, 100, 1);
    DrawEllipse(0xFFFFFF, 20, 20, 0, 5, 100, 1);
}

TEST_F(Drawing, LinesReachBothEnds) {
    auto s = make_current(test::solid(20, 20, 0, 0, 0));
    DrawLine(0x00FF00, 2, 3, 17, 3);  // horizontal
    EXPECT_EQ(at(s->buffer, 2, 3), (std::array<uint8_t, 3>{0, 255, 0}));
    EXPECT_EQ(at(s->buffer, 17, 3), (std::array<uint8_t, 3>{0, 255, 0}));
    EXPECT_EQ(at(s->buffer, 18, 3), (std::array<uint8_t, 3>{0, 0, 0}));
    DrawLine(0xFF0000, 0, 0, 19, 19);  // diagonal
    for (int i = 0; i < 20; ++i) EXPECT_EQ(at(s->buffer, i, i)[2], 255);
    // A shallow line is anti-aliased: some pixels are partly covered.
    auto t = make_current(test::solid(30, 10, 0, 0, 0));
    DrawLine(0xFFFFFF, 0, 0, 29, 7);
    int partial = 0;
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 30; ++x)
            if (t->buffer.pixel(x, y)[0] > 0 && t->buffer.pixel(x, y)[0] < 255) ++partial;
    EXPECT_GT(partial, 10);
    // Far-off ends cost nothing and draw only what lies inside.
    DrawLine(0xFFFFFF, -2000000000, 5, 2000000000, 5);
    EXPECT_EQ(at(t->buffer, 15, 5), (std::array<uint8_t, 3>{255, 255, 255}));
}

TEST_F(Drawing, AverageColourOfTheCurrentClone) {
    make_current(test::solid(6, 6, 0, 0, 255));
    EXPECT_EQ(GetImageAverageColour(), 255 * 65536);
}

TEST(Overlay, OpacityTransparentColourAndClipping) {
    PictureBuffer target = test::solid(10, 10, 0, 0, 0);
    PictureBuffer stamp = test::solid(4, 4, 200, 100, 50);
    std::fill_n(stamp.pixel(0, 0), 3, 255);  // one white pixel
    // Opaque: covered pixels are replaced.
    EXPECT_TRUE(DrawImage(target, stamp, 1, 1, 100, 0, 0, 0).empty());
    EXPECT_EQ(at(target, 1, 1), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(at(target, 4, 4), (std::array<uint8_t, 3>{200, 100, 50}));
    EXPECT_EQ(at(target, 5, 5), (std::array<uint8_t, 3>{0, 0, 0}));
    // White transparent with a tolerance, the sum of the squared channel
    // differences: 3 x 15 x 15 leaves the white pixel out, one less keeps it.
    PictureBuffer t2 = test::solid(10, 10, 0, 0, 0);
    EXPECT_TRUE(DrawImage(t2, stamp, 1, 1, 100, 1, 0xF0F0F0, 675).empty());
    EXPECT_EQ(at(t2, 1, 1), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(t2, 2, 1), (std::array<uint8_t, 3>{200, 100, 50}));
    PictureBuffer t4 = test::solid(10, 10, 0, 0, 0);
    EXPECT_TRUE(DrawImage(t4, stamp, 1, 1, 100, 1, 0xF0F0F0, 674).empty());
    EXPECT_EQ(at(t4, 1, 1), (std::array<uint8_t, 3>{255, 255, 255}));
    // The editor's 10 % (19507) keeps a colour 140 away in one channel and
    // leaves out one 80 away in each of the three.
    PictureBuffer near = test::solid(2, 1, 255, 255, 255);
    std::fill_n(near.pixel(0, 0), 3, 175);
    near.pixel(1, 0)[2] = 255 - 140;
    PictureBuffer t5 = test::solid(2, 1, 0, 0, 0);
    EXPECT_TRUE(DrawImage(t5, near, 0, 0, 100, 1, 0xFFFFFF, 19507).empty());
    EXPECT_EQ(at(t5, 0, 0), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(t5, 1, 0), (std::array<uint8_t, 3>{255, 255, 115}));
    // -1 is not 1: opacity only, at half strength.
    PictureBuffer t3 = test::solid(10, 10, 0, 0, 0);
    EXPECT_TRUE(DrawImage(t3, stamp, 8, -2, 50, -1, 0xFFFFFF, 0).empty());
    EXPECT_EQ(at(t3, 9, 0), (std::array<uint8_t, 3>{100, 50, 25}));
    EXPECT_EQ(at(t3, 9, 2), (std::array<uint8_t, 3>{0, 0, 0}));
    // Stamps larger than the picture and far-off positions are clipped.
    EXPECT_TRUE(DrawImage(t3, test::solid(40, 40, 1, 2, 3), -15, -15, 100, 0, 0, 0).empty());
    EXPECT_EQ(at(t3, 9, 9), (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_TRUE(DrawImage(t3, stamp, 2000000000, 2000000000, 100, 0, 0, 0).empty());
    // No stamp picture: the overlay reports its step.
    const ErrorInfo e = DrawImage(t3, PictureBuffer{}, 0, 0, 100, 1, 0, 0);
    EXPECT_EQ(e.source, "DrawImage");
    EXPECT_EQ(e.description, "IS_OverlayRGBTrans");
    EXPECT_GT(e.number, 1000);
    EXPECT_EQ(DrawImage(t3, PictureBuffer{}, 0, 0, 100, 0, 0, 0).description, "IS_OverlayImage");
}

TEST(Overlay, StampPositions) {
    struct Case {
        int32_t position, off_x, off_y, w, h, sw, sh, x, y;
    };
    const Case cases[] = {
        {3, 10, 0, 400, 300, 50, 20, 360, 0},    // right edge 10 beyond the picture
        {2, 0, 0, 105, 50, 100, 10, 2, 0},       // round(2.5) = 2
        {2, 1, 0, 105, 50, 100, 10, 4, 0},       // round(3.5) = 4
        {1, 5, 6, 100, 100, 10, 10, 5, 6},       {5, 0, 0, 100, 100, 10, 10, 45, 45},
        {6, -3, 2, 100, 80, 10, 20, 87, 32},     {7, 1, 1, 100, 80, 10, 20, 1, 61},
        {9, 0, 0, 100, 80, 10, 20, 90, 60},      {8, 0, 0, 101, 81, 10, 20, 46, 61},
        {4, 0, 0, 100, 81, 10, 20, 0, 30},       // round(30.5) = 30
        {0, 10, 10, 100, 80, 10, 20, 0, 0},      {10, 10, 10, 100, 80, 10, 20, 0, 0},
        {-1, 10, 10, 100, 80, 10, 20, 0, 0},
        {9, INT32_MAX, INT32_MAX, 100, 80, 10, 20, INT32_MAX, INT32_MAX},  // saturates, no overflow
        {5, INT32_MIN, INT32_MIN, 100, 80, 10, 20, -2147483603, -2147483618},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        int32_t x = -99, y = -99;
        stamp_position(c.position, c.off_x, c.off_y, c.w, c.h, c.sw, c.sh, x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(Overlay, AlphaBlendAndCrop) {
    PictureBuffer target = test::solid(6, 4, 0, 0, 0);
    const PictureBuffer source = test::solid(3, 2, 255, 255, 255);
    const uint8_t mask[6] = {0, 255, 128, 255, 0, 64};
    alpha_blend(target, source, mask, 4, 2);  // the third column falls outside
    EXPECT_EQ(at(target, 4, 2)[0], 0);
    EXPECT_EQ(at(target, 5, 2)[0], 255);
    EXPECT_EQ(at(target, 4, 3)[0], 255);
    EXPECT_EQ(at(target, 5, 3)[0], 0);

    const PictureBuffer p = test::pattern(10, 8);
    PictureBuffer part = PictureBuffer::allocate(4, 3);
    crop_into(p, part, 5, 4, 9, 7);
    EXPECT_EQ(at(part, 0, 0), at(p, 5, 4));
    EXPECT_EQ(at(part, 3, 2), at(p, 8, 6));
    // A rectangle reaching outside the source copies only what exists.
    PictureBuffer edge = PictureBuffer::allocate(4, 4);
    crop_into(p, edge, 8, -2, 12, 2);
    EXPECT_EQ(at(edge, 0, 2), at(p, 8, 0));
    EXPECT_EQ(at(edge, 2, 2), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(at(edge, 0, 0), (std::array<uint8_t, 3>{0, 0, 0}));
}

}  // namespace
}  // namespace galvora
