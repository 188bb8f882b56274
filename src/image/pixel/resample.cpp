#include "image/pixel/resample.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "image/pixel/split_rows.h"

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

// Each output pixel takes the one source pixel it lies in: enlarging
// repeats every source pixel over its block.
AxisWeights repeat_weights(int32_t in, int32_t out) {
    AxisWeights a;
    a.start.resize(out);
    a.count.assign(out, 1);
    a.offset.resize(out);
    a.weights.assign(out, 1.0f);
    for (int32_t i = 0; i < out; ++i) {
        a.start[i] = static_cast<int32_t>(static_cast<int64_t>(i) * in / out);
        a.offset[i] = i;
    }
    return a;
}

AxisWeights weights_for(int32_t in, int32_t out, int mode) {
    if (mode == resample_mode::block) return out > in ? repeat_weights(in, out) : area_weights(in, out);
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

    // The target rows in bands, each on its own thread. A band takes a few
    // target rows at a time: the source rows they reach are resampled along
    // the rows (kept in float, so that the second pass rounds only once) into
    // a block the band reuses and never clears (every value in it is
    // written), then down the columns. Source rows shared by two steps are
    // resampled again, with the same result.
    constexpr int32_t kRowsPerStep = 32;
    const size_t mid_row = static_cast<size_t>(tw) * 3;
    parallel_for(static_cast<size_t>(th), std::max<size_t>(8, kBytesPerPiece / target.row_bytes()),
                 [&](size_t first_row, size_t end_row) {
        std::unique_ptr<float[]> mid;
        size_t mid_rows = 0;
        std::vector<double> acc(mid_row);
        for (auto step = static_cast<int32_t>(first_row); step < static_cast<int32_t>(end_row); step += kRowsPerStep) {
            const int32_t step_end = std::min(static_cast<int32_t>(end_row), step + kRowsPerStep);
            int32_t lo = sh, hi = 0;
            for (int32_t y = step; y < step_end; ++y) {
                lo = std::min(lo, yw.start[y]);
                hi = std::max(hi, yw.start[y] + yw.count[y]);
            }
            const auto rows = static_cast<size_t>(hi - lo);
            if (rows > mid_rows) {
                mid.reset(new float[rows * mid_row]);
                mid_rows = rows;
            }
            for (int32_t sy = lo; sy < hi; ++sy) {
                const uint8_t* row = source.row(sy);
                float* out = mid.get() + static_cast<size_t>(sy - lo) * mid_row;
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
            for (int32_t y = step; y < step_end; ++y) {
                std::fill(acc.begin(), acc.end(), 0.0);
                const float* w = &yw.weights[yw.offset[y]];
                for (int32_t k = 0; k < yw.count[y]; ++k) {
                    const float* in = mid.get() + static_cast<size_t>(yw.start[y] + k - lo) * mid_row;
                    const double wk = w[k];
                    for (size_t i = 0; i < acc.size(); ++i) acc[i] += wk * in[i];
                }
                uint8_t* out = target.row(y);
                for (size_t i = 0; i < acc.size(); ++i) out[i] = to_byte(acc[i]);
            }
        }
    });
}

}  // namespace galvora
