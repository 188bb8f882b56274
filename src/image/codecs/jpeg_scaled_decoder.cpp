#include "image/codecs/jpeg_scaled_decoder.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <vector>

#include "image/codecs/jpeg_slices.h"

namespace galvora {

namespace {

using namespace jpeg_slices;

// Below this much entropy-coded data per piece the start-up and the
// stitching cost more than they save (when the threads come from the machine).
constexpr size_t kMinBytesPerPiece = 64 * 1024;

// ---------------------------------------------------------------------------
// The scaled inverse DCTs
//
// libjpeg-turbo's integer IDCTs at sizes other than 8 are made of one
// one-dimensional kernel used twice: down the columns, with 13 fraction
// bits and 2 bits kept in between (its PASS1_BITS), then along the rows,
// with 18 bits shifted off at the end. Written here as one kernel per size
// that gives the sums before the shift, with the DC input already scaled
// and rounded by the caller; where libjpeg adds a term after the first
// shift, that term is a whole multiple of the shift, so adding it before
// gives the same result.
//
// The DC coefficient reaches every output with weight one: in the first pass
// it adds 4 * DC to every row of column 0 exactly, in the second DC << 15
// to every sum. So a block can be taken through both passes with its DC left
// out, and each sample is finished as (DC + (sum >> 15)) >> 3 once the DC is
// known (the shifted-off bits of the sum cannot carry into the result).

constexpr int64_t fix(double x) { return static_cast<int64_t>(x * 8192 + 0.5); }

// Input k of the kernel is in[k]; in[0] is the scaled DC input.
void kernel3(const int64_t* in, int64_t* s) {
    const int64_t t12 = in[2] * fix(0.707106781);
    const int64_t t10 = in[0] + t12;
    const int64_t t2 = in[0] - t12 - t12;
    const int64_t t0 = in[1] * fix(1.224744871);
    s[0] = t10 + t0;
    s[2] = t10 - t0;
    s[1] = t2;
}

void kernel5(const int64_t* in, int64_t* s) {
    int64_t t12 = in[0];
    const int64_t z1 = (in[2] + in[4]) * fix(0.790569415);
    const int64_t z2 = (in[2] - in[4]) * fix(0.353553391);
    const int64_t z3 = t12 + z2;
    const int64_t t10 = z3 + z1;
    const int64_t t11 = z3 - z1;
    t12 -= z2 * 4;
    const int64_t o1 = (in[1] + in[3]) * fix(0.831253876);
    const int64_t t0 = o1 + in[1] * fix(0.513743148);
    const int64_t t1 = o1 - in[3] * fix(2.176250899);
    s[0] = t10 + t0;
    s[4] = t10 - t0;
    s[1] = t11 + t1;
    s[3] = t11 - t1;
    s[2] = t12;
}

void kernel6(const int64_t* in, int64_t* s) {
    const int64_t e10 = in[4] * fix(0.707106781);
    const int64_t e1 = in[0] + e10;
    const int64_t t11 = in[0] - e10 - e10;
    const int64_t e0 = in[2] * fix(1.224744871);
    const int64_t t10 = e1 + e0;
    const int64_t t12 = e1 - e0;
    const int64_t z1 = in[1], z2 = in[3], z3 = in[5];
    const int64_t o1 = (z1 + z3) * fix(0.366025404);
    const int64_t t0 = o1 + (z1 + z2) * 8192;
    const int64_t t2 = o1 + (z3 - z2) * 8192;
    const int64_t t1 = (z1 - z2 - z3) * 8192;
    s[0] = t10 + t0;
    s[5] = t10 - t0;
    s[1] = t11 + t1;
    s[4] = t11 - t1;
    s[2] = t12 + t2;
    s[3] = t12 - t2;
}

void kernel7(const int64_t* in, int64_t* s) {
    int64_t t13 = in[0];
    int64_t z1 = in[2], z2 = in[4], z3 = in[6];
    int64_t t10 = (z2 - z3) * fix(0.881747734);
    int64_t t12 = (z1 - z2) * fix(0.314692123);
    const int64_t t11 = t10 + t12 + t13 - z2 * fix(1.841218003);
    int64_t t0 = z1 + z3;
    z2 -= t0;
    t0 = t0 * fix(1.274162392) + t13;
    t10 += t0 - z3 * fix(0.077722536);
    t12 += t0 - z1 * fix(2.470602249);
    t13 += z2 * fix(1.414213562);
    z1 = in[1];
    z2 = in[3];
    z3 = in[5];
    int64_t t1 = (z1 + z2) * fix(0.935414347);
    int64_t t2 = (z1 - z2) * fix(0.170262339);
    t0 = t1 - t2;
    t1 += t2;
    t2 = (z2 + z3) * -fix(1.378756276);
    t1 += t2;
    z2 = (z1 + z3) * fix(0.613604268);
    t0 += z2;
    t2 += z2 + z3 * fix(1.870828693);
    s[0] = t10 + t0;
    s[6] = t10 - t0;
    s[1] = t11 + t1;
    s[5] = t11 - t1;
    s[2] = t12 + t2;
    s[4] = t12 - t2;
    s[3] = t13;
}

void kernel10(const int64_t* in, int64_t* s) {
    int64_t z3 = in[0];
    int64_t z4 = in[4];
    int64_t z1 = z4 * fix(1.144122806);
    int64_t z2 = z4 * fix(0.437016024);
    int64_t t10 = z3 + z1;
    int64_t t11 = z3 - z2;
    const int64_t t22 = z3 - (z1 - z2) * 2;
    z2 = in[2];
    z3 = in[6];
    z1 = (z2 + z3) * fix(0.831253876);
    int64_t t12 = z1 + z2 * fix(0.513743148);
    int64_t t13 = z1 - z3 * fix(2.176250899);
    const int64_t t20 = t10 + t12;
    const int64_t t24 = t10 - t12;
    const int64_t t21 = t11 + t13;
    const int64_t t23 = t11 - t13;
    z1 = in[1];
    z2 = in[3];
    z3 = in[5];
    z4 = in[7];
    t11 = z2 + z4;
    t13 = z2 - z4;
    t12 = t13 * fix(0.309016994);
    const int64_t z5 = z3 * 8192;
    z2 = t11 * fix(0.951056516);
    z4 = z5 + t12;
    t10 = z1 * fix(1.396802247) + z2 + z4;
    const int64_t t14 = z1 * fix(0.221231742) - z2 + z4;
    z2 = t11 * fix(0.587785252);
    z4 = z5 - t12 - t13 * 4096;
    t12 = (z1 - t13 - z3) * 8192;
    t11 = z1 * fix(1.260073511) - z2 - z4;
    t13 = z1 * fix(0.642039522) - z2 + z4;
    s[0] = t20 + t10;
    s[9] = t20 - t10;
    s[1] = t21 + t11;
    s[8] = t21 - t11;
    s[2] = t22 + t12;
    s[7] = t22 - t12;
    s[3] = t23 + t13;
    s[6] = t23 - t13;
    s[4] = t24 + t14;
    s[5] = t24 - t14;
}

constexpr int64_t kFix0_541196100 = 4433;
constexpr int64_t kFix0_765366865 = 6270;
constexpr int64_t kFix1_847759065 = 15137;

void kernel12(const int64_t* in, int64_t* s) {
    int64_t z3 = in[0];
    int64_t z4 = in[4] * fix(1.224744871);
    int64_t t10 = z3 + z4;
    int64_t t11 = z3 - z4;
    int64_t z1 = in[2];
    z4 = z1 * fix(1.366025404);
    z1 *= 8192;
    int64_t z2 = in[6] * 8192;
    int64_t t12 = z1 - z2;
    const int64_t t21 = z3 + t12;
    const int64_t t24 = z3 - t12;
    t12 = z4 + z2;
    const int64_t t20 = t10 + t12;
    const int64_t t25 = t10 - t12;
    t12 = z4 - z1 - z2;
    const int64_t t22 = t11 + t12;
    const int64_t t23 = t11 - t12;
    z1 = in[1];
    z2 = in[3];
    z3 = in[5];
    z4 = in[7];
    t11 = z2 * fix(1.306562965);
    int64_t t14 = z2 * -kFix0_541196100;
    t10 = z1 + z3;
    int64_t t15 = (t10 + z4) * fix(0.860918669);
    t12 = t15 + t10 * fix(0.261052384);
    t10 = t12 + t11 + z1 * fix(0.280143716);
    int64_t t13 = (z3 + z4) * -fix(1.045510580);
    t12 += t13 + t14 - z3 * fix(1.478575242);
    t13 += t15 - t11 + z4 * fix(1.586706681);
    t15 += t14 - z1 * fix(0.676326758) - z4 * fix(1.982889723);
    z1 -= z4;
    z2 -= z3;
    z3 = (z1 + z2) * kFix0_541196100;
    t11 = z3 + z1 * kFix0_765366865;
    t14 = z3 - z2 * kFix1_847759065;
    s[0] = t20 + t10;
    s[11] = t20 - t10;
    s[1] = t21 + t11;
    s[10] = t21 - t11;
    s[2] = t22 + t12;
    s[9] = t22 - t12;
    s[3] = t23 + t13;
    s[8] = t23 - t13;
    s[4] = t24 + t14;
    s[7] = t24 - t14;
    s[5] = t25 + t15;
    s[6] = t25 - t15;
}

void kernel14(const int64_t* in, int64_t* s) {
    int64_t z1 = in[0];
    int64_t z4 = in[4];
    int64_t z2 = z4 * fix(1.274162392);
    int64_t z3 = z4 * fix(0.314692123);
    z4 = z4 * fix(0.881747734);
    int64_t t10 = z1 + z2;
    int64_t t11 = z1 + z3;
    int64_t t12 = z1 - z4;
    const int64_t t23 = z1 - (z2 + z3 - z4) * 2;
    z1 = in[2];
    z2 = in[6];
    z3 = (z1 + z2) * fix(1.105676686);
    int64_t t13 = z3 + z1 * fix(0.273079590);
    int64_t t14 = z3 - z2 * fix(1.719280954);
    int64_t t15 = z1 * fix(0.613604268) - z2 * fix(1.378756276);
    const int64_t t20 = t10 + t13;
    const int64_t t26 = t10 - t13;
    const int64_t t21 = t11 + t14;
    const int64_t t25 = t11 - t14;
    const int64_t t22 = t12 + t15;
    const int64_t t24 = t12 - t15;
    z1 = in[1];
    z2 = in[3];
    z3 = in[5];
    const int64_t z4s = in[7] * 8192;
    t14 = z1 + z3;
    t11 = (z1 + z2) * fix(1.334852607);
    t12 = t14 * fix(1.197448846);
    t10 = t11 + t12 + z4s - z1 * fix(1.126980169);
    t14 = t14 * fix(0.752406978);
    int64_t t16 = t14 - z1 * fix(1.061150426);
    z1 -= z2;
    t15 = z1 * fix(0.467085129) - z4s;
    t16 += t15;
    t13 = (z2 + z3) * -fix(0.158341681) - z4s;
    t11 += t13 - z2 * fix(0.424103948);
    t12 += t13 - z3 * fix(2.373959773);
    t13 = (z3 - z2) * fix(1.405321284);
    t14 += t13 + z4s - z3 * fix(1.6906431334);
    t15 += t13 + z2 * fix(0.674957567);
    t13 = (z1 - z3) * 8192 + z4s;
    s[0] = t20 + t10;
    s[13] = t20 - t10;
    s[1] = t21 + t11;
    s[12] = t21 - t11;
    s[2] = t22 + t12;
    s[11] = t22 - t12;
    s[3] = t23 + t13;
    s[10] = t23 - t13;
    s[4] = t24 + t14;
    s[9] = t24 - t14;
    s[5] = t25 + t15;
    s[8] = t25 - t15;
    s[6] = t26 + t16;
    s[7] = t26 - t16;
}

// Dequantised coefficients and first-pass values within these bounds keep
// every int of libjpeg's arithmetic from overflowing, and the partial
// samples fit 16 bits. Only damaged data goes beyond them; such a picture is
// left to libjpeg. The first partial sample of a block that does is set to
// kExtreme.
constexpr int64_t kCoefficientBound = int64_t{1} << 22;
constexpr int64_t kPassBound = int64_t{1} << 26;
constexpr int16_t kExtreme = std::numeric_limits<int16_t>::min();

inline bool outside(int64_t v, int64_t bound) { return v > bound || v < -bound; }

// The block through both passes without its DC: size x size partial samples
// (sum >> 15) into out, row by row.
template <int Size, void (*Kernel)(const int64_t*, int64_t*)>
void partial_idct(const int16_t* coef, const uint16_t* quant, int16_t* out) {
    constexpr int kInputs = Size < 8 ? Size : 8;
    int64_t ws[Size][kInputs];
    int64_t in[8];
    int64_t sums[Size];
    bool extreme = false;
    bool any_column = false;
    // First pass: column c of the coefficients to column c of the workspace.
    // A column without coefficients (the DC left out) gives zeros.
    for (int c = 0; c < kInputs; ++c) {
        bool any = false;
        for (int k = 0; k < kInputs; ++k) {
            const int64_t v = k + c == 0 ? 0 : static_cast<int64_t>(coef[k * 8 + c]) * quant[k * 8 + c];
            extreme |= outside(v, kCoefficientBound);
            any |= v != 0;
            in[k] = v;
        }
        if (!any) {
            for (int r = 0; r < Size; ++r) ws[r][c] = 0;
            continue;
        }
        any_column = true;
        in[0] = in[0] * 8192 + 1024;
        Kernel(in, sums);
        for (int r = 0; r < Size; ++r) {
            const int64_t v = sums[r] >> 11;
            extreme |= outside(v, kPassBound);
            ws[r][c] = v;
        }
    }
    // Second pass: each workspace row to a row of samples. A block with its
    // DC alone has all rows alike.
    const int rows = any_column ? Size : 1;
    for (int r = 0; r < rows; ++r) {
        for (int k = 0; k < kInputs; ++k) in[k] = ws[r][k];
        in[0] = (in[0] + 16) * 8192;
        Kernel(in, sums);
        for (int c = 0; c < Size; ++c) {
            const int64_t v = sums[c] >> 15;
            extreme |= outside(v, 32767);
            out[r * Size + c] = static_cast<int16_t>(v);
        }
    }
    for (int r = rows; r < Size; ++r) std::memcpy(out + r * Size, out, Size * sizeof(int16_t));
    if (extreme) out[0] = kExtreme;
}

using PartialIdct = void (*)(const int16_t*, const uint16_t*, int16_t*);

// The IDCT for a block side, or null where the side is not taken.
PartialIdct idct_for(int size) {
    switch (size) {
        case 3: return partial_idct<3, kernel3>;
        case 5: return partial_idct<5, kernel5>;
        case 6: return partial_idct<6, kernel6>;
        case 7: return partial_idct<7, kernel7>;
        case 10: return partial_idct<10, kernel10>;
        case 12: return partial_idct<12, kernel12>;
        case 14: return partial_idct<14, kernel14>;
        default: return nullptr;
    }
}

// ---------------------------------------------------------------------------
// The frame at a scale

// How libjpeg enlarges a component's samples to the output grid.
enum class Upsampling { none, h2v1_fancy, h1v2_fancy, h2v2_fancy, replicate };

struct ComponentPlan {
    int size = 0;         // samples per block side
    int h = 1, v = 1;     // sampling factors (1 for a grey picture)
    Upsampling upsampling = Upsampling::none;
    int expand_h = 1, expand_v = 1;  // replication factors
    size_t width = 0, height = 0;    // samples that belong to the picture
    size_t blocks_across = 0, blocks_down = 0;
};

struct FramePlan {
    int scale = 0;
    int max_h = 1, max_v = 1;
    std::array<ComponentPlan, 3> components;  // by frame index
    int32_t out_w = 0, out_h = 0;
};

size_t divide_up(size_t a, size_t b) { return (a + b - 1) / b; }

// libjpeg's choices at scale n/8: a block side per component (doubled while
// the sampling allows, so that subsampled chroma is enlarged by its IDCT),
// and an upsampling for the rest. False where the decoder cannot follow.
bool plan_frame(const JpegEighthFrame& frame, int scale, FramePlan& plan) {
    if (scale < 1 || scale > 8 || !jpeg_eighth_supported(frame)) return false;
    const size_t ncomp = frame.components.size();
    plan.scale = scale;
    max_sampling(frame, plan.max_h, plan.max_v);
    if (ncomp == 1) plan.max_h = plan.max_v = 1;
    const auto w = static_cast<size_t>(frame.width), h = static_cast<size_t>(frame.height);
    plan.out_w = static_cast<int32_t>(divide_up(w * static_cast<size_t>(scale), 8));
    plan.out_h = static_cast<int32_t>(divide_up(h * static_cast<size_t>(scale), 8));
    size_t mcus_per_row = 0, mcu_rows = 0;
    mcu_grid(frame, mcus_per_row, mcu_rows);
    for (const auto& c : frame.components) {
        ComponentPlan& p = plan.components[static_cast<size_t>(c.frame_index)];
        p.h = ncomp == 1 ? 1 : c.h;
        p.v = ncomp == 1 ? 1 : c.v;
        int size = scale;
        while (size < 8 && (plan.max_h * scale) % (p.h * size * 2) == 0 &&
               (plan.max_v * scale) % (p.v * size * 2) == 0)
            size *= 2;
        if (!idct_for(size)) return false;
        p.size = size;
        p.width = divide_up(w * static_cast<size_t>(p.h) * static_cast<size_t>(size),
                            static_cast<size_t>(plan.max_h) * 8);
        p.height = divide_up(h * static_cast<size_t>(p.v) * static_cast<size_t>(size),
                             static_cast<size_t>(plan.max_v) * 8);
        p.blocks_across = mcus_per_row * static_cast<size_t>(p.h);
        p.blocks_down = mcu_rows * static_cast<size_t>(p.v);
        // Samples per group in and out of the upsampling.
        const int in_h = p.h * size / scale, in_v = p.v * size / scale;
        if (in_h * scale != p.h * size || in_v * scale != p.v * size) return false;
        const int out_h = plan.max_h, out_v = plan.max_v;
        if (in_h == out_h && in_v == out_v) {
            p.upsampling = Upsampling::none;
        } else if (in_h * 2 == out_h && in_v == out_v && p.width > 2) {
            p.upsampling = Upsampling::h2v1_fancy;
        } else if (in_h == out_h && in_v * 2 == out_v) {
            p.upsampling = Upsampling::h1v2_fancy;
        } else if (in_h * 2 == out_h && in_v * 2 == out_v && p.width > 2) {
            p.upsampling = Upsampling::h2v2_fancy;
        } else if (out_h % in_h == 0 && out_v % in_v == 0) {
            p.upsampling = Upsampling::replicate;
            p.expand_h = out_h / in_h;
            p.expand_v = out_v / in_v;
        } else {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Upsampling and colour conversion, one output row at a time

struct Plane {
    const uint8_t* samples = nullptr;
    size_t stride = 0;
};

// The component's samples for output row y, enlarged to the output grid,
// into buf (or straight from the plane where nothing is enlarged).
const uint8_t* upsampled_row(const ComponentPlan& p, const Plane& plane, size_t y, size_t out_w, uint8_t* buf) {
    const auto row = [&](size_t r) { return plane.samples + std::min(r, p.height - 1) * plane.stride; };
    switch (p.upsampling) {
        case Upsampling::none: return row(y);
        case Upsampling::replicate: {
            const uint8_t* in = row(y / static_cast<size_t>(p.expand_v));
            const auto eh = static_cast<size_t>(p.expand_h);
            for (size_t x = 0; x < out_w; ++x) buf[x] = in[x / eh];
            return buf;
        }
        case Upsampling::h2v1_fancy: {
            // Three quarters of the nearer sample, one quarter of the
            // further, rounding alternately down and up; the edges repeat.
            const uint8_t* in = row(y);
            const size_t n = p.width;
            buf[0] = in[0];
            buf[1] = static_cast<uint8_t>((in[0] * 3 + in[1] + 2) >> 2);
            for (size_t x = 1; x + 1 < n; ++x) {
                const int here = in[x] * 3;
                buf[2 * x] = static_cast<uint8_t>((here + in[x - 1] + 1) >> 2);
                buf[2 * x + 1] = static_cast<uint8_t>((here + in[x + 1] + 2) >> 2);
            }
            buf[2 * n - 2] = static_cast<uint8_t>((in[n - 1] * 3 + in[n - 2] + 1) >> 2);
            buf[2 * n - 1] = in[n - 1];
            return buf;
        }
        case Upsampling::h1v2_fancy: {
            const size_t r = y / 2;
            const uint8_t* near = row(r);
            const bool upper = y % 2 == 0;
            const uint8_t* far = upper ? row(r == 0 ? 0 : r - 1) : row(r + 1);
            const int bias = upper ? 1 : 2;
            for (size_t x = 0; x < p.width; ++x)
                buf[x] = static_cast<uint8_t>((near[x] * 3 + far[x] + bias) >> 2);
            return buf;
        }
        case Upsampling::h2v2_fancy: {
            const size_t r = y / 2;
            const uint8_t* near = row(r);
            const uint8_t* far = y % 2 == 0 ? row(r == 0 ? 0 : r - 1) : row(r + 1);
            const size_t n = p.width;
            int here = near[0] * 3 + far[0];
            int next = near[1] * 3 + far[1];
            buf[0] = static_cast<uint8_t>((here * 4 + 8) >> 4);
            buf[1] = static_cast<uint8_t>((here * 3 + next + 7) >> 4);
            int last = here;
            here = next;
            for (size_t x = 1; x + 1 < n; ++x) {
                next = near[x + 1] * 3 + far[x + 1];
                buf[2 * x] = static_cast<uint8_t>((here * 3 + last + 8) >> 4);
                buf[2 * x + 1] = static_cast<uint8_t>((here * 3 + next + 7) >> 4);
                last = here;
                here = next;
            }
            buf[2 * n - 2] = static_cast<uint8_t>((here * 3 + last + 8) >> 4);
            buf[2 * n - 1] = static_cast<uint8_t>((here * 4 + 7) >> 4);
            return buf;
        }
    }
    return row(y);
}

// ---------------------------------------------------------------------------
// The MCU

struct BlockPlan {
    BlockTables tables;
    const uint16_t* quant;
    PartialIdct idct;
    int size;
    int component;            // frame index
    size_t payload;           // offset of its partial samples in the MCU's payload
    size_t col, row;          // block position inside the MCU, in blocks
    uint16_t dc_quant;
};

struct McuPlan {
    std::vector<BlockPlan> blocks;
    size_t payload = 0;
};

bool decode_mcu(const BitSource& src, size_t& pos, const McuPlan& plan, int16_t* diffs, int16_t* payload) {
    for (size_t b = 0; b < plan.blocks.size(); ++b) {
        const BlockPlan& block = plan.blocks[b];
        if (!decode_dc(src, pos, *block.tables.dc, diffs + b)) return false;
        int16_t coef[64] = {};
        if (!decode_ac<true>(src, pos, *block.tables.ac, coef)) return false;
        block.idct(coef, block.quant, payload + block.payload);
    }
    return true;
}

}  // namespace

bool jpeg_scaled_supported(const JpegEighthFrame& frame, int scale_num) {
    FramePlan plan;
    return scale_num != 8 && plan_frame(frame, scale_num, plan);
}

bool jpeg_decode_scaled(const JpegEighthFrame& frame, int scale_num, const uint8_t* data, size_t size,
                        PictureBuffer& out, unsigned threads) {
    FramePlan plan;
    if (!data || scale_num == 8 || !plan_frame(frame, scale_num, plan)) return false;
    try {
        const size_t ncomp = frame.components.size();
        FrameTables tables;
        if (!tables.build(frame)) return false;

        McuPlan mcu;
        for (size_t ci = 0; ci < ncomp; ++ci) {
            const auto& c = frame.components[ci];
            const ComponentPlan& p = plan.components[static_cast<size_t>(c.frame_index)];
            for (int by = 0; by < p.v; ++by)
                for (int bx = 0; bx < p.h; ++bx) {
                    BlockPlan b{};
                    b.tables = {&tables.dc[static_cast<size_t>(c.dc_table)], &tables.ac[static_cast<size_t>(c.ac_table)]};
                    b.quant = c.quant.data();
                    b.idct = idct_for(p.size);
                    b.size = p.size;
                    b.component = c.frame_index;
                    b.payload = mcu.payload;
                    b.col = static_cast<size_t>(bx);
                    b.row = static_cast<size_t>(by);
                    b.dc_quant = c.quant[0];
                    mcu.payload += static_cast<size_t>(p.size * p.size);
                    mcu.blocks.push_back(b);
                }
        }
        size_t mcus_per_row = 0, mcu_rows = 0;
        mcu_grid(frame, mcus_per_row, mcu_rows);
        McuShape shape;
        shape.blocks = mcu.blocks.size();
        shape.payload = mcu.payload;
        shape.total = mcus_per_row * mcu_rows;

        BitSource src;
        PiecePlan pieces_plan;
        std::vector<SequenceRun<int16_t>> runs;
        auto decode = [&](const BitSource& bits, size_t& pos, int16_t* diffs, int16_t* payload) {
            return decode_mcu(bits, pos, mcu, diffs, payload);
        };
        if (!decode_entropy_data(data, size, shape, threads, kMinBytesPerPiece, decode, src, pieces_plan, runs))
            return false;

        // One plane per component, every block of it, in memory the thread
        // keeps from picture to picture.
        thread_local std::array<ReusableBytes, 3> plane_memory;
        std::array<Plane, 3> planes;
        std::array<uint8_t*, 3> plane_data{};
        for (size_t ci = 0; ci < ncomp; ++ci) {
            const ComponentPlan& p = plan.components[ci];
            planes[ci].stride = p.blocks_across * static_cast<size_t>(p.size);
            plane_data[ci] = plane_memory[ci].resize_for_overwrite(planes[ci].stride * p.blocks_down *
                                                                   static_cast<size_t>(p.size));
            planes[ci].samples = plane_data[ci];
        }

        // Each run starts with the DC predictors the runs before it leave.
        struct RunStart {
            std::array<uint32_t, 3> predictor;
            size_t mcu;
        };
        std::vector<RunStart> starts(runs.size());
        {
            std::array<uint32_t, 3> predictor{};
            size_t first = 0;
            for (size_t r = 0; r < runs.size(); ++r) {
                starts[r] = {predictor, first};
                const int16_t* d = runs[r].diffs;
                for (size_t m = 0; m < runs[r].mcus; ++m, d += shape.blocks)
                    for (size_t b = 0; b < shape.blocks; ++b)
                        predictor[static_cast<size_t>(mcu.blocks[b].component)] +=
                            static_cast<uint32_t>(static_cast<int32_t>(d[b]));
                first += runs[r].mcus;
            }
        }
        // The samples of each run's MCUs, finished with their DC values.
        std::atomic<bool> extreme{false};
        const std::array<uint8_t, 1024>& range = range_table();
        run_jobs(pieces_plan.workers, runs.size(), [&](size_t r) {
            std::array<uint32_t, 3> predictor = starts[r].predictor;
            const int16_t* d = runs[r].diffs;
            const int16_t* partial = runs[r].payload;
            bool out_of_range = false;
            for (size_t m = 0; m < runs[r].mcus; ++m, d += shape.blocks, partial += shape.payload) {
                const size_t index = starts[r].mcu + m;
                const size_t mx = index % mcus_per_row, my = index / mcus_per_row;
                for (size_t b = 0; b < shape.blocks; ++b) {
                    const BlockPlan& block = mcu.blocks[b];
                    // Wraps like libjpeg's int on runaway differences.
                    uint32_t& pred = predictor[static_cast<size_t>(block.component)];
                    pred += static_cast<uint32_t>(static_cast<int32_t>(d[b]));
                    const auto dc = static_cast<int16_t>(pred & 0xFFFF);
                    const int64_t dcq = static_cast<int64_t>(dc) * block.dc_quant;
                    const int16_t* h = partial + block.payload;
                    if (h[0] == kExtreme || outside(dcq, kCoefficientBound)) out_of_range = true;
                    // Within the bounds the sums fit an int.
                    const auto base = static_cast<int32_t>(dcq);
                    const ComponentPlan& p = plan.components[static_cast<size_t>(block.component)];
                    const Plane& plane = planes[static_cast<size_t>(block.component)];
                    const auto n = static_cast<size_t>(block.size);
                    const size_t bx = mx * static_cast<size_t>(p.h) + block.col;
                    const size_t by = my * static_cast<size_t>(p.v) + block.row;
                    uint8_t* at = plane_data[static_cast<size_t>(block.component)] + by * n * plane.stride + bx * n;
                    for (size_t y = 0; y < n; ++y, at += plane.stride, h += n)
                        for (size_t x = 0; x < n; ++x) at[x] = range[static_cast<size_t>(((base + h[x]) >> 3) & 1023)];
                }
            }
            if (out_of_range) extreme = true;
        });
        if (extreme) return false;

        // Upsampling and colour conversion in bands of rows.
        PictureBuffer picture = PictureBuffer::allocate_for_overwrite(plan.out_w, plan.out_h);
        const auto out_w = static_cast<size_t>(plan.out_w);
        const auto out_h = static_cast<size_t>(plan.out_h);
        constexpr size_t kBandRows = 32;
        const size_t bands = divide_up(out_h, kBandRows);
        const YccTables& ycc = ycc_tables();
        run_jobs(pieces_plan.workers, bands, [&](size_t band) {
            // Room for a component row enlarged past the picture's edge.
            std::vector<uint8_t> bufs(3 * (out_w + 64));
            for (size_t y = band * kBandRows; y < std::min(out_h, (band + 1) * kBandRows); ++y) {
                uint8_t* row = picture.row(static_cast<int32_t>(y));
                if (ncomp == 1) {
                    const uint8_t* g = upsampled_row(plan.components[0], planes[0], y, out_w, bufs.data());
                    for (size_t x = 0; x < out_w; ++x, row += 3) row[0] = row[1] = row[2] = g[x];
                    continue;
                }
                std::array<const uint8_t*, 3> rows{};
                for (size_t ci = 0; ci < 3; ++ci)
                    rows[ci] = upsampled_row(plan.components[ci], planes[ci], y, out_w, bufs.data() + ci * (out_w + 64));
                for (size_t x = 0; x < out_w; ++x, row += 3) ycc_to_rgb(ycc, rows[0][x], rows[1][x], rows[2][x], row);
            }
        });
        out = std::move(picture);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace galvora
