#include "image/effects/blur_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "image/pixel/split_rows.h"

namespace galvora {

namespace {

// Radii beyond this reach past any picture we accept; the running sums stay
// well inside 32 bits.
constexpr int32_t kMaxRadius = 1 << 16;

// Columns handed to one thread at least: a few cache lines of every row.
constexpr size_t kColumnPiece = 256;

size_t plane_bytes(int32_t width, int32_t height, int32_t channels) {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
}

int64_t clamp_index(int64_t i, int32_t n) { return i < 0 ? 0 : (i >= n ? n - 1 : i); }

// Division of a window sum by the window size, as a multiplication by a
// 24-bit reciprocal (exact to well within the rounding for any sum of
// bytes).
struct WindowMean {
    explicit WindowMean(uint32_t window) : reciprocal((uint64_t{1} << 24) / window + 1) {}
    uint8_t operator()(uint32_t sum) const {
        return static_cast<uint8_t>(std::min<uint64_t>(255, (sum * reciprocal + (uint64_t{1} << 23)) >> 24));
    }
    uint64_t reciprocal;
};

void box_blur_rows(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t radius) {
    // Each row is copied with radius repeated edge pixels on either side, so
    // the sliding window needs no bounds checks.
    const size_t row_bytes = static_cast<size_t>(width) * channels;
    const WindowMean mean(2 * static_cast<uint32_t>(radius) + 1);
    split_rows(height, row_bytes, [&](int32_t first, int32_t end) {
        std::vector<uint8_t> padded((static_cast<size_t>(width) + 2 * static_cast<size_t>(radius) + 1) * channels);
        for (int32_t y = first; y < end; ++y) {
            uint8_t* row = data + row_bytes * static_cast<size_t>(y);
            uint8_t* pad = padded.data();
            for (int64_t i = -radius; i < 0; ++i, pad += channels) std::copy(row, row + channels, pad);
            pad = std::copy(row, row + row_bytes, pad);
            for (int64_t i = 0; i <= radius; ++i, pad += channels)
                std::copy(row + row_bytes - channels, row + row_bytes, pad);
            for (int32_t c = 0; c < channels; ++c) {
                const uint8_t* p = padded.data() + c;
                uint32_t sum = 0;
                for (int64_t i = 0; i <= 2 * static_cast<int64_t>(radius); ++i) sum += p[i * channels];
                const size_t reach = (2 * static_cast<size_t>(radius) + 1) * channels;
                uint8_t* out = row + c;
                for (int32_t x = 0; x < width; ++x, p += channels, out += channels) {
                    *out = mean(sum);
                    sum += p[reach];
                    sum -= p[0];
                }
            }
        }
    });
}

void box_blur_columns(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t radius) {
    // One running sum per byte of a row; rows enter and leave the window as
    // it moves down, so no column is walked on its own. Each thread takes a
    // band of columns. A row is overwritten before it leaves the window, so
    // the band keeps the original of the last radius + 1 rows it overwrote
    // (row 0 stays needed while the window still reaches above the picture).
    const size_t row_bytes = static_cast<size_t>(width) * channels;
    const WindowMean mean(2 * static_cast<uint32_t>(radius) + 1);
    const size_t slots = std::min<size_t>(static_cast<size_t>(radius) + 1, static_cast<size_t>(height));
    parallel_for(row_bytes, kColumnPiece, [&](size_t first, size_t end) {
        const size_t band = end - first;
        std::vector<uint32_t> sums(band, 0);
        std::vector<uint8_t> kept(slots * band);
        const auto row_of = [&](int64_t y) { return data + row_bytes * static_cast<size_t>(clamp_index(y, height)) + first; };
        for (int64_t i = -radius; i <= radius; ++i) {
            const uint8_t* r = row_of(i);
            for (size_t k = 0; k < band; ++k) sums[k] += r[k];
        }
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* out = row_of(y);
            std::memcpy(kept.data() + static_cast<size_t>(y) % slots * band, out, band);
            for (size_t k = 0; k < band; ++k) out[k] = mean(sums[k]);
            if (y + 1 == height) break;
            const uint8_t* in = row_of(static_cast<int64_t>(y) + radius + 1);
            const size_t gone_row = static_cast<size_t>(std::max<int64_t>(static_cast<int64_t>(y) - radius, 0));
            const uint8_t* gone = kept.data() + gone_row % slots * band;
            for (size_t k = 0; k < band; ++k) sums[k] = sums[k] + in[k] - gone[k];
        }
    });
}

std::vector<float> gaussian_kernel(double sigma) {
    const int32_t radius = std::max(1, static_cast<int32_t>(std::ceil(3.0 * sigma)));
    std::vector<float> k(static_cast<size_t>(2 * radius + 1));
    double total = 0;
    for (int32_t i = -radius; i <= radius; ++i) {
        const double v = std::exp(-(static_cast<double>(i) * i) / (2.0 * sigma * sigma));
        k[static_cast<size_t>(i + radius)] = static_cast<float>(v);
        total += v;
    }
    for (float& v : k) v = static_cast<float>(v / total);
    return k;
}

// The separable Gaussian, a band of output rows per thread. Every row of the
// band's reach is convolved along the row first (each line padded with
// repeated edge values, so the taps run unchecked) into a ring of 2 * radius
// + 1 rows; each output row is then the weighted sum of the ring's rows
// around it, taken in kernel order. A band recomputes the few rows it shares
// with its neighbours rather than waiting for them.
template <class In, class Store>
void gaussian_convolve(const In* source, int32_t width, int32_t height, int32_t channels, const std::vector<float>& k,
                       Store store) {
    const int32_t radius = static_cast<int32_t>(k.size() / 2);
    const size_t row_len = static_cast<size_t>(width) * channels;
    const size_t slots = std::min(k.size(), static_cast<size_t>(height));
    // Bands well taller than the rows they share with their neighbours.
    const size_t min_rows = std::max<size_t>(4 * k.size(), kBytesPerPiece / (row_len * sizeof(float)));
    parallel_for(static_cast<size_t>(height), min_rows, [&](size_t first_row, size_t end_row) {
        const auto first = static_cast<int32_t>(first_row), end = static_cast<int32_t>(end_row);
        std::vector<float> ring(slots * row_len);
        std::vector<float> line(static_cast<size_t>(width) + 2 * radius);
        std::vector<float> sum(row_len);
        int64_t made = static_cast<int64_t>(std::max(0, first - radius)) - 1;  // last row in the ring
        for (int32_t y = first; y < end; ++y) {
            const int64_t needed = clamp_index(static_cast<int64_t>(y) + radius, height);
            while (made < needed) {
                ++made;
                const In* in = source + static_cast<size_t>(made) * row_len;
                float* out = ring.data() + static_cast<size_t>(made) % slots * row_len;
                for (int32_t c = 0; c < channels; ++c) {
                    for (int32_t i = -radius; i < width + radius; ++i)
                        line[static_cast<size_t>(i + radius)] =
                            static_cast<float>(in[static_cast<size_t>(clamp_index(i, width)) * channels + c]);
                    for (int32_t i = 0; i < width; ++i) {
                        const float* src = line.data() + i;
                        float acc = 0;
                        for (size_t t = 0; t < k.size(); ++t) acc += k[t] * src[t];
                        out[static_cast<size_t>(i) * channels + c] = acc;
                    }
                }
            }
            std::fill(sum.begin(), sum.end(), 0.0f);
            for (int32_t t = -radius; t <= radius; ++t) {
                const size_t row = static_cast<size_t>(clamp_index(static_cast<int64_t>(y) + t, height));
                const float* src = ring.data() + row % slots * row_len;
                const float weight = k[static_cast<size_t>(t + radius)];
                for (size_t i = 0; i < row_len; ++i) sum[i] += weight * src[i];
            }
            store(y, sum.data());
        }
    });
}

}  // namespace

