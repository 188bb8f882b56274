#include "image/effects/edge_detect.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "image/effects/blur_kernels.h"
#include "image/effects/effect_values.h"
#include "image/pixel/split_rows.h"
#include "image/effects/tone_effects.h"

namespace galvora {

namespace {

// The gradient magnitude below which share of all pixels lie.
float magnitude_quantile(const std::vector<float>& magnitude, float strongest, double share) {
    constexpr size_t kBins = 1024;
    std::vector<size_t> histogram(kBins, 0);
    std::mutex merge;
    split_bytes(magnitude.size(), [&](size_t first, size_t end) {
        std::vector<size_t> counted(kBins, 0);
        for (size_t i = first; i < end; ++i)
            ++counted[std::min(kBins - 1, static_cast<size_t>(magnitude[i] / strongest * (kBins - 1)))];
        std::lock_guard<std::mutex> lock(merge);
        for (size_t b = 0; b < kBins; ++b) histogram[b] += counted[b];
    });
    const double wanted = share * static_cast<double>(magnitude.size());
    size_t seen = 0;
    for (size_t b = 0; b < kBins; ++b) {
        seen += histogram[b];
        if (static_cast<double>(seen) >= wanted) return strongest * static_cast<float>(b + 1) / (kBins - 1);
    }
    return strongest;
}

}  // namespace

// The steps of Canny's method: smoothing, Sobel gradients, thinning to the
// local maxima across each edge, and hysteresis, which keeps weak edge
// pixels only where they connect to strong ones.
void EffectEdgeDetect(PictureBuffer& picture, double sigma, double low, double high) {
    if (picture.empty()) return;
    sigma = clamp_parameter(sigma, 0.0, 2.0, 0.1);
    low = clamp_parameter(low, 0.0, 1.0, 0.0);
    high = clamp_parameter(high, 0.0, 1.0, 0.0);
    const int32_t w = picture.width(), h = picture.height();
    const size_t n = static_cast<size_t>(w) * h;
    const auto at = [w](int32_t x, int32_t y) { return static_cast<size_t>(y) * w + x; };

    std::vector<float> grey(n);
    {
        std::vector<float> unsmoothed(n);
        split_rows(h, picture.row_bytes(), [&](int32_t first, int32_t end) {
            for (int32_t y = first; y < end; ++y) {
                const uint8_t* p = picture.row(y);
                for (int32_t x = 0; x < w; ++x, p += 3) unsmoothed[at(x, y)] = grey_level(p);
            }
        });
        gaussian_blur(unsmoothed.data(), grey.data(), w, h, sigma);
    }

    std::vector<float> magnitude(n, 0.0f);
    std::vector<uint8_t> sector(n, 0);  // 0 horizontal, 1 rising diagonal, 2 vertical, 3 falling diagonal
    float strongest = 0;
    std::mutex merge;
    const auto g = [&](int32_t x, int32_t y) { return grey[at(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1))]; };
    split_rows(h, static_cast<size_t>(w) * sizeof(float), [&](int32_t first, int32_t end) {
        float piece_strongest = 0;
        for (int32_t y = first; y < end; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const float gx = g(x + 1, y - 1) + 2 * g(x + 1, y) + g(x + 1, y + 1) - g(x - 1, y - 1) -
                                 2 * g(x - 1, y) - g(x - 1, y + 1);
                const float gy = g(x - 1, y + 1) + 2 * g(x, y + 1) + g(x + 1, y + 1) - g(x - 1, y - 1) -
                                 2 * g(x, y - 1) - g(x + 1, y - 1);
                const float m = std::hypot(gx, gy);
                magnitude[at(x, y)] = m;
                piece_strongest = std::max(piece_strongest, m);
                double angle = std::atan2(gy, gx) * 180.0 / M_PI;
                if (angle < 0) angle += 180.0;
                sector[at(x, y)] = static_cast<uint8_t>(static_cast<int>((angle + 22.5) / 45.0) % 4);
            }
        std::lock_guard<std::mutex> lock(merge);
        strongest = std::max(strongest, piece_strongest);
    });

    std::vector<uint8_t> edges(n, 0);
    if (strongest > 0) {
        // Chosen from the picture: above 70 % of all gradients, but never
        // below a tenth of the strongest, so that smooth gradients and faint
        // noise in flat areas do not count as edges.
        const float hi = high > 0 ? static_cast<float>(high) * strongest
                                  : std::max(magnitude_quantile(magnitude, strongest, 0.7), 0.1f * strongest);
        const float lo = low > 0 ? std::min(static_cast<float>(low) * strongest, hi) : 0.4f * hi;
        // Thinning: a pixel stays only when no neighbour across the edge is stronger.
        static constexpr int kStep[4][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}};
        std::vector<uint8_t> strength(n, 0);  // 0 none, 1 weak, 2 strong
        // The strong pixels of each band of rows, in order; together the
        // same list a single pass makes.
        std::vector<std::vector<size_t>> strong_in_band(static_cast<size_t>(h));
        split_rows(h, static_cast<size_t>(w) * sizeof(float), [&](int32_t first, int32_t end) {
            std::vector<size_t>& strong = strong_in_band[static_cast<size_t>(first)];
            for (int32_t y = first; y < end; ++y)
                for (int32_t x = 0; x < w; ++x) {
                    const float m = magnitude[at(x, y)];
                    if (m <= 0 || m < lo) continue;
                    const int* s = kStep[sector[at(x, y)]];
                    const auto mag = [&](int32_t xx, int32_t yy) {
                        return (xx < 0 || yy < 0 || xx >= w || yy >= h) ? 0.0f : magnitude[at(xx, yy)];
                    };
                    if (m < mag(x + s[0], y + s[1]) || m < mag(x - s[0], y - s[1])) continue;
                    strength[at(x, y)] = m >= hi ? 2 : 1;
                    if (m >= hi) strong.push_back(at(x, y));
                }
        });
        std::vector<size_t> pending;
        for (const auto& strong : strong_in_band) pending.insert(pending.end(), strong.begin(), strong.end());
        for (size_t i : pending) edges[i] = 255;
        while (!pending.empty()) {
            const size_t i = pending.back();
            pending.pop_back();
            const int32_t x = static_cast<int32_t>(i % static_cast<size_t>(w)), y = static_cast<int32_t>(i / static_cast<size_t>(w));
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                    const size_t j = at(xx, yy);
                    if (strength[j] == 0 || edges[j]) continue;
                    edges[j] = 255;
                    pending.push_back(j);
                }
        }
    }
    split_rows(h, picture.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            uint8_t* p = picture.row(y);
            for (int32_t x = 0; x < w; ++x, p += 3) p[0] = p[1] = p[2] = edges[at(x, y)];
        }
    });
}

}  // namespace galvora
