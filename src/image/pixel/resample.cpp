#include "image/pixel/resample.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "image/large_block.h"

namespace galvora {

namespace {

constexpr double kPi = 3.14159265358979323846;

double sinc(double x) {
    if (x == 0.0) return 1.0;
    x *= kPi;
    return std::sin(x) / x;
}

double cubic_bc(double x, double b, double c) {
    x = std::fabs(x);
    if (x < 1.0)
        return ((12 - 9 * b - 6 * c) * x * x * x + (-18 + 12 * b + 6 * c) * x * x + (6 - 2 * b)) / 6.0;
    if (x < 2.0)
        return ((-b - 6 * c) * x * x * x + (6 * b + 30 * c) * x * x + (-12 * b - 48 * c) * x + (8 * b + 24 * c)) / 6.0;
    return 0.0;
}

struct Kernel {
    double support;
    double (*fn)(double);
};

Kernel kernel_for(int mode) {
    switch (mode) {
        case 0: return {0.5, [](double x) { return (x >= -0.5 && x < 0.5) ? 1.0 : 0.0; }};
        case 1:
        case 16: return {1.0, [](double x) { x = std::fabs(x); return x < 1.0 ? 1.0 - x : 0.0; }};
        case 2: return {1.0, [](double x) { return std::fabs(x) < 1.0 ? sinc(x) * (0.54 + 0.46 * std::cos(kPi * x)) : 0.0; }};
        case 3: return {1.25, [](double x) { return std::exp(-2.0 * x * x); }};
        case 4: return {1.5, [](double x) {
                    x = std::fabs(x);
                    if (x < 0.5) return 0.75 - x * x;
                    if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
                    return 0.0;
                }};
        case 5: return {2.0, [](double x) { return cubic_bc(x, 1.0, 0.0); }};
        case 6: return {2.0, [](double x) { return cubic_bc(x, 0.0, 0.5); }};
        case 7: return {2.0, [](double x) { return cubic_bc(x, 0.0, 1.0); }};
        case 8: return {3.0, [](double x) { return std::fabs(x) < 3.0 ? sinc(x) * sinc(x / 3.0) : 0.0; }};
        case 9: return {2.0, [](double x) { return cubic_bc(x, 1.0 / 3.0, 1.0 / 3.0); }};
        case 10: return {1.5, [](double x) {
                     x = std::fabs(x);
                     if (x < 0.5) return 0.75 - x * x;
                     if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
                     return 0.0;
                 }};
        case 11: return {1.0, [](double x) { x = std::fabs(x); return x < 1.0 ? (2 * x - 3) * x * x + 1 : 0.0; }};
        case 12: return {1.0, [](double x) { return std::fabs(x) < 1.0 ? sinc(x) * (0.5 + 0.5 * std::cos(kPi * x)) : 0.0; }};
        case 13: return {3.0, [](double x) {
                     if (std::fabs(x) >= 3.0) return 0.0;
                     const double t = kPi * x / 3.0;
                     return sinc(x) * (0.42 + 0.5 * std::cos(t) + 0.08 * std::cos(2 * t));
                 }};
        case 15: return {2.0, [](double x) { x = std::fabs(x); return x < 2.0 ? 1.0 - x / 2.0 : 0.0; }};
        default: return {0.0, nullptr};  // area average
    }
}

// For each output position along one axis: the first source index and its weights.
struct AxisWeights {
    std::vector<int32_t> start;
    std::vector<int32_t> count;
    std::vector<int32_t> offset;
    std::vector<float> weights;
};

AxisWeights area_weights(int32_t in, int32_t out) {
    AxisWeights a;
    a.start.resize(out);
    a.count.resize(out);
    a.offset.resize(out);
    const double scale = static_cast<double>(in) / out;
    for (int32_t i = 0; i < out; ++i) {
        const double lo = i * scale, hi = (i + 1) * scale;
        int32_t j0 = static_cast<int32_t>(std::floor(lo));
        int32_t j1 = static_cast<int32_t>(std::ceil(hi));
        j0 = std::clamp(j0, 0, in - 1);
        j1 = std::clamp(j1, j0 + 1, in);
        a.start[i] = j0;
        a.offset[i] = static_cast<int32_t>(a.weights.size());
        double total = 0;
        const size_t first = a.weights.size();
        for (int32_t j = j0; j < j1; ++j) {
            const double w = std::max(0.0, std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j)));
            a.weights.push_back(static_cast<float>(w));
            total += w;
        }
        a.count[i] = j1 - j0;
        for (size_t k = first; k < a.weights.size(); ++k)
            a.weights[k] = total > 0 ? static_cast<float>(a.weights[k] / total) : 1.0f / static_cast<float>(a.count[i]);
    }
    return a;
}

