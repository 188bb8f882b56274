// Image stamps and frames: placement, stretch, transparency, load errors,
// frame bands and canvases, and the order in which list items layer.
#include <gtest/gtest.h>

#include <cstring>

#include <map>

#include "image/effects/frame_draw.h"
#include "image/effects/image_stamp_draw.h"
#include "image/effects/effect_test_support.h"
#include "image/image_test_support.h"
#include "image/picture/effect_calls.h"
#include "image/picture_io.h"
#include "image/resize_image.h"
#include "profile/effect_picture.h"

namespace galvora {
namespace {

using test::pattern;
using test::same_pixels;
using test::solid;

// Stamp and frame pictures come from memory by name instead of from files.
class StampPictures : public ::testing::Test {
protected:
    void SetUp() override {
        set_effect_picture_reader([this](const std::string& name) {
            auto it = pictures_.find(name);
            if (it == pictures_.end()) throw GalvoraError(1002, "ReadImage", "IS_OpenFileSource");
            return it->second.copy();
        });
    }
    void TearDown() override { set_effect_picture_reader({}); }

    std::map<std::string, PictureBuffer> pictures_;
};

bool pixel_is(const PictureBuffer& p, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t* px = p.pixel(x, y);
    return px[0] == r && px[1] == g && px[2] == b;
}

TEST_F(StampPictures, StampLandsOnItsGridCellWithOffsets) {
    pictures_["logo"] = solid(50, 20, 250, 10, 10);
    CImageStamp stamp;
    stamp.Name("logo");
    stamp.deckkraft(100);
    stamp.OffsetX(10);
    stamp.OffsetY(5);
    const PictureBuffer background = solid(400, 100, 0, 0, 0);
    const int32_t expect[10][2] = {{0, 0},   {10, 5},  {185, 5},  {360, 5},  {10, 45},
                                   {185, 45}, {360, 45}, {10, 85}, {185, 85}, {360, 85}};
    for (int32_t position = 0; position <= 9; ++position) {
        stamp.Position(position);
        PictureBuffer p = background.copy();
        EXPECT_TRUE(DrawImageStamp(p, &stamp).empty());
        const auto b = test::changed_area(background, p);
        EXPECT_EQ(b.left, expect[position][0]) << "position " << position;
        EXPECT_EQ(b.top, expect[position][1]) << "position " << position;
        EXPECT_EQ(b.right, std::min(expect[position][0] + 50, 400)) << "cut at the right edge";
        EXPECT_EQ(b.bottom, std::min(expect[position][1] + 20, 100));
        EXPECT_TRUE(pixel_is(p, b.left, b.top, 250, 10, 10)) << "opacity 100 replaces the pixels";
    }
    // Any position outside 1 to 9 ignores the offsets as well.
    stamp.Position(42);
    PictureBuffer p = background.copy();
    DrawImageStamp(p, &stamp);
    EXPECT_EQ(test::changed_area(background, p).left, 0);

    // Centring rounds halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
    pictures_["narrow"] = solid(395, 20, 250, 10, 10);
    CImageStamp narrow;
    narrow.Name("narrow");
    narrow.deckkraft(100);
    narrow.Position(2);
    narrow.OffsetY(0);
    for (auto [offset, x] : {std::pair{0, 2}, std::pair{1, 4}}) {
        narrow.OffsetX(offset);
        PictureBuffer q = background.copy();
        DrawImageStamp(q, &narrow);
        EXPECT_EQ(test::changed_area(background, q).left, x) << "offset " << offset;
    }
}

TEST_F(StampPictures, StretchOpacityAndTransparentColour) {
    PictureBuffer logo = solid(10, 10, 255, 255, 255);
    for (int32_t y = 3; y < 7; ++y)
        for (int32_t x = 3; x < 7; ++x) std::memset(logo.pixel(x, y), 0, 3);
    pictures_["logo"] = logo.copy();
    CImageStamp stamp;
    stamp.Name("logo");
    const PictureBuffer background = solid(60, 40, 100, 150, 200);

    // Stretched: position and offsets do not matter, the whole picture is covered.
    stamp.Strecken(1);
    stamp.deckkraft(100);
    stamp.Position(9);
    PictureBuffer p = background.copy();
    EXPECT_TRUE(DrawImageStamp(p, &stamp).empty());
    EXPECT_TRUE(pixel_is(p, 0, 0, 255, 255, 255));
    EXPECT_TRUE(pixel_is(p, 59, 39, 255, 255, 255));
    EXPECT_TRUE(pixel_is(p, 30, 20, 0, 0, 0));

    // White as transparent colour: only the black square is laid on.
    stamp.Strecken(0);
    stamp.Position(1);
    stamp.OffsetX(0), stamp.OffsetY(0);
    stamp.TransparenteFarbeNutzen(1);
    stamp.TransparenteFarbe(0xFFFFFF);
    stamp.TransparenzFarbtoleranz(0);
    p = background.copy();
    DrawImageStamp(p, &stamp);
    EXPECT_TRUE(pixel_is(p, 1, 1, 100, 150, 200));
    EXPECT_TRUE(pixel_is(p, 4, 4, 0, 0, 0));

    // -1 is not 1: plain overlay with the opacity, white included, at 50 %.
    stamp.TransparenteFarbeNutzen(-1);
    stamp.deckkraft(50);
    p = background.copy();
    DrawImageStamp(p, &stamp);
    EXPECT_NEAR(p.pixel(1, 1)[0], (100 + 255) / 2, 1);
    EXPECT_NEAR(p.pixel(4, 4)[2], 100, 1);
}

// A stamp whose name was never set has recorded no load error; the design
// reports that recorded number, 0, so the clone would be written without
// its stamp and counted as made. Every stamp without a picture reports 1000.
TEST_F(StampPictures, StampWithoutPictureReportsItsLoadError) {
    const PictureBuffer background = pattern(30, 30);
    CImageStamp never_named;
    PictureBuffer p = background.copy();
    ErrorInfo e;
    EXPECT_FALSE(apply_image_stamp(p, never_named, e));
    EXPECT_EQ(e.number, 1000);
    EXPECT_EQ(e.source, "CImageStamp:Name");
    EXPECT_EQ(e.description, "Missing Imagestamp-Name");
    EXPECT_TRUE(same_pixels(p, background));

    pictures_["logo"] = solid(5, 5, 1, 2, 3);
    CImageStamp emptied;
    emptied.Name("logo");
    emptied.Name("");
    e.clear();
    EXPECT_FALSE(apply_image_stamp(p, emptied, e));
    EXPECT_EQ(e.description, "Missing Imagestamp-Name");

    CImageStamp missing;
    missing.Name("no such picture");
    e.clear();
    EXPECT_FALSE(apply_image_stamp(p, missing, e));
    EXPECT_EQ(e.number, 1002);
    EXPECT_EQ(e.source, "ReadImage");
    EXPECT_TRUE(same_pixels(p, background));
}

TEST(ImageStampFiles, MissingOrDamagedStampFilesGiveTheReadError) {
    test::TempDir dir;
    test::write_bytes(dir.file("broken.png"), std::string("\x89PNG\r\n\x1a\nnot really", 18));
    const PictureBuffer background = pattern(20, 20);
    for (const std::string& name : {dir.file("absent.png"), dir.file("broken.png")}) {
        CImageStamp stamp;
        stamp.Name(name);
        PictureBuffer p = background.copy();
        ErrorInfo e;
        EXPECT_FALSE(apply_image_stamp(p, stamp, e)) << name;
        EXPECT_GT(e.number, 1000) << name;
        EXPECT_EQ(e.source, "ReadImage") << name;
        EXPECT_EQ(e.description.rfind("IS_", 0), 0u) << e.description;
        EXPECT_TRUE(same_pixels(p, background));
    }
    // A real file is read and laid on.
    int32_t used = 0;
    WriteImage(dir.file("logo.png"), 10, solid(4, 4, 9, 99, 199), 100, 0, false, 0, used);
    CImageStamp stamp;
    stamp.Name(dir.file("logo.png"));
    stamp.deckkraft(100);
    PictureBuffer p = background.copy();
    ErrorInfo e;
    EXPECT_TRUE(apply_image_stamp(p, stamp, e)) << e.description;
    EXPECT_TRUE(pixel_is(p, 10, 10, 9, 99, 199));
}

TEST(Frames, InnerBandsShareNoPixel) {
    struct Case {
        int32_t sides;
        int64_t l, r, t, u;
        std::vector<FrameBand> bands;
    };
    const Case cases[] = {
        {15, 0, 0, 0, 0, {{0, 0, 100, 10}, {90, 10, 100, 80}, {0, 70, 90, 80}, {0, 10, 10, 70}}},
        {10, 0, 0, 0, 0, {{90, 0, 100, 80}, {0, 0, 10, 80}}},
        {10, 3, 4, 5, 6, {{86, 5, 96, 74}, {3, 5, 13, 74}}},
        {5, 3, 4, 5, 6, {{3, 5, 96, 15}, {3, 64, 96, 74}}},
        {0, 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        FrameBand bands[4];
        const int n = inner_frame_bands(100, 80, c.sides, 10, c.l, c.r, c.t, c.u, bands);
        ASSERT_EQ(n, static_cast<int>(c.bands.size())) << "sides " << c.sides;
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(bands[i].left, c.bands[i].left) << c.sides << " band " << i;
            EXPECT_EQ(bands[i].top, c.bands[i].top) << c.sides << " band " << i;
            EXPECT_EQ(bands[i].right, c.bands[i].right) << c.sides << " band " << i;
            EXPECT_EQ(bands[i].bottom, c.bands[i].bottom) << c.sides << " band " << i;
        }
    }
    // Drawn at 50 % white on black every band pixel is blended exactly once.
    CBorder frame;
    PictureBuffer p = solid(100, 80, 0, 0, 0);
    EXPECT_TRUE(ApplyBorder(p, frame).empty());
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const bool band = x < 10 || x >= 90 || y < 10 || y >= 70;
            ASSERT_EQ(p.pixel(x, y)[0], band ? 128 : 0) << x << "," << y;
        }
}

TEST(Frames, InnerEllipseCoversOutside) {
    CBorder frame;
    frame.InnenrahmenArt(1);
    frame.deckkraft(100);
    frame.Farbe(0x0000FF);
    frame.Position(1);  // the sides play no part, only 0 would stop it
    PictureBuffer p = solid(100, 80, 0, 0, 0);
    ApplyBorder(p, frame);
    EXPECT_TRUE(pixel_is(p, 0, 0, 255, 0, 0));
    EXPECT_TRUE(pixel_is(p, 50, 40, 0, 0, 0));
    EXPECT_TRUE(pixel_is(p, 50, 5, 255, 0, 0)) << "above the ellipse of radius 30";
    EXPECT_TRUE(pixel_is(p, 50, 15, 0, 0, 0));
    frame.Breite(40);  // cy = 40 is not greater than 40
    PictureBuffer q = solid(100, 80, 0, 0, 0);
    ApplyBorder(q, frame);
    EXPECT_TRUE(same_pixels(q, solid(100, 80, 0, 0, 0)));
}

TEST(Frames, OuterFrameGrowsThePicture) {
    const PictureBuffer original = pattern(100, 80);
    CBorder frame;
    frame.RahmenArt(1);
    frame.Position(5);  // top and bottom
    frame.Farbe(0x00FF00);
    PictureBuffer p = original.copy();
    EXPECT_TRUE(ApplyBorder(p, frame).empty());
    EXPECT_EQ(p.width(), 100);
    EXPECT_EQ(p.height(), 100);
    EXPECT_TRUE(pixel_is(p, 50, 5, 0, 255, 0));
    EXPECT_TRUE(pixel_is(p, 50, 95, 0, 255, 0));
    EXPECT_EQ(std::memcmp(p.pixel(0, 10), original.pixel(0, 0), 3), 0);

    frame.Position(15);
    frame.FarbePassend(1);
    p = original.copy();
    ApplyBorder(p, frame);
    EXPECT_EQ(p.width(), 120);
    EXPECT_EQ(p.height(), 100);
    const int32_t mean = GetAverageColour(original);
    EXPECT_TRUE(pixel_is(p, 0, 0, colour_red(mean), colour_green(mean), colour_blue(mean)));
    EXPECT_TRUE(pixel_is(p, 119, 99, colour_red(mean), colour_green(mean), colour_blue(mean)));
    EXPECT_EQ(std::memcmp(p.pixel(10, 10), original.pixel(0, 0), 3), 0);
    EXPECT_EQ(std::memcmp(p.pixel(109, 89), original.pixel(99, 79), 3), 0);

    // A negative width frames nothing rather than cutting the picture.
    frame.Breite(-10);
    p = original.copy();
    ApplyBorder(p, frame);
    EXPECT_TRUE(same_pixels(p, original));
}

TEST_F(StampPictures, PictureFrameTiledAndStretched) {
    pictures_["tile"] = pattern(30, 30);
    const PictureBuffer original = solid(100, 80, 1, 2, 3);
    CBorder frame;
    frame.RahmenArt(2);
    frame.Bildname("tile");
    PictureBuffer p = original.copy();
    EXPECT_TRUE(ApplyBorder(p, frame).empty());
    ASSERT_EQ(p.width(), 120);
    ASSERT_EQ(p.height(), 100);
    const PictureBuffer& tile = frame.pRGB();
    for (auto [x, y] : {std::pair{0, 0}, std::pair{35, 5}, std::pair{95, 95}, std::pair{119, 99}, std::pair{5, 62}})
        EXPECT_EQ(std::memcmp(p.pixel(x, y), tile.pixel(x % 30, y % 30), 3), 0) << x << "," << y;
    EXPECT_TRUE(pixel_is(p, 10, 10, 1, 2, 3));
    EXPECT_TRUE(pixel_is(p, 109, 89, 1, 2, 3));

    frame.Bildverteilung(1);
    p = original.copy();
    EXPECT_TRUE(ApplyBorder(p, frame).empty());
    PictureBuffer stretched;
    ResizeImage(tile, 120, 100, stretched, -2);
    EXPECT_EQ(std::memcmp(p.pixel(119, 99), stretched.pixel(119, 99), 3), 0);
    EXPECT_EQ(std::memcmp(p.pixel(3, 50), stretched.pixel(3, 50), 3), 0);
    EXPECT_TRUE(pixel_is(p, 10, 10, 1, 2, 3));
}

TEST_F(StampPictures, FramesThatDoNothing) {
    const PictureBuffer original = pattern(50, 40);
    struct Case {
        const char* name;
        int32_t kind, inner, sides, from_picture;
        bool named;
    };
    const Case cases[] = {
        {"inner, no sides", 0, 0, 0, 0, false},   {"ellipse, no sides", 0, 1, 0, 0, false},
        {"outer, no sides", 1, 0, 0, 0, false},   {"picture, no sides", 2, 0, 0, 0, true},
        {"kind 3", 3, 0, 15, 0, true},            {"kind -1", -1, 0, 15, 0, true},
        {"picture frame without picture", 2, 0, 15, 0, false},
    };
    pictures_["tile"] = solid(8, 8, 9, 9, 9);
    for (const Case& c : cases) {
        CBorder frame;
        frame.RahmenArt(c.kind);
        frame.InnenrahmenArt(c.inner);
        frame.Position(c.sides);
        if (c.named) frame.Bildname("tile");
        PictureBuffer p = original.copy();
        ErrorInfo e;
        EXPECT_TRUE(apply_border(p, frame, e)) << c.name;
        EXPECT_TRUE(same_pixels(p, original)) << c.name;
    }
    // The average colour switch means nothing to an inner frame.
    CBorder plain, passend;
    passend.FarbePassend(1);
    PictureBuffer a = original.copy(), b = original.copy();
    ApplyBorder(a, plain);
    ApplyBorder(b, passend);
    EXPECT_TRUE(same_pixels(a, b));
}

TEST_F(StampPictures, ListOrderDecidesTheLayers) {
    // A stamp in the top-left corner and a 10-pixel outer frame: stamped
    // first, the stamp moves inside with the picture; framed first, it lies
    // on the frame.
    pictures_["logo"] = solid(4, 4, 255, 0, 0);
    CImageStamp stamp;
    stamp.Name("logo");
    stamp.deckkraft(100);
    stamp.OffsetX(0), stamp.OffsetY(0);
    CBorder frame;
    frame.RahmenArt(1);
    frame.Farbe(0x00FF00);
    const PictureBuffer original = solid(40, 30, 0, 0, 0);
    ErrorInfo e;

    PictureBuffer stamped_first = original.copy();
    ASSERT_TRUE(apply_image_stamp(stamped_first, stamp, e));
    ASSERT_TRUE(apply_border(stamped_first, frame, e));
    EXPECT_TRUE(pixel_is(stamped_first, 0, 0, 0, 255, 0));
    EXPECT_TRUE(pixel_is(stamped_first, 10, 10, 255, 0, 0));

    PictureBuffer framed_first = original.copy();
    ASSERT_TRUE(apply_border(framed_first, frame, e));
    ASSERT_TRUE(apply_image_stamp(framed_first, stamp, e));
    EXPECT_TRUE(pixel_is(framed_first, 0, 0, 255, 0, 0));
    EXPECT_TRUE(pixel_is(framed_first, 10, 10, 0, 0, 0));
}

}  // namespace
}  // namespace galvora
