#include "image/effects/tone_effects.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "image/effects/effect_values.h"
#include "image/pixel/split_rows.h"

namespace galvora {

namespace {

using Table = std::array<uint8_t, 256>;

// Runs every channel byte through one table.
void map_bytes(PictureBuffer& picture, const Table& table) {
    uint8_t* p = picture.data();
    split_bytes(picture.size_bytes(), [&](size_t first, size_t end) {
        for (size_t i = first; i < end; ++i) p[i] = table[p[i]];
    });
}

template <typename F>
Table make_table(F f) {
    Table t{};
    for (int v = 0; v < 256; ++v) t[static_cast<size_t>(v)] = f(v);
    return t;
}

template <typename F>
void for_each_pixel(PictureBuffer& picture, F f) {
    split_rows(picture.height(), picture.row_bytes(), [&](int32_t first, int32_t end) {
        uint8_t* p = picture.row(first);
        const uint8_t* stop = p + picture.row_bytes() * static_cast<size_t>(end - first);
        for (; p < stop; p += 3) f(p);
    });
}

}  // namespace

// Each pixel takes its grey level (weights of the eye's sensitivity) in all
// three channels.
void EffectGrayscale(PictureBuffer& picture) {
    for_each_pixel(picture, [](uint8_t* p) { p[0] = p[1] = p[2] = grey_level(p); });
}

// The negative: every channel value v becomes 255 - v.
void EffectInvert(PictureBuffer& picture) {
    map_bytes(picture, make_table([](int v) { return static_cast<uint8_t>(255 - v); }));
}

// The darkroom's solarisation: the light half of the tone scale is turned
// negative, the dark half kept, so the curve peaks in the middle.
void EffectSolarize(PictureBuffer& picture) {
    map_bytes(picture, make_table([](int v) { return static_cast<uint8_t>(v > 127 ? 255 - v : v); }));
}

// Four levels per channel, spread evenly from 0 to 255.
void EffectPosterize(PictureBuffer& picture) {
    constexpr int kLevels = 4;
    map_bytes(picture, make_table([](int v) { return static_cast<uint8_t>((v * kLevels / 256) * 255 / (kLevels - 1)); }));
}

// The grey level picks a tone on the ramp black -> colour -> white, with the
// colour at the middle grey: a two-ink print of the picture.
void EffectDuotone(PictureBuffer& picture, int32_t colour) {
    std::array<Table, 3> ramp;
    const uint8_t ink[3] = {colour_red(colour), colour_green(colour), colour_blue(colour)};
    for (int c = 0; c < 3; ++c) {
        ramp[static_cast<size_t>(c)] = make_table([&](int g) {
            if (g <= 128) return to_byte(ink[c] * g / 128.0);
            return to_byte(ink[c] + (255.0 - ink[c]) * (g - 128) / 127.0);
        });
    }
    for_each_pixel(picture, [&](uint8_t* p) {
        const uint8_t g = grey_level(p);
        p[0] = ramp[0][g], p[1] = ramp[1][g], p[2] = ramp[2][g];
    });
}

// out = 255 * (in / 255) ^ (1 / gamma).
void EffectGamma(PictureBuffer& picture, double gamma) {
    gamma = clamp_parameter(gamma, 0.01, 2.0, 1.0);
    if (gamma == 1.0) return;
    map_bytes(picture, make_table([&](int v) { return to_byte(255.0 * std::pow(v / 255.0, 1.0 / gamma)); }));
}

// Contrast scales the distance from the middle grey by tan((c + 1) * pi / 4)
// (0 flat grey at -1, 1 unchanged at 0, a hard threshold towards 1);
// brightness then shifts every value by brightness * 255.
void EffectBrightnessContrast(PictureBuffer& picture, double brightness, double contrast) {
    brightness = clamp_parameter(brightness, -1.0, 1.0, 0.0);
    contrast = clamp_parameter(contrast, -1.0, 1.0, 0.0);
    if (brightness == 0.0 && contrast == 0.0) return;
    const double factor = contrast == 0.0 ? 1.0 : std::min(std::tan((contrast + 1.0) * M_PI / 4.0), 1024.0);
    map_bytes(picture, make_table([&](int v) { return to_byte((v - 127.5) * factor + 127.5 + brightness * 255.0); }));
}

// Each channel moves away from (or towards) the pixel's grey level.
void EffectSaturation(PictureBuffer& picture, double saturation) {
    saturation = clamp_parameter(saturation, 0.1, 10.0, 1.0);
    if (saturation == 1.0) return;
    for_each_pixel(picture, [&](uint8_t* p) {
        const double g = grey_level(p);
        for (int c = 0; c < 3; ++c) p[c] = to_byte(g + (p[c] - g) * saturation);
    });
}

}  // namespace galvora
