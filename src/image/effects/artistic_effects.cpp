#include "image/effects/artistic_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

#include "image/effects/blur_kernels.h"
#include "image/effects/effect_values.h"
#include "image/pixel/split_rows.h"
#include "image/effects/tone_effects.h"

namespace galvora {

namespace {

// splitmix64: small, fast and the same on every platform, unlike the
// distributions of the standard library.
class FixedRandom {
public:
    explicit FixedRandom(uint64_t seed) : state_(seed) {}
    // Moves on as far as that many draws would: each draw only adds a
    // constant to the state, so any draw can be reached at once.
    void skip(uint64_t draws) { state_ += draws * kStep; }
    uint64_t next() {
        uint64_t z = (state_ += kStep);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in (0, 1].
    double uniform() { return (static_cast<double>(next() >> 11) + 1.0) / 9007199254740992.0; }

private:
    static constexpr uint64_t kStep = 0x9E3779B97F4A7C15ull;
    uint64_t state_;
};

uint64_t mix(uint64_t a, uint64_t b) {
    FixedRandom r(a * 0x100000001B3ull ^ (b + 0x5851F42D4C957F2Dull));
    return r.next();
}

constexpr uint64_t kNoiseSeed = 0x4E6F697365ull;
constexpr uint64_t kCrackleSeed = 0x437261636B6Cull;

}  // namespace

// The sum of four random bytes is close to normally distributed (mean 510,
// standard deviation sqrt(4 * (256^2 - 1) / 12)); one 64-bit draw gives
// two such values, far cheaper than logarithms and sines per sample. The
// values are taken in pixel order from one stream; a thread that starts in
// the middle of the picture moves the stream on to its first value.
void EffectNoise(PictureBuffer& picture, int32_t amount, int32_t monochrome, int32_t /*option*/) {
    if (picture.empty()) return;
    const double sigma = std::sqrt(static_cast<double>(std::clamp(amount, 1, 4000000)));
    const double scale = sigma / std::sqrt(4.0 * (256.0 * 256.0 - 1.0) / 12.0);
    const uint64_t per_pixel = monochrome == 1 ? 1 : 3;
    uint8_t* const data = picture.data();
    split_rows(picture.height(), picture.row_bytes(), [&](int32_t first, int32_t end) {
        const uint64_t first_value = static_cast<uint64_t>(first) * static_cast<uint64_t>(picture.width()) * per_pixel;
        FixedRandom random(kNoiseSeed);
        random.skip(first_value / 2);
        uint64_t bits = 0;
        int left = 0;
        if (first_value % 2 != 0) bits = random.next() >> 32, left = 1;
        const auto normal = [&]() {
            if (left == 0) bits = random.next(), left = 2;
            const int sum = static_cast<int>((bits & 0xFF) + ((bits >> 8) & 0xFF) + ((bits >> 16) & 0xFF) + ((bits >> 24) & 0xFF));
            bits >>= 32;
            --left;
            return (sum - 510) * scale;
        };
        uint8_t* p = data + picture.row_bytes() * static_cast<size_t>(first);
        const uint8_t* stop = data + picture.row_bytes() * static_cast<size_t>(end);
        for (; p < stop; p += 3) {
            if (monochrome == 1) {
                const double n = normal();
                for (int c = 0; c < 3; ++c) p[c] = to_byte(p[c] + n);
            } else {
                for (int c = 0; c < 3; ++c) p[c] = to_byte(p[c] + normal());
            }
        }
    });
}

// Clustered-dot ordered dithering: the places of a cell are ranked by their
// distance from its centre, and a pixel turns black when its darkness
// exceeds the share of the cell that its rank stands for. Dark areas thus
// show large dots, light areas small ones.
void EffectHalftone(PictureBuffer& picture, int32_t pixel_width) {
    if (picture.empty()) return;
    const int32_t s = std::clamp(pixel_width, 1, 99);
    const size_t cells = static_cast<size_t>(s) * s;
    std::vector<int32_t> order(cells);
    std::iota(order.begin(), order.end(), 0);
    const double c = (s - 1) / 2.0;
    const auto distance = [&](int32_t k) { return std::hypot(k % s - c, k / s - c); };
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return distance(a) < distance(b); });
    std::vector<double> threshold(cells);
    for (size_t rank = 0; rank < cells; ++rank)
        threshold[static_cast<size_t>(order[rank])] = (static_cast<double>(rank) + 0.5) * 255.0 / static_cast<double>(cells);
    split_rows(picture.height(), picture.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            uint8_t* p = picture.row(y);
            const size_t row_base = static_cast<size_t>(y % s) * s;
            for (int32_t x = 0; x < picture.width(); ++x, p += 3) {
                const double darkness = 255.0 - grey_level(p);
                const uint8_t v = darkness > threshold[row_base + static_cast<size_t>(x % s)] ? 0 : 255;
                p[0] = p[1] = p[2] = v;
            }
        }
    });
}