AxisWeights kernel_weights(int32_t in, int32_t out, const Kernel& k) {
    AxisWeights a;
    a.start.resize(out);
    a.count.resize(out);
    a.offset.resize(out);
    const double scale = static_cast<double>(in) / out;
    const double filter_scale = std::max(scale, 1.0);
    const double support = k.support * filter_scale;
    std::vector<double> tmp;
    for (int32_t i = 0; i < out; ++i) {
        const double centre = (i + 0.5) * scale;
        int32_t j0 = static_cast<int32_t>(std::floor(centre - support));
        int32_t j1 = static_cast<int32_t>(std::ceil(centre + support));
        j0 = std::max(j0, 0);
        j1 = std::min(j1, in);
        tmp.clear();
        double total = 0;
        for (int32_t j = j0; j < j1; ++j) {
            const double w = k.fn((j + 0.5 - centre) / filter_scale);
            tmp.push_back(w);
            total += w;
        }
        a.offset[i] = static_cast<int32_t>(a.weights.size());
        if (j1 <= j0 || std::fabs(total) < 1e-12) {
            // Nothing under the kernel: take the nearest source pixel.
            a.start[i] = std::clamp(static_cast<int32_t>(centre), 0, in - 1);
            a.count[i] = 1;
            a.weights.push_back(1.0f);
            continue;
        }
        a.start[i] = j0;
        a.count[i] = j1 - j0;
        for (double w : tmp) a.weights.push_back(static_cast<float>(w / total));
    }
    return a;
}

AxisWeights weights_for(int32_t in, int32_t out, int mode) {
    const Kernel k = kernel_for(mode);
    return k.fn ? kernel_weights(in, out, k) : area_weights(in, out);
}

uint8_t to_byte(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<uint8_t>(v + 0.5);
}

}  // namespace

void resample(const PictureBuffer& source, PictureBuffer& target, int mode) {
    if (source.empty() || target.empty()) return;
    const int32_t sw = source.width(), sh = source.height();
    const int32_t tw = target.width(), th = target.height();
    const AxisWeights xw = weights_for(sw, tw, mode);
    const AxisWeights yw = weights_for(sh, th, mode);

    // Horizontal pass: every source row to the target width, kept in float so
    // that the second pass rounds only once. The block is written whole
    // before it is read, so it is not cleared.
    const size_t mid_floats = static_cast<size_t>(tw) * 3 * static_cast<size_t>(sh);
    std::unique_ptr<float[], LargeBlockDeleter> mid_block(
        static_cast<float*>(allocate_large_block(mid_floats * sizeof(float))));
    if (!mid_block) throw std::bad_alloc();
    float* const mid = mid_block.get();
    for (int32_t y = 0; y < sh; ++y) {
        const uint8_t* row = source.row(y);
        float* out = &mid[static_cast<size_t>(y) * tw * 3];
        for (int32_t x = 0; x < tw; ++x) {
            const float* w = &xw.weights[xw.offset[x]];
            const uint8_t* p = row + static_cast<size_t>(xw.start[x]) * 3;
            double r = 0, g = 0, b = 0;
            for (int32_t k = 0; k < xw.count[x]; ++k, p += 3) {
                r += w[k] * p[0];
                g += w[k] * p[1];
                b += w[k] * p[2];
            }
            out[x * 3] = static_cast<float>(r);
            out[x * 3 + 1] = static_cast<float>(g);
            out[x * 3 + 2] = static_cast<float>(b);
        }
    }
    // Vertical pass.
    std::vector<double> acc(static_cast<size_t>(tw) * 3);
    for (int32_t y = 0; y < th; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0);
        const float* w = &yw.weights[yw.offset[y]];
        for (int32_t k = 0; k < yw.count[y]; ++k) {
            const float* in = &mid[static_cast<size_t>(yw.start[y] + k) * tw * 3];
            const double wk = w[k];
            for (size_t i = 0; i < acc.size(); ++i) acc[i] += wk * in[i];
        }
        uint8_t* out = target.row(y);
        for (size_t i = 0; i < acc.size(); ++i) out[i] = to_byte(acc[i]);
    }
}

}  // namespace galvora
