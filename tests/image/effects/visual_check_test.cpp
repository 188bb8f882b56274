// Writes one PNG per effect kind, stamp and frame into <build>/effect-previews
// so that a person can look at them. Each file is read back to make sure it
// was written whole.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

#include "image/effects/effect_dispatch.h"
#include "image/effects/frame_draw.h"
#include "image/effects/image_stamp_draw.h"
#include "image/effects/text_stamp_draw.h"
#include "image/picture_io.h"
#include "profile/effect_picture.h"

namespace galvora {
namespace {

// A small landscape: sky gradient, sun, hills, a striped field and a house,
// so that colour, edges, flat areas and fine detail all show.
PictureBuffer landscape() {
    const int32_t w = 240, h = 160;
    PictureBuffer p = PictureBuffer::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* px = p.pixel(x, y);
            const double hill = 95 + 18 * std::sin(x / 30.0) + 8 * std::sin(x / 11.0);
            if (std::hypot(x - 180.0, y - 40.0) < 22) {
                px[0] = 255, px[1] = 210, px[2] = 60;
            } else if (y < hill) {
                px[0] = static_cast<uint8_t>(90 + y), px[1] = static_cast<uint8_t>(140 + y / 2), px[2] = 235;
            } else if (y < 125) {
                px[0] = 40, px[1] = static_cast<uint8_t>(120 + (x * 3 + y) % 40), px[2] = 50;
            } else {
                const bool stripe = ((x + y) / 6) % 2 == 0;
                px[0] = stripe ? 200 : 150, px[1] = stripe ? 170 : 110, px[2] = 40;
            }
            if (x >= 40 && x < 90 && y >= 80 && y < 125) px[0] = 190, px[1] = 60, px[2] = 50;  // house
            if (x >= 55 && x < 70 && y >= 100 && y < 125) px[0] = 60, px[1] = 40, px[2] = 30;  // door
        }
    return p;
}

std::filesystem::path preview_folder() {
    const auto folder = std::filesystem::path(GALVORA_TESTDATA_DIR).parent_path() / "effect-previews";
    std::filesystem::create_directories(folder);
    return folder;
}

void write_preview(const std::string& name, const PictureBuffer& picture) {
    const std::string path = (preview_folder() / (name + ".png")).string();
    int32_t used = 0;
    WriteImage(path, 10, picture, 100, 0, false, 0, used);
    PictureBuffer back;
    int32_t w = 0, h = 0;
    ReadImage(path, 10, back, w, h);
    EXPECT_EQ(w, picture.width()) << name;
    EXPECT_EQ(h, picture.height()) << name;
}

TEST(VisualCheck, OnePicturePerEffectStampAndFrame) {
    const PictureBuffer original = landscape();
    write_preview("original", original);
    const char* names[] = {"sharpen",  "gamma",     "brightness-contrast", "blur",     "saturation", "unsharp-mask",
                           "",         "",          "",                    "",         "",           "grayscale",
                           "mosaic",   "rotate",    "flip",                "shadow",   "noise",      "invert",
                           "solarize", "posterize", "oilpaint",            "watercolor", "edges",    "duotone",
                           "halftone", "crackle"};
    for (int32_t kind = 0; kind < kPictureEffectKinds; ++kind) {
        if (names[kind][0] == '\0') continue;
        CBildEffekt e;
        e.Bildeffektart(kind);
        // Defaults that show nothing get a visible value, as a user would set them.
        if (kind == 1) e.DoubleArray(1, 1.8);
        if (kind == 2) e.DoubleArray(1, 0.15), e.DoubleArray(2, 0.4);
        if (kind == 3) e.LongArray(1, 9), e.DoubleArray(1, 1.0);
        if (kind == 4) e.DoubleArray(1, 2.5);
        if (kind == 5) e.LongArray(1, 5), e.DoubleArray(1, 1.0);
        PictureBuffer p = original.copy();
        ApplyEffect(p, e);
        write_preview("effect-" + std::to_string(kind) + "-" + names[kind], p);
    }

    set_effect_picture_reader([](const std::string&) {
        PictureBuffer logo = PictureBuffer::allocate(48, 24);
        for (int32_t y = 0; y < 24; ++y)
            for (int32_t x = 0; x < 48; ++x) {
                uint8_t* px = logo.pixel(x, y);
                const bool ring = std::abs(std::hypot(x - 12.0, y - 12.0) - 8) < 2.5 || (x > 26 && x < 44 && y > 8 && y < 16);
                px[0] = ring ? 20 : 255, px[1] = ring ? 40 : 255, px[2] = ring ? 160 : 255;
            }
        return logo;
    });
    CImageStamp stamp;
    stamp.Name("logo");
    stamp.Position(9);
    stamp.deckkraft(80);
    stamp.TransparenteFarbeNutzen(1);
    stamp.TransparenzFarbtoleranz(10);
    PictureBuffer p = original.copy();
    EXPECT_TRUE(DrawImageStamp(p, &stamp).empty());
    write_preview("stamp-image", p);

    TextStampArguments text;
    text.text = "Galvora%\\Sommer 2026";
    text.font = "Arial";
    text.height = 18;
    text.color = 0xFFFFFF;
    text.position = 7;
    text.offset_x = 8, text.offset_y = -8;
    text.background_color = 0x402000;
    text.background_opacity = 60;
    p = original.copy();
    DrawTextStamp(p, text);
    write_preview("stamp-text", p);
    text.text = "Turned";
    text.direction = 1;
    text.position = 6;
    text.offset_x = -6, text.offset_y = 0;
    text.color_readable = 1;
    text.background_color = -1;
    text.border_color = 0x00C0FF;
    text.border_width = 2;
    text.weight = 700;
    p = original.copy();
    DrawTextStamp(p, text);
    write_preview("stamp-text-turned", p);

    const auto framed = [&](const std::string& name, const std::function<void(CBorder&)>& set) {
        CBorder frame;
        set(frame);
        PictureBuffer q = original.copy();
        EXPECT_TRUE(ApplyBorder(q, frame).empty()) << name;
        write_preview("frame-" + name, q);
    };
    framed("inner-bands", [](CBorder& f) { f.Breite(12), f.OffsetLinks(6), f.OffsetRechts(6), f.OffsetOben(6), f.OffsetUnten(6); });
    framed("inner-ellipse", [](CBorder& f) { f.InnenrahmenArt(1), f.deckkraft(85), f.Farbe(0x203040); });
    framed("outer", [](CBorder& f) { f.RahmenArt(1), f.Breite(14), f.FarbePassend(1); });
    framed("picture-tiled", [](CBorder& f) { f.RahmenArt(2), f.Breite(16), f.Bildname("logo"); });
    framed("picture-stretched", [](CBorder& f) { f.RahmenArt(2), f.Breite(16), f.Bildname("logo"), f.Bildverteilung(1); });
    set_effect_picture_reader({});
}

}  // namespace
}  // namespace galvora