// A running histogram per row: when the square moves one pixel to the right
// its new column is counted in and its old one out, so the cost per pixel
// grows with the brush width, not with its square.
void EffectOilPaint(PictureBuffer& picture, int32_t brush_width, int32_t levels, int32_t /*option2*/) {
    if (picture.empty()) return;
    const int32_t r = std::clamp(brush_width, 1, 12);
    const int32_t classes = std::clamp(levels, 2, 256);
    const int32_t w = picture.width(), h = picture.height();
    PictureBuffer n = PictureBuffer::allocate(w, h);
    std::vector<uint8_t> klass(static_cast<size_t>(w) * h);
    split_rows(h, picture.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            const uint8_t* p = picture.row(y);
            for (int32_t x = 0; x < w; ++x, p += 3)
                klass[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(grey_level(p) * classes / 256);
        }
    });
    const auto clampi = [](int64_t v, int32_t n) { return static_cast<int32_t>(v < 0 ? 0 : (v >= n ? n - 1 : v)); };
    split_rows(h, picture.row_bytes() * static_cast<size_t>(2 * r + 1), [&](int32_t first, int32_t end) {
        std::vector<uint32_t> count(static_cast<size_t>(classes));
        std::vector<uint32_t> sum(static_cast<size_t>(classes) * 3);
        const auto column = [&](int64_t cx, int32_t y, int sign) {
            const int32_t x = clampi(cx, w);
            for (int64_t dy = -r; dy <= r; ++dy) {
                const int32_t yy = clampi(y + dy, h);
                const size_t k = klass[static_cast<size_t>(yy) * w + x];
                const uint8_t* p = picture.pixel(x, yy);
                count[k] += static_cast<uint32_t>(sign);
                for (int c = 0; c < 3; ++c) sum[k * 3 + c] += static_cast<uint32_t>(sign * p[c]);
            }
        };
        for (int32_t y = first; y < end; ++y) {
            std::fill(count.begin(), count.end(), 0u);
            std::fill(sum.begin(), sum.end(), 0u);
            for (int64_t dx = -r; dx <= r; ++dx) column(dx, y, 1);
            uint8_t* out = n.row(y);
            for (int32_t x = 0; x < w; ++x, out += 3) {
                size_t best = 0;
                for (size_t k = 1; k < count.size(); ++k)
                    if (count[k] > count[best]) best = k;
                for (int c = 0; c < 3; ++c)
                    out[c] = static_cast<uint8_t>((sum[best * 3 + c] + count[best] / 2) / count[best]);
                column(static_cast<int64_t>(x) + r + 1, y, 1);
                column(static_cast<int64_t>(x) - r, y, -1);
            }
        }
    });
    picture = std::move(n);
}

// Colours are softened by a blur, then darkened where the softened picture
// changes fast (pigment gathers at the rim of a wash); the flags add
// contrast and light.
void EffectWatercolor(PictureBuffer& picture, double blur, int32_t flags) {
    if (picture.empty()) return;
    blur = clamp_parameter(blur, 0.01, 1.0, 0.5);
    const int32_t w = picture.width(), h = picture.height();
    PictureBuffer n = PictureBuffer::allocate(w, h);
    split_rows(h, picture.row_bytes(), [&](int32_t first, int32_t end) {
        std::memcpy(n.row(first), picture.row(first), picture.row_bytes() * static_cast<size_t>(end - first));
    });
    smooth_blur(n.data(), w, h, 3, static_cast<int32_t>(std::lround(1.0 + blur * 8.0)));
    std::vector<uint8_t> grey(static_cast<size_t>(w) * h);
    split_rows(h, n.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            const uint8_t* p = n.row(y);
            for (int32_t x = 0; x < w; ++x, p += 3) grey[static_cast<size_t>(y) * w + x] = grey_level(p);
        }
    });
    const auto g = [&](int32_t x, int32_t y) {
        x = std::clamp(x, 0, w - 1), y = std::clamp(y, 0, h - 1);
        return static_cast<int>(grey[static_cast<size_t>(y) * w + x]);
    };
    const double contrast = (flags & 1) ? 1.3 : 1.0;
    const double light = (flags & 2) ? 30.0 : 0.0;
    split_rows(h, n.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            uint8_t* p = n.row(y);
            for (int32_t x = 0; x < w; ++x, p += 3) {
                const int gx = g(x + 1, y - 1) + 2 * g(x + 1, y) + g(x + 1, y + 1) - g(x - 1, y - 1) -
                               2 * g(x - 1, y) - g(x - 1, y + 1);
                const int gy = g(x - 1, y + 1) + 2 * g(x, y + 1) + g(x + 1, y + 1) - g(x - 1, y - 1) -
                               2 * g(x, y - 1) - g(x + 1, y - 1);
                const double edge =
                    std::min(1.0, std::sqrt(static_cast<double>(gx) * gx + static_cast<double>(gy) * gy) / 255.0);
                const double keep = 1.0 - 0.6 * edge;
                for (int c = 0; c < 3; ++c) p[c] = to_byte(((p[c] * keep) - 127.5) * contrast + 127.5 + light);
            }
        }
    });
    picture = std::move(n);
}