void box_blur(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t radius) {
    if (!data || width <= 0 || height <= 0 || channels <= 0 || radius <= 0) return;
    radius = std::min(radius, kMaxRadius);
    box_blur_rows(data, width, height, channels, radius);
    box_blur_columns(data, width, height, channels, radius);
}

void smooth_blur_radii(int32_t reach, int32_t radii[3]) {
    reach = std::clamp(reach, 0, 3 * kMaxRadius);
    for (int i = 0; i < 3; ++i) radii[i] = reach / 3 + (i < reach % 3 ? 1 : 0);
}

void smooth_blur(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t reach) {
    int32_t radii[3];
    smooth_blur_radii(reach, radii);
    for (int32_t r : radii) box_blur(data, width, height, channels, r);
}

void smooth_blur_line(std::vector<float>& values, int32_t reach) {
    if (values.empty()) return;
    const int32_t n = static_cast<int32_t>(values.size());
    int32_t radii[3];
    smooth_blur_radii(reach, radii);
    std::vector<float> source;
    for (int32_t r : radii) {
        if (r <= 0) continue;
        source = values;
        const auto at = [&](int64_t i) { return static_cast<double>(source[static_cast<size_t>(clamp_index(i, n))]); };
        const double window = 2.0 * r + 1.0;
        double sum = 0;
        for (int64_t i = -r; i <= r; ++i) sum += at(i);
        for (int32_t x = 0; x < n; ++x) {
            values[static_cast<size_t>(x)] = static_cast<float>(sum / window);
            sum += at(static_cast<int64_t>(x) + r + 1) - at(static_cast<int64_t>(x) - r);
        }
    }
}

void gaussian_blur(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t channels,
                   double sigma) {
    if (!source || !target || width <= 0 || height <= 0 || channels <= 0) return;
    if (!(sigma > 0)) {
        std::memmove(target, source, plane_bytes(width, height, channels));
        return;
    }
    const std::vector<float> k = gaussian_kernel(std::min(sigma, 1000.0));
    const size_t row_len = static_cast<size_t>(width) * channels;
    gaussian_convolve(source, width, height, channels, k, [&](int32_t y, const float* row) {
        uint8_t* out = target + static_cast<size_t>(y) * row_len;
        for (size_t i = 0; i < row_len; ++i) out[i] = static_cast<uint8_t>(std::clamp(std::lround(row[i]), 0L, 255L));
    });
}

void gaussian_blur(const float* source, float* target, int32_t width, int32_t height, double sigma) {
    if (!source || !target || width <= 0 || height <= 0) return;
    if (!(sigma > 0)) {
        std::memmove(target, source, plane_bytes(width, height, 1) * sizeof(float));
        return;
    }
    const std::vector<float> k = gaussian_kernel(std::min(sigma, 1000.0));
    gaussian_convolve(source, width, height, 1, k, [&](int32_t y, const float* row) {
        std::copy(row, row + width, target + static_cast<size_t>(y) * static_cast<size_t>(width));
    });
}

}  // namespace galvora
