#include "options/sample_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace galvora {

namespace {

uint8_t clamp_byte(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

void put(PictureBuffer& picture, int x, int y, double r, double g, double b) {
    uint8_t* p = picture.pixel(x, y);
    p[0] = clamp_byte(r);
    p[1] = clamp_byte(g);
    p[2] = clamp_byte(b);
}

// A small integer hash; the same pixel always gets the same grain.
double grain(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFF) / 255.0;
}

double mix(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

PictureBuffer beispielbild() {
    constexpr int kSize = 200;
    constexpr double kSunX = 138;
    constexpr double kSunY = 62;
    constexpr double kHorizon = 132;
    PictureBuffer picture = PictureBuffer::allocate(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double far_hill = 104 + 10 * std::sin(x / 23.0) + 6 * std::sin(x / 9.0 + 1.3);
            const double near_hill = 122 + 12 * std::sin(x / 31.0 + 2.0) - 0.12 * (x - 40);
            const double sun = std::hypot(x - kSunX, y - kSunY);
            double r;
            double g;
            double b;
            if (y >= kHorizon + 4 && std::abs(x - 96.0) < 46 + (y - kHorizon) * 1.3) {
                // The lake: the sky mirrored, darker, with a glittering path under the sun.
                const double depth = (y - kHorizon) / (kSize - kHorizon);
                r = mix(120, 40, depth);
                g = mix(170, 90, depth);
                b = mix(210, 150, depth);
                const double path = std::exp(-std::pow((x - kSunX) / (6 + depth * 14), 2.0));
                const double ripple = 0.5 + 0.5 * std::sin(y * 1.7 + x * 0.3);
                r = mix(r, 255, path * ripple * 0.8);
                g = mix(g, 236, path * ripple * 0.8);
                b = mix(b, 170, path * ripple * 0.6);
            } else if (y >= near_hill) {
                const double shade = (y - near_hill) / 80.0;
                r = mix(86, 38, shade) + 14 * grain(x, y);
                g = mix(150, 96, shade) + 14 * grain(y, x);
                b = mix(64, 40, shade);
            } else if (y >= far_hill) {
                const double shade = (y - far_hill) / 40.0;
                r = mix(118, 92, shade);
                g = mix(150, 128, shade);
                b = mix(170, 150, shade);
            } else {
                // Sky from deep blue at the top to a warm haze at the horizon.
                const double t = y / kHorizon;
                r = mix(48, 250, t * t);
                g = mix(110, 214, t);
                b = mix(200, 180, t);
            }
            if (y < far_hill && sun < 34) {
                // The sun with its glow, drawn over the sky only.
                const double glow = sun < 16 ? 1.0 : std::pow(1.0 - (sun - 16) / 18.0, 2.0);
                r = mix(r, 255, glow);
                g = mix(g, 240, glow);
                b = mix(b, 170, glow);
            }
            put(picture, x, y, r, g, b);
        }
    }
    return picture;
}

PictureBuffer hintergrund_kachel() {
    constexpr int kSize = 32;
    PictureBuffer tile = PictureBuffer::allocate(kSize, kSize);
    constexpr double k = 2 * std::numbers::pi / kSize;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Waves whose period is the tile's size, so the copies join without a seam.
            const double wave = 3 * std::sin(k * x) * std::cos(2 * k * y) + 2 * std::cos(k * (x + y));
            const double fleck = 6 * (grain(x, y) - 0.5);
            put(tile, x, y, 246 + wave + fleck, 243 + wave + fleck, 232 + wave + fleck * 0.6);
        }
    }
    return tile;
}

}  // namespace galvora
