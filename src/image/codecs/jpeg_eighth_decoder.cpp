#include "image/codecs/jpeg_eighth_decoder.h"

#include <algorithm>
#include <cstring>

#include "image/codecs/jpeg_slices.h"

namespace galvora {

namespace {

using namespace jpeg_slices;

// The data is cut into pieces of at least this size when the number of
// threads is chosen from the machine. Below it the start-up and the
// stitching cost more than they save.
constexpr size_t kMinBytesPerPiece = 96 * 1024;

// One block: its DC difference into *diff, the AC codes passed over.
// False on an invalid code.
inline bool decode_block(const BitSource& src, size_t& pos, const BlockTables& tables, int16_t* diff) {
    return decode_dc(src, pos, *tables.dc, diff) && decode_ac<false>(src, pos, *tables.ac, nullptr);
}

// A block that becomes 2x2 samples (chroma that libjpeg doubles by its
// reduced IDCT rather than by replication), less the part that depends on
// the DC value, which is only known once the pieces are stitched. The
// arithmetic is the integer 2x2 IDCT of libjpeg (13 fraction bits, 2 bits
// kept between the passes), split where the DC term separates exactly.
//
// libjpeg's SIMD versions of that IDCT work in 16 and 32 bits and saturate,
// so on absurd coefficients (only damaged data has them) their result
// depends on the processor. Blocks whose values leave the range where every
// version agrees are marked, and a picture with one in it is left to libjpeg.
struct QuadTerms {
    std::array<int64_t, 2> column0{};  // first-pass rows of column 0, without the DC
    std::array<int64_t, 2> odd{};      // second-pass odd part of each output row
    bool extreme = false;
};

// Dequantised coefficients and first-pass values within this bound keep
// every sum of the 2x2 IDCT inside 32 bits and every stored value inside 16.
constexpr int64_t kQuadValueBound = 16383;
// Results within this range are clamped alike by libjpeg's range table and
// by saturation.
constexpr int64_t kQuadResultLow = -384;
constexpr int64_t kQuadResultHigh = 383;

constexpr int64_t kFix0_720959822 = 5906;
constexpr int64_t kFix0_850430095 = 6967;
constexpr int64_t kFix1_272758580 = 10426;
constexpr int64_t kFix3_624509785 = 29692;

inline int64_t odd_part(int64_t c1, int64_t c3, int64_t c5, int64_t c7) {
    return c7 * -kFix0_720959822 + c5 * kFix0_850430095 + c3 * -kFix1_272758580 + c1 * kFix3_624509785;
}

inline int64_t descale(int64_t x, int n) { return (x + (int64_t{1} << (n - 1))) >> n; }

QuadTerms quad_terms(const int16_t* coef, const uint16_t* quant) {
    auto deq = [&](int row, int col) -> int64_t {
        const int i = row * 8 + col;
        return static_cast<int64_t>(static_cast<int>(coef[i]) * static_cast<int>(quant[i]));
    };
    // First pass over columns 1, 3, 5 and 7: two rows each, kept as int
    // the way libjpeg keeps its workspace.
    std::array<std::array<int32_t, 8>, 2> ws{};
    bool extreme = false;
    for (int i = 1; i < 64; ++i) {
        const int row = i / 8, col = i % 8;
        if ((row == 0 || row % 2 == 1) && (col == 0 || col % 2 == 1)) {
            const int64_t v = deq(row, col);
            if (v > kQuadValueBound || v < -kQuadValueBound) extreme = true;
        }
    }
    for (int col : {1, 3, 5, 7}) {
        const int64_t odd = odd_part(deq(1, col), deq(3, col), deq(5, col), deq(7, col));
        const int64_t even = deq(0, col) << 15;
        ws[0][static_cast<size_t>(col)] = static_cast<int32_t>(descale(even + odd, 13));
        ws[1][static_cast<size_t>(col)] = static_cast<int32_t>(descale(even - odd, 13));
    }
    // Column 0 holds the DC: its even part is a whole multiple of the
    // scale, so it adds on after the rounding shift; the sum becomes int
    // only once the DC is known.
    const int64_t odd0 = odd_part(deq(1, 0), deq(3, 0), deq(5, 0), deq(7, 0));
    QuadTerms t;
    t.column0 = {descale(odd0, 13), descale(-odd0, 13)};
    for (size_t r = 0; r < 2; ++r) {
        t.odd[r] = odd_part(ws[r][1], ws[r][3], ws[r][5], ws[r][7]);
        for (int col : {1, 3, 5, 7})
            if (ws[r][static_cast<size_t>(col)] > kQuadValueBound || ws[r][static_cast<size_t>(col)] < -kQuadValueBound)
                extreme = true;
    }
    t.extreme = extreme;
    return t;
}


// One block whose coefficients are kept: DC difference into *diff, the
// 2x2 terms into *terms. False on an invalid code.
inline bool decode_quad_block(const BitSource& src, size_t& pos, const BlockTables& tables, const uint16_t* quant,
                              int16_t* diff, QuadTerms* terms) {
    if (!decode_dc(src, pos, *tables.dc, diff)) return false;
    int16_t coef[64] = {};
    if (!decode_ac<true>(src, pos, *tables.ac, coef)) return false;
    *terms = quad_terms(coef, quant);
    return true;
}

struct McuLayout {
    int blocks = 0;
    int quad_blocks = 0;  // blocks kept for the 2x2 IDCT
    std::array<BlockTables, kMaxBlocksInMcu> tables{};
    std::array<const uint16_t*, kMaxBlocksInMcu> quant{};  // set for quad blocks only
};

inline bool decode_mcu(const BitSource& src, size_t& pos, const McuLayout& layout, int16_t* diffs,
                       QuadTerms* quads) {
    for (int b = 0; b < layout.blocks; ++b) {
        const auto i = static_cast<size_t>(b);
        if (layout.quant[i]) {
            if (!decode_quad_block(src, pos, layout.tables[i], layout.quant[i], diffs + b, quads++)) return false;
        } else if (!decode_block(src, pos, layout.tables[i], diffs + b)) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// From DC values to pixels

// The sample of a block at scale 1/8: the dequantised DC over 8, centred,
// through libjpeg's range table.
inline uint8_t block_sample(int16_t dc, uint16_t quant) {
    return range_sample(((static_cast<int>(dc) * static_cast<int>(quant)) + 4) >> 3);
}

struct Plane {
    std::vector<uint8_t> samples;
    size_t stride = 0;
    int expand_h = 1;
    int expand_v = 1;
};

// Samples per block side that libjpeg makes of a component at scale 1/8:
// one, or more where subsampled chroma can be enlarged by its reduced IDCT
// instead of by replication.
int block_scale(int max_h, int max_v, const JpegScanComponent& c) {
    int scale = 1;
    while (scale < 8 && max_h % (c.h * scale * 2) == 0 && max_v % (c.v * scale * 2) == 0) scale *= 2;
    return scale;
}

}  // namespace

bool jpeg_eighth_supported(const JpegEighthFrame& frame) {
    const size_t n = frame.components.size();
    if (n != 1 && n != 3) return false;
    if (frame.width <= 0 || frame.height <= 0) return false;
    int max_h = 1, max_v = 1, blocks = 0;
    std::array<bool, 3> seen{};
    for (const auto& c : frame.components) {
        if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return false;
        if (c.dc_table < 0 || c.dc_table > 3 || c.ac_table < 0 || c.ac_table > 3) return false;
        if (c.frame_index < 0 || c.frame_index >= static_cast<int>(n) || seen[static_cast<size_t>(c.frame_index)])
            return false;
        seen[static_cast<size_t>(c.frame_index)] = true;
        max_h = std::max(max_h, c.h);
        max_v = std::max(max_v, c.v);
        blocks += c.h * c.v;
    }
    if (n == 3 && blocks > kMaxBlocksInMcu) return false;
    if (n == 1) return true;
    for (const auto& c : frame.components) {
        // One sample or 2x2 samples per block, then replication by whole factors.
        const int scale = block_scale(max_h, max_v, c);
        if (scale > 2) return false;
        if (max_h % (c.h * scale) != 0 || max_v % (c.v * scale) != 0) return false;
    }
    return true;
}

bool jpeg_decode_eighth(const JpegEighthFrame& frame, const uint8_t* data, size_t size, PictureBuffer& out,
                        unsigned threads) {
    if (!jpeg_eighth_supported(frame) || !data) return false;
    try {
        const size_t ncomp = frame.components.size();
        int max_h = 1, max_v = 1;
        max_sampling(frame, max_h, max_v);
        FrameTables tables;
        if (!tables.build(frame)) return false;

        // The MCU: one block for a single-component scan, else h x v blocks
        // of each component in scan order.
        McuLayout layout;
        size_t mcus_per_row = 0, mcu_rows = 0;
        mcu_grid(frame, mcus_per_row, mcu_rows);
        for (size_t ci = 0; ci < ncomp; ++ci) {
            const auto& c = frame.components[ci];
            const bool quad = ncomp > 1 && block_scale(max_h, max_v, c) == 2;
            const int blocks = ncomp == 1 ? 1 : c.h * c.v;
            for (int b = 0; b < blocks; ++b) {
                const auto i = static_cast<size_t>(layout.blocks);
                layout.tables[i] = {&tables.dc[static_cast<size_t>(c.dc_table)],
                                    &tables.ac[static_cast<size_t>(c.ac_table)]};
                if (quad) {
                    layout.quant[i] = c.quant.data();
                    ++layout.quad_blocks;
                }
                ++layout.blocks;
            }
        }
        McuShape shape;
        shape.blocks = static_cast<size_t>(layout.blocks);
        shape.payload = static_cast<size_t>(layout.quad_blocks);
        shape.total = mcus_per_row * mcu_rows;
        const size_t mcu_total = shape.total;

        BitSource src;
        PiecePlan plan;
        std::vector<SequenceRun<QuadTerms>> runs;
        auto decode = [&](const BitSource& bits, size_t& pos, int16_t* diffs, QuadTerms* quads) {
            return decode_mcu(bits, pos, layout, diffs, quads);
        };
        if (!decode_entropy_data(data, size, shape, threads, kMinBytesPerPiece, decode, src, plan, runs)) return false;

        // The DC values, predicted per component, into one plane per
        // component: a sample per block, or 2x2 for the quad blocks.
        std::array<Plane, 3> planes;
        for (size_t ci = 0; ci < ncomp; ++ci) {
            const auto& c = frame.components[ci];
            const int scale = ncomp == 1 ? 1 : block_scale(max_h, max_v, c);
            Plane& p = planes[static_cast<size_t>(c.frame_index)];
            const size_t bw = ncomp == 1 ? mcus_per_row : mcus_per_row * static_cast<size_t>(c.h);
            const size_t bh = ncomp == 1 ? mcu_rows : mcu_rows * static_cast<size_t>(c.v);
            p.stride = bw * static_cast<size_t>(scale);
            p.samples.assign(p.stride * bh * static_cast<size_t>(scale), 0);
            p.expand_h = ncomp == 1 ? 1 : max_h / (c.h * scale);
            p.expand_v = ncomp == 1 ? 1 : max_v / (c.v * scale);
        }
        // Where each block of an MCU lands in its plane, relative to the MCU's corner.
        struct BlockPlace {
            uint8_t* plane;
            size_t offset;
            size_t step;      // plane columns per MCU
            size_t row_step;  // plane samples per row of MCUs
            size_t stride;
            uint16_t quant;
            uint8_t predictor;
            bool quad;
        };
        std::array<BlockPlace, kMaxBlocksInMcu> places{};
        {
            int b = 0;
            for (size_t ci = 0; ci < ncomp; ++ci) {
                const auto& c = frame.components[ci];
                Plane& p = planes[static_cast<size_t>(c.frame_index)];
                const int ch = ncomp == 1 ? 1 : c.h;
                const int cv = ncomp == 1 ? 1 : c.v;
                const bool quad = layout.quant[static_cast<size_t>(b)] != nullptr;
                const size_t scale = quad ? 2 : 1;
                for (int yy = 0; yy < cv; ++yy)
                    for (int xx = 0; xx < ch; ++xx, ++b)
                        places[static_cast<size_t>(b)] = {
                            p.samples.data(),
                            (static_cast<size_t>(yy) * p.stride + static_cast<size_t>(xx)) * scale,
                            static_cast<size_t>(ch) * scale,
                            p.stride * static_cast<size_t>(cv) * scale,
                            p.stride,
                            c.dc_quant,
                            static_cast<uint8_t>(ci),
                            quad};
            }
        }
        std::array<uint32_t, 3> predictor{};
        size_t mcu = 0, mx = 0, my = 0;
        bool extreme = false;
        auto take = [&](const int16_t* diffs, const QuadTerms* quads, size_t mcus) {
            const auto blocks = static_cast<size_t>(layout.blocks);
            for (size_t m = 0; m < mcus && mcu < mcu_total; ++m, ++mcu) {
                const int16_t* d = diffs + m * blocks;
                for (size_t b = 0; b < blocks; ++b) {
                    const BlockPlace& at = places[b];
                    // Wraps like libjpeg's int on runaway differences.
                    uint32_t& pred = predictor[at.predictor];
                    pred += static_cast<uint32_t>(static_cast<int32_t>(d[b]));
                    const auto dc = static_cast<int16_t>(pred & 0xFFFF);
                    uint8_t* sample = at.plane + my * at.row_step + mx * at.step + at.offset;
                    if (!at.quad) {
                        *sample = block_sample(dc, at.quant);
                        continue;
                    }
                    const QuadTerms& q = *quads++;
                    const int64_t dcq = static_cast<int>(dc) * static_cast<int>(at.quant);
                    if (q.extreme || dcq > kQuadValueBound || dcq < -kQuadValueBound) extreme = true;
                    for (size_t r = 0; r < 2; ++r) {
                        const int64_t column0 = static_cast<int32_t>(4 * dcq + q.column0[r]);
                        if (column0 > kQuadValueBound || column0 < -kQuadValueBound) extreme = true;
                        const int64_t even = column0 << 15;
                        const int64_t left = descale(even + q.odd[r], 20);
                        const int64_t right = descale(even - q.odd[r], 20);
                        if (std::min(left, right) < kQuadResultLow || std::max(left, right) > kQuadResultHigh)
                            extreme = true;
                        sample[r * at.stride] = range_sample(left);
                        sample[r * at.stride + 1] = range_sample(right);
                    }
                }
                if (++mx == mcus_per_row) {
                    mx = 0;
                    ++my;
                }
            }
        };
        for (const auto& run : runs) take(run.diffs, run.payload, run.mcus);
        if (mcu < mcu_total || extreme) return false;

        const int32_t out_w = static_cast<int32_t>((static_cast<int64_t>(frame.width) + 7) / 8);
        const int32_t out_h = static_cast<int32_t>((static_cast<int64_t>(frame.height) + 7) / 8);
        PictureBuffer picture = PictureBuffer::allocate_for_overwrite(out_w, out_h);
        const YccTables& ycc = ycc_tables();
        // Column of each output pixel in each plane (chroma replicated).
        std::array<std::vector<uint32_t>, 3> columns;
        for (size_t ci = 0; ci < ncomp; ++ci) {
            columns[ci].resize(static_cast<size_t>(out_w));
            for (int32_t x = 0; x < out_w; ++x)
                columns[ci][static_cast<size_t>(x)] = static_cast<uint32_t>(x / planes[ci].expand_h);
        }
        for (int32_t y = 0; y < out_h; ++y) {
            uint8_t* row = picture.row(y);
            std::array<const uint8_t*, 3> rows{};
            for (size_t ci = 0; ci < ncomp; ++ci)
                rows[ci] = planes[ci].samples.data() +
                           static_cast<size_t>(y / planes[ci].expand_v) * planes[ci].stride;
            if (ncomp == 1) {
                for (int32_t x = 0; x < out_w; ++x, row += 3) row[0] = row[1] = row[2] = rows[0][x];
                continue;
            }
            const uint32_t* c0 = columns[0].data();
            const uint32_t* c1 = columns[1].data();
            const uint32_t* c2 = columns[2].data();
            for (int32_t x = 0; x < out_w; ++x, row += 3) ycc_to_rgb(ycc, rows[0][c0[x]], rows[1][c1[x]], rows[2][c2[x]], row);
        }
        out = std::move(picture);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace galvora