// Tiles are the cells of a Voronoi diagram over points jittered on a grid;
// a pixel lies on a crack when it is close to the bisector between its
// nearest point and another one. The crack line is anti-aliased by that
// distance, and every tile gets a slight brightness of its own.
void EffectCrackle(PictureBuffer& picture, int32_t mode, int32_t depth, int32_t /*option*/) {
    if (picture.empty()) return;
    const int32_t spacing = 10 + 8 * std::clamp(mode, 0, 4);
    const double strength = std::clamp(depth, 0, 100) / 100.0;
    const double half_width = 0.5 + strength;  // cracks 1 to 3 pixels wide
    const int32_t w = picture.width(), h = picture.height();
    PictureBuffer n = PictureBuffer::allocate(w, h);
    struct Seed {
        double x, y, shade;
    };
    const auto seed_of = [&](int64_t gx, int64_t gy) {
        FixedRandom r(mix(kCrackleSeed ^ static_cast<uint64_t>(gx), static_cast<uint64_t>(gy)));
        const double jx = 0.15 + 0.7 * r.uniform(), jy = 0.15 + 0.7 * r.uniform();
        const double shade = (r.uniform() - 0.5) * 0.3 * strength;
        return Seed{(static_cast<double>(gx) + jx) * spacing, (static_cast<double>(gy) + jy) * spacing, shade};
    };
    const int32_t grid_w = w / spacing + 2, grid_h = h / spacing + 2;
    std::vector<Seed> seeds(static_cast<size_t>(grid_w + 1) * (grid_h + 1));
    for (int32_t gy = -1; gy < grid_h; ++gy)
        for (int32_t gx = -1; gx < grid_w; ++gx)
            seeds[static_cast<size_t>(gy + 1) * (grid_w + 1) + (gx + 1)] = seed_of(gx, gy);
    const auto seed_at = [&](int32_t gx, int32_t gy) -> const Seed& {
        return seeds[static_cast<size_t>(gy + 1) * (grid_w + 1) + (gx + 1)];
    };
    split_rows(h, picture.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            const uint8_t* p = picture.row(y);
            uint8_t* out = n.row(y);
            const int32_t cy = y / spacing;
            for (int32_t x = 0; x < w; ++x, p += 3, out += 3) {
                const int32_t cx = x / spacing;
                const double px = x + 0.5, py = y + 0.5;
                const Seed* near[9];
                int count = 0;
                const Seed* nearest = nullptr;
                double best = 1e300;
                for (int32_t dy = -1; dy <= 1; ++dy)
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        const Seed& s = seed_at(cx + dx, cy + dy);
                        near[count++] = &s;
                        const double d = (s.x - px) * (s.x - px) + (s.y - py) * (s.y - py);
                        if (d < best) best = d, nearest = &s;
                    }
                // Distance to the nearest bisector: (|p-b|^2 - |p-a|^2) / (2 |a-b|).
                double edge = 1e300;
                for (int i = 0; i < count; ++i) {
                    const Seed& b = *near[i];
                    if (&b == nearest) continue;
                    const double db = (b.x - px) * (b.x - px) + (b.y - py) * (b.y - py);
                    const double ex = b.x - nearest->x, ey = b.y - nearest->y;
                    const double ab = std::sqrt(ex * ex + ey * ey);
                    if (ab > 0) edge = std::min(edge, (db - best) / (2.0 * ab));
                }
                const double crack = std::clamp(half_width + 0.5 - edge, 0.0, 1.0) * strength;
                const double tile = 1.0 + nearest->shade;
                for (int c = 0; c < 3; ++c) out[c] = to_byte(p[c] * tile * (1.0 - 0.85 * crack));
            }
        }
    });
    picture = std::move(n);
}

}  // namespace galvora
