// Text stamps: the box measured at four times the height, its placement and
// alignment, turned text, background box, outline rings, the readable
// colour, line breaks, font fallback and arguments far out of range. Glyph
// pixels themselves are not compared; only where ink lands.
#include <gtest/gtest.h>

#include <cstring>

#include "image/effects/effect_test_support.h"
#include "image/effects/text_renderer.h"
#include "image/effects/text_stamp_draw.h"
#include "image/image_test_support.h"
#include "image/picture/effect_calls.h"

// fontconfig keeps a few bytes of its configuration parse that it never frees.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace galvora {
namespace {

using test::same_pixels;
using test::solid;

TextStampArguments stamp_args(const std::string& text) {
    TextStampArguments a;
    a.text = text;
    a.font = "DejaVu Sans";
    a.height = 20;
    a.color = 0xFFFFFF;
    a.position = 1;
    return a;
}

int64_t round_even(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

TEST(TextStamp, BoxIsTheQuadrupleMeasureQuarteredPlusOne) {
    for (const char* text : {"Galvora", "Wide text%\\x", "ab%\\%\\c"}) {
        TextStampArguments a = stamp_args(text);
        TextStampLayout box;
        ASSERT_TRUE(layout_text_stamp(800, 600, a, box)) << text;
        TextFont big{a.font, 80};
        int64_t w = 0, h = 0;
        std::string lines = text;
        for (size_t i; (i = lines.find("%\\")) != std::string::npos;) lines.replace(i, 2, "\r\n");
        ASSERT_TRUE(measure_text(lines, big, w, h));
        EXPECT_EQ(box.width, round_even(w / 4.0 + 1)) << text;
        EXPECT_EQ(box.height, round_even(h / 4.0 + 1)) << text;
        EXPECT_EQ(box.text, lines);
    }
    // One line per cell: three lines are three times as high as one.
    TextStampLayout one, three;
    ASSERT_TRUE(layout_text_stamp(800, 600, stamp_args("x"), one));
    ASSERT_TRUE(layout_text_stamp(800, 600, stamp_args("x%\\x%\\x"), three));
    EXPECT_EQ(one.height, 21);  // 80 / 4 + 1
    EXPECT_EQ(three.height, 61);
}

TEST(TextStamp, PlacementAndAutomaticAlignment) {
    TextStampArguments a = stamp_args("Corner");
    a.offset_x = -10, a.offset_y = -10;
    TextStampLayout box;
    struct Case {
        int32_t position, alignment, expected_alignment;
    };
    for (const Case& c : {Case{1, 0, 1}, Case{2, 0, 2}, Case{3, 0, 3}, Case{4, 0, 1}, Case{5, 0, 2}, Case{6, 0, 3},
                          Case{7, 0, 1}, Case{8, 0, 2}, Case{9, 0, 3}, Case{0, 0, 1}, Case{-4, 0, 1},
                          Case{9, 1, 1}, Case{1, 2, 2}, Case{1, 3, 3}, Case{5, 7, 1}}) {
        a.position = c.position, a.alignment = c.alignment;
        ASSERT_TRUE(layout_text_stamp(800, 600, a, box));
        EXPECT_EQ(box.alignment, c.expected_alignment) << "position " << c.position << " alignment " << c.alignment;
    }
    a.position = 9;
    ASSERT_TRUE(layout_text_stamp(800, 600, a, box));
    EXPECT_EQ(box.x, 800 - box.width - 10);
    EXPECT_EQ(box.y, 600 - box.height - 10);
    a.offset_x = 10, a.offset_y = 10;
    ASSERT_TRUE(layout_text_stamp(800, 600, a, box));
    EXPECT_EQ(box.x, 800 - box.width + 10) << "offsets move past the edge";
    a.position = 0;
    ASSERT_TRUE(layout_text_stamp(800, 600, a, box));
    EXPECT_EQ(box.x, 0) << "no anchor: offsets ignored";
    EXPECT_EQ(box.y, 0);
    // Centred: (801 - w) / 2 rounded half to even, offset included.
    a.position = 2, a.offset_x = 0;
    ASSERT_TRUE(layout_text_stamp(801, 600, a, box));
    EXPECT_EQ(box.x, round_even((801 - box.width) / 2.0));
    a.offset_x = 1;
    ASSERT_TRUE(layout_text_stamp(801, 600, a, box));
    EXPECT_EQ(box.x, round_even((801 - box.width) / 2.0 + 1));
}

TEST(TextStamp, TurnedTextSwapsTheBoxAndReadsTheRightWay) {
    // Ink only at the start of the line: where it lands shows the turn.
    TextStampArguments a = stamp_args("M          ");
    a.position = 5;
    TextStampLayout upright, box;
    ASSERT_TRUE(layout_text_stamp(400, 400, a, upright));
    const PictureBuffer black = solid(400, 400, 0, 0, 0);
    struct Case {
        int32_t direction;
        bool swapped;
        const char* ink_side;
    };
    for (const Case& c : {Case{0, false, "left"}, Case{1, true, "top"}, Case{2, false, "right"}, Case{3, true, "bottom"}}) {
        a.direction = c.direction;
        ASSERT_TRUE(layout_text_stamp(400, 400, a, box));
        EXPECT_EQ(box.width, c.swapped ? upright.height : upright.width) << c.direction;
        EXPECT_EQ(box.height, c.swapped ? upright.width : upright.height) << c.direction;
        EXPECT_EQ(box.x, round_even((400 - box.width) / 2.0)) << "centred with its turned size";
        PictureBuffer p = black.copy();
        DrawTextStamp(p, a);
        const auto k = test::changed_area(black, p);
        ASSERT_GT(k.count, 0) << c.direction;
        EXPECT_GE(k.left, box.x);
        EXPECT_GE(k.top, box.y);
        EXPECT_LE(k.right, box.x + box.width);
        EXPECT_LE(k.bottom, box.y + box.height);
        const double mid_x = box.x + box.width / 2.0, mid_y = box.y + box.height / 2.0;
        const std::string side = c.ink_side;
        if (side == "left") { EXPECT_LT(k.right, mid_x); }
        if (side == "right") { EXPECT_GT(k.left, mid_x); }
        if (side == "top") { EXPECT_LT(k.bottom, mid_y); }
        if (side == "bottom") { EXPECT_GT(k.top, mid_y); }
    }
}

TEST(TextStamp, LineBreakMarkerAndRightAlignment) {
    TextStampArguments a = stamp_args("A long first line%\\ab");
    a.position = 6;
    a.offset_x = -20;
    const PictureBuffer black = solid(500, 200, 0, 0, 0);
    PictureBuffer p = black.copy();
    DrawTextStamp(p, a);
    TextStampLayout box;
    ASSERT_TRUE(layout_text_stamp(500, 200, a, box));
    // The two lines lie in the upper and lower half of the box; both end at
    // the box's right side, so the short one starts far to the right.
    const int32_t half = box.y + box.height / 2;
    PictureBuffer top = black.copy(), bottom = black.copy();
    for (int32_t y = 0; y < 200; ++y) std::memcpy((y < half ? top : bottom).row(y), p.row(y), p.row_bytes());
    const auto first = test::changed_area(black, top), second = test::changed_area(black, bottom);
    ASSERT_GT(first.count, 0);
    ASSERT_GT(second.count, 0);
    EXPECT_NEAR(first.right, box.x + box.width, 4);
    EXPECT_NEAR(second.right, box.x + box.width, 4);
    EXPECT_GT(second.left, first.left + box.width / 2);
}

TEST(TextStamp, BackgroundOutlineAndTextLayers) {
    TextStampArguments a = stamp_args("Box");
    a.position = 5;
    a.background_color = 0x000000;  // black box on a grey picture
    a.background_opacity = 100;
    a.border_color = 0x00FF00;
    a.border_width = 3;
    a.color = 0x0000FF;
    const PictureBuffer grey = solid(300, 200, 128, 128, 128);
    PictureBuffer p = grey.copy();
    DrawTextStamp(p, a);
    TextStampLayout b;
    ASSERT_TRUE(layout_text_stamp(300, 200, a, b));
    const auto is = [&](int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t bl) {
        const uint8_t* px = p.pixel(x, y);
        return px[0] == r && px[1] == g && px[2] == bl;
    };
    // Rings at distance 1 to 3 in the outline colour, nothing at distance 4.
    for (int32_t i = 1; i <= 3; ++i) {
        EXPECT_TRUE(is(b.x - i, b.y + b.height / 2, 0, 255, 0)) << "ring " << i;
        EXPECT_TRUE(is(b.x + b.width + i, b.y + 1, 0, 255, 0)) << "ring " << i;
        EXPECT_TRUE(is(b.x + b.width / 2, b.y - i, 0, 255, 0)) << "ring " << i;
        EXPECT_TRUE(is(b.x + 2, b.y + b.height + i, 0, 255, 0)) << "ring " << i;
    }
    EXPECT_TRUE(is(b.x - 4, b.y + b.height / 2, 128, 128, 128));
    // Inside the box: black ground, red text, and no other colour.
    int red = 0;
    for (int32_t y = b.y; y < b.y + b.height; ++y)
        for (int32_t x = b.x; x < b.x + b.width; ++x) {
            const uint8_t* px = p.pixel(x, y);
            ASSERT_EQ(px[1], 0) << x << "," << y;
            ASSERT_EQ(px[2], 0) << x << "," << y;
            if (px[0] == 255) ++red;
        }
    EXPECT_GT(red, 20);

    // No box (-1), no outline (width 0 or colour -1): ink only inside the box.
    for (auto [bg, ring_colour, rings] : {std::tuple{-1, 0x00FF00, 0}, std::tuple{-1, -1, 3}}) {
        a.background_color = bg, a.border_color = ring_colour, a.border_width = rings;
        PictureBuffer q = grey.copy();
        DrawTextStamp(q, a);
        const auto k = test::changed_area(grey, q);
        EXPECT_GT(k.count, 0);
        EXPECT_GE(k.left, b.x);
        EXPECT_GE(k.top, b.y);
        EXPECT_LE(k.right, b.x + b.width);
        EXPECT_LE(k.bottom, b.y + b.height);
    }
}

TEST(TextStamp, ReadableColourComparesPackedValues) {
    struct Case {
        uint8_t r, g, b;
        bool black_text;
    };
    for (const Case& c : {Case{127, 127, 127, false}, Case{200, 200, 100, false}, Case{0, 0, 200, true},
                          Case{255, 255, 255, true}, Case{0, 0, 0, false}}) {
        for (int32_t direction : {0, 1}) {
            TextStampArguments a = stamp_args("Readable");
            a.color = 0x00FF00;  // replaced by black or white
            a.color_readable = 1;
            a.direction = direction;
            const PictureBuffer ground = solid(200, 200, c.r, c.g, c.b);
            PictureBuffer p = ground.copy();
            DrawTextStamp(p, a);
            // The most changed pixel shows the colour the text took.
            int best = -1;
            const uint8_t* strongest = nullptr;
            for (int32_t y = 0; y < 200; ++y)
                for (int32_t x = 0; x < 200; ++x) {
                    const uint8_t *q = p.pixel(x, y), *o = ground.pixel(x, y);
                    const int d = std::abs(q[0] - o[0]) + std::abs(q[1] - o[1]) + std::abs(q[2] - o[2]);
                    if (d > best) best = d, strongest = q;
                }
            ASSERT_GT(best, 0) << int(c.r) << "," << int(c.g) << "," << int(c.b);
            const uint8_t expected = c.black_text ? 0 : 255;
            EXPECT_EQ(strongest[0], expected) << int(c.r) << "," << int(c.g) << "," << int(c.b) << " dir " << direction;
            EXPECT_EQ(strongest[1], expected);
            EXPECT_EQ(strongest[2], expected);
        }
    }
}

TEST(TextStamp, NothingToDrawAndArgumentsOutOfRange) {
    const PictureBuffer ground = test::pattern(120, 90);
    for (auto [text, height] : {std::pair{std::string(), 20}, std::pair{std::string("x"), 0},
                                std::pair{std::string("x"), -5}, std::pair{std::string("x"), INT32_MAX}}) {
        TextStampArguments a = stamp_args(text);
        a.height = height;
        a.background_color = 0;
        a.background_opacity = 100;
        PictureBuffer p = ground.copy();
        DrawTextStamp(p, a);
        EXPECT_TRUE(same_pixels(p, ground)) << "text '" << text << "' height " << height;
    }
    // Extreme offsets, ring counts and directions finish and stay in the picture.
    TextStampArguments a = stamp_args("Edge");
    a.border_color = 0xFFFFFF;
    a.border_width = INT32_MAX;
    a.background_color = 0x123456;
    a.background_opacity = 1000;
    a.opacity = -50;
    for (int32_t position : {3, 9}) {
        for (int32_t offset : {INT32_MAX, INT32_MIN, 0}) {
            for (int32_t direction : {0, 1, 4, 5, INT32_MAX}) {
                a.position = position, a.offset_x = offset, a.offset_y = offset, a.direction = direction;
                PictureBuffer p = ground.copy();
                DrawTextStamp(p, a);
                EXPECT_EQ(p.width(), 120);
                EXPECT_EQ(p.height(), 90);
            }
        }
    }
    // With the box inside the picture the endless rings stop at its edges
    // and cover everything around the box.
    a.position = 5, a.offset_x = 0, a.offset_y = 0, a.direction = 0;
    PictureBuffer p = ground.copy();
    DrawTextStamp(p, a);
    EXPECT_EQ(p.pixel(0, 0)[0], 255);
    EXPECT_EQ(p.pixel(119, 89)[2], 255);
}

TEST(TextStamp, UnknownFontFallsBackAndStylesDraw) {
    const PictureBuffer black = solid(300, 80, 0, 0, 0);
    int64_t plain_count = 0;
    for (const std::string& font : std::vector<std::string>{"DejaVu Sans", "Arial", "No Such Font Family 9731", ""}) {
        TextStampArguments a = stamp_args("Fallback");
        a.font = font;
        PictureBuffer p = black.copy();
        DrawTextStamp(p, a);
        const auto k = test::changed_area(black, p);
        EXPECT_GT(k.count, 50) << "font '" << font << "'";
        if (font == "DejaVu Sans") plain_count = k.count;
    }
    // Bold, italic, underline and strike-out each change the ink.
    TextStampArguments plain = stamp_args("Styled");
    PictureBuffer base = black.copy();
    DrawTextStamp(base, plain);
    for (int style = 0; style < 4; ++style) {
        TextStampArguments a = plain;
        if (style == 0) a.weight = 700;
        if (style == 1) a.italic = 1;
        if (style == 2) a.underline = 1;
        if (style == 3) a.strikeout = 1;
        PictureBuffer p = black.copy();
        DrawTextStamp(p, a);
        EXPECT_FALSE(same_pixels(p, base)) << "style " << style;
    }
    EXPECT_GT(plain_count, 0);
}

TEST(TextStamp, StampSwitchesDecideBoxAndOutline) {
    CTextStamp stamp;
    stamp.BackgroundColor(0x0000FF);
    stamp.BorderColor(0x00FF00);
    stamp.BorderWidth(2);
    TextStampArguments a = text_stamp_arguments(stamp, "T");
    EXPECT_EQ(a.background_color, -1);
    EXPECT_EQ(a.background_opacity, 0);
    EXPECT_EQ(a.border_color, -1);
    EXPECT_EQ(a.border_width, 0);
    EXPECT_EQ(a.text, "T");
    stamp.Background(1);
    stamp.Border(1);
    a = text_stamp_arguments(stamp, "T");
    EXPECT_EQ(a.background_color, 0x0000FF);
    EXPECT_EQ(a.background_opacity, 50);
    EXPECT_EQ(a.border_color, 0x00FF00);
    EXPECT_EQ(a.border_width, 2);

    // Through the clone-effect call: the script's text is drawn, not the stamp's own.
    stamp.Background(0), stamp.Border(0);
    const PictureBuffer black = solid(200, 60, 0, 0, 0);
    PictureBuffer p = black.copy(), q = black.copy();
    ErrorInfo e;
    EXPECT_TRUE(apply_text_stamp(p, stamp, "Script output", e));
    EXPECT_TRUE(e.empty());
    DrawTextStamp(q, text_stamp_arguments(stamp, "Script output"));
    EXPECT_TRUE(same_pixels(p, q));
    EXPECT_FALSE(same_pixels(p, black));
}

}  // namespace
}  // namespace galvora
