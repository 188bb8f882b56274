#include "image/effects/blur_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace galvora {

namespace {

// Radii beyond this reach past any picture we accept; the running sums stay
// well inside 32 bits.
constexpr int32_t kMaxRadius = 1 << 16;

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
    std::vector<uint8_t> padded((static_cast<size_t>(width) + 2 * static_cast<size_t>(radius) + 1) * channels);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = data + row_bytes * static_cast<size_t>(y);
        uint8_t* pad = padded.data();
        for (int64_t i = -radius; i < 0; ++i, pad += channels) std::copy(row, row + channels, pad);
        pad = std::copy(row, row + row_bytes, pad);
        for (int64_t i = 0; i <= radius; ++i, pad += channels) std::copy(row + row_bytes - channels, row + row_bytes, pad);
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
}

void box_blur_columns(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t radius) {
    // One running sum per byte of a row; rows enter and leave the window as
    // it moves down, so no column is walked on its own.
    const size_t row_bytes = static_cast<size_t>(width) * channels;
    const WindowMean mean(2 * static_cast<uint32_t>(radius) + 1);
    std::vector<uint8_t> source(data, data + plane_bytes(width, height, channels));
    std::vector<uint32_t> sums(row_bytes, 0);
    const auto row_of = [&](int64_t y) { return source.data() + row_bytes * static_cast<size_t>(clamp_index(y, height)); };
    for (int64_t i = -radius; i <= radius; ++i) {
        const uint8_t* r = row_of(i);
        for (size_t k = 0; k < row_bytes; ++k) sums[k] += r[k];
    }
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = data + row_bytes * static_cast<size_t>(y);
        const uint8_t* in = row_of(static_cast<int64_t>(y) + radius + 1);
        const uint8_t* gone = row_of(static_cast<int64_t>(y) - radius);
        for (size_t k = 0; k < row_bytes; ++k) {
            out[k] = mean(sums[k]);
            sums[k] = sums[k] + in[k] - gone[k];
        }
    }
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

// Convolves every channel of a float plane with the kernel along the rows.
// Each line is first padded with radius repeated edge values on either
// side, so the taps themselves run unchecked.
void convolve_rows(const float* in, float* out, int32_t width, int32_t height, int32_t channels,
                   const std::vector<float>& k) {
    const int32_t radius = static_cast<int32_t>(k.size() / 2);
    const size_t row_len = static_cast<size_t>(width) * channels;
    std::vector<float> line(static_cast<size_t>(width) + 2 * radius);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t c = 0; c < channels; ++c) {
            const size_t base = static_cast<size_t>(y) * row_len + c;
            for (int32_t i = -radius; i < width + radius; ++i)
                line[static_cast<size_t>(i + radius)] = in[base + static_cast<size_t>(clamp_index(i, width)) * channels];
            for (int32_t i = 0; i < width; ++i) {
                const float* src = line.data() + i;
                float acc = 0;
                for (size_t t = 0; t < k.size(); ++t) acc += k[t] * src[t];
                out[base + static_cast<size_t>(i) * channels] = acc;
            }
        }
    }
}

// The same along the columns, a whole row at a time: each output row is the
// weighted sum of the rows around it, which walks memory in order.
void convolve_columns(const float* in, float* out, int32_t width, int32_t height, int32_t channels,
                      const std::vector<float>& k) {
    const int32_t radius = static_cast<int32_t>(k.size() / 2);
    const size_t row_len = static_cast<size_t>(width) * channels;
    for (int32_t y = 0; y < height; ++y) {
        float* dst = out + static_cast<size_t>(y) * row_len;
        std::fill(dst, dst + row_len, 0.0f);
        for (int32_t t = -radius; t <= radius; ++t) {
            const float* src = in + static_cast<size_t>(clamp_index(static_cast<int64_t>(y) + t, height)) * row_len;
            const float weight = k[static_cast<size_t>(t + radius)];
            for (size_t i = 0; i < row_len; ++i) dst[i] += weight * src[i];
        }
    }
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

void gaussian_blur(uint8_t* data, int32_t width, int32_t height, int32_t channels, double sigma) {
    if (!data || width <= 0 || height <= 0 || channels <= 0 || !(sigma > 0)) return;
    const std::vector<float> k = gaussian_kernel(std::min(sigma, 1000.0));
    const size_t n = plane_bytes(width, height, channels);
    std::vector<float> a(data, data + n), b(n);
    convolve_rows(a.data(), b.data(), width, height, channels, k);
    convolve_columns(b.data(), a.data(), width, height, channels, k);
    for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(std::clamp(std::lround(a[i]), 0L, 255L));
}

void gaussian_blur(float* data, int32_t width, int32_t height, double sigma) {
    if (!data || width <= 0 || height <= 0 || !(sigma > 0)) return;
    const std::vector<float> k = gaussian_kernel(std::min(sigma, 1000.0));
    std::vector<float> tmp(plane_bytes(width, height, 1));
    convolve_rows(data, tmp.data(), width, height, 1, k);
    convolve_columns(tmp.data(), data, width, height, 1, k);
}

}  // namespace galvora
