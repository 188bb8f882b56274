#include "image/codecs/jpeg_eighth_decoder.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <thread>

#include "foundation/worker_threads.h"

namespace galvora {

namespace {

constexpr int kMaxBlocksInMcu = 10;
// The data is cut into pieces of at least this size, about four per
// thread, which the threads take in turn: a thread the machine slows down
// then holds up only a small piece. Below this size the start-up and the
// stitching cost more than they save.
constexpr size_t kMinBytesPerPiece = 96 * 1024;
constexpr unsigned kPiecesPerThread = 4;
constexpr unsigned kMaxThreads = 8;
constexpr int kLookBits = 11;

// ---------------------------------------------------------------------------
// Huffman tables

struct LookEntry {
    uint8_t code_len = 0;  // 0: code longer than kLookBits
    uint8_t symbol = 0;
    // AC only: code and value bits together when both fit in the look-ahead
    // (0 otherwise), and how far the coefficient index moves (0 = end of block).
    uint8_t total_len = 0;
    uint8_t k_step = 0;
};

struct HuffmanTable {
    std::array<LookEntry, 1 << kLookBits> look{};
    std::array<int32_t, 18> maxcode{};
    std::array<int32_t, 18> valoffset{};
    std::array<uint8_t, 256> symbols{};
};

// Builds the decoding table with the checks libjpeg makes; false where it
// would refuse the table.
bool build_table(const JpegHuffmanSpec& spec, bool dc, HuffmanTable& t) {
    if (!spec.present) return false;
    std::array<uint8_t, 257> sizes{};
    std::array<uint32_t, 257> codes{};
    int p = 0;
    for (int l = 1; l <= 16; ++l) {
        const int n = spec.counts[static_cast<size_t>(l)];
        if (p + n > 256) return false;
        for (int i = 0; i < n; ++i) sizes[static_cast<size_t>(p++)] = static_cast<uint8_t>(l);
    }
    const int count = p;
    sizes[static_cast<size_t>(count)] = 0;
    uint32_t code = 0;
    int si = sizes[0];
    p = 0;
    while (sizes[static_cast<size_t>(p)]) {
        while (sizes[static_cast<size_t>(p)] == si) {
            codes[static_cast<size_t>(p++)] = code;
            ++code;
        }
        if (code >= (1u << si)) return false;
        code <<= 1;
        ++si;
    }
    if (dc) {
        for (int i = 0; i < count; ++i)
            if (spec.symbols[static_cast<size_t>(i)] > 15) return false;
    }
    t.symbols = spec.symbols;
    p = 0;
    for (int l = 1; l <= 16; ++l) {
        const int n = spec.counts[static_cast<size_t>(l)];
        if (n) {
            t.valoffset[static_cast<size_t>(l)] = p - static_cast<int32_t>(codes[static_cast<size_t>(p)]);
            p += n;
            t.maxcode[static_cast<size_t>(l)] = static_cast<int32_t>(codes[static_cast<size_t>(p - 1)]);
        } else {
            t.maxcode[static_cast<size_t>(l)] = -1;
        }
    }
    t.valoffset[17] = 0;
    t.maxcode[17] = 0xFFFFF;
    t.look.fill(LookEntry{});
    for (int i = 0; i < count; ++i) {
        const int len = sizes[static_cast<size_t>(i)];
        if (len > kLookBits) continue;
        const uint8_t sym = spec.symbols[static_cast<size_t>(i)];
        const uint32_t first = codes[static_cast<size_t>(i)] << (kLookBits - len);
        const uint32_t n = 1u << (kLookBits - len);
        for (uint32_t j = 0; j < n; ++j) {
            LookEntry& e = t.look[first + j];
            e.code_len = static_cast<uint8_t>(len);
            e.symbol = sym;
            if (dc) continue;
            const int r = sym >> 4;
            const int s = sym & 15;
            if (len + s > kLookBits) continue;
            e.total_len = static_cast<uint8_t>(len + s);
            if (s)
                e.k_step = static_cast<uint8_t>(r + 1);
            else
                e.k_step = r == 15 ? 16 : 0;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Reading bits from the unstuffed data

struct BitSource {
    const uint8_t* data = nullptr;
    size_t bytes = 0;  // without the zero padding that follows
    size_t bits = 0;

    // The 64 bits from pos on, most significant first; at least 57 of them
    // are real. Past the end of the data come zero bits.
    uint64_t peek(size_t pos) const {
        const size_t byte = pos >> 3;
        uint64_t w = 0;
        if (byte + 8 <= bytes + 8) {  // the buffer carries 8 bytes of padding
            std::memcpy(&w, data + byte, 8);
            w = __builtin_bswap64(w);
        }
        return w << (pos & 7);
    }
};

// Copies the entropy-coded data with its stuffed zero bytes taken out, up to
// the marker that ends it; false unless that marker ends the picture.
bool unstuff(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    out.resize(size + 8);
    uint8_t* o = out.data();
    size_t i = 0;
    while (i < size) {
        const auto* ff = static_cast<const uint8_t*>(std::memchr(data + i, 0xFF, size - i));
        if (!ff) return false;  // no end-of-picture marker
        const size_t at = static_cast<size_t>(ff - data);
        std::memcpy(o, data + i, at - i);
        o += at - i;
        size_t j = at + 1;
        while (j < size && data[j] == 0xFF) ++j;
        if (j >= size) return false;
        if (data[j] == 0) {
            // A run of fill bytes before the stuffed zero: libjpeg reads that
            // as one data byte on one path and as a marker on the other, so
            // its result depends on where in its buffer the run falls.
            if (j != at + 1) return false;
            *o++ = 0xFF;
            i = j + 1;
            continue;
        }
        if (data[j] != 0xD9) return false;
        const size_t n = static_cast<size_t>(o - out.data());
        out.resize(n);
        out.insert(out.end(), 8, 0);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Decoding blocks

struct BlockTables {
    const HuffmanTable* dc;
    const HuffmanTable* ac;
};

// Longer codes, bit by bit against the largest code of each length.
inline bool slow_decode(const HuffmanTable& t, uint64_t w, int& len, int& symbol) {
    int l = kLookBits + 1;
    int32_t code = static_cast<int32_t>(w >> (64 - l));
    while (code > t.maxcode[static_cast<size_t>(l)]) {
        ++l;
        if (l > 16) return false;
        code = static_cast<int32_t>(w >> (64 - l));
    }
    len = l;
    symbol = t.symbols[static_cast<size_t>((code + t.valoffset[static_cast<size_t>(l)]) & 0xFF)];
    return true;
}

inline bool decode_symbol(const HuffmanTable& t, uint64_t w, int& len, int& symbol) {
    const LookEntry& e = t.look[w >> (64 - kLookBits)];
    if (e.code_len) {
        len = e.code_len;
        symbol = e.symbol;
        return true;
    }
    return slow_decode(t, w, len, symbol);
}

// The value of s extra bits r (the top bits of w): JPEG's sign extension.
inline int extend(uint64_t w, int s) {
    const auto r = static_cast<int32_t>(w >> (64 - s));
    return r < (1 << (s - 1)) ? r - (1 << s) + 1 : r;
}

// A block's DC difference into *diff; false on an invalid code.
inline bool decode_dc(const BitSource& src, size_t& pos, const HuffmanTable& dc, int16_t* diff) {
    const uint64_t w = src.peek(pos);
    int len = 0;
    int s = 0;
    if (!decode_symbol(dc, w, len, s)) return false;
    *diff = static_cast<int16_t>(s ? extend(w << len, s) : 0);
    pos += static_cast<size_t>(len + s);
    return true;
}

// One block: its DC difference into *diff, the AC codes passed over.
// False on an invalid code.
inline bool decode_block(const BitSource& src, size_t& pos, const BlockTables& tables, int16_t* diff) {
    if (!decode_dc(src, pos, *tables.dc, diff)) return false;
    const HuffmanTable& ac = *tables.ac;
    for (int k = 1; k < 64;) {
        const uint64_t w = src.peek(pos);
        const LookEntry& e = ac.look[w >> (64 - kLookBits)];
        if (e.total_len) {
            pos += e.total_len;
            if (!e.k_step) break;
            k += e.k_step;
            continue;
        }
        int len = 0;
        int symbol = 0;
        if (!decode_symbol(ac, w, len, symbol)) return false;
        const int r = symbol >> 4;
        const int s = symbol & 15;
        pos += static_cast<size_t>(len + s);
        if (s)
            k += r + 1;
        else if (r == 15)
            k += 16;
        else
            break;
    }
    return true;
}

// Zig-zag position of each coefficient to its place in the 8x8 block; the
// positions past the end catch runs that overshoot in damaged data.
constexpr std::array<uint8_t, 80> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
    6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
    39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

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
    for (int k = 1; k < 64; ++k) {
        const uint64_t w = src.peek(pos);
        int len = 0;
        int symbol = 0;
        if (!decode_symbol(*tables.ac, w, len, symbol)) return false;
        const int r = symbol >> 4;
        const int s = symbol & 15;
        if (s) {
            k += r;
            coef[kNaturalOrder[static_cast<size_t>(k)]] = static_cast<int16_t>(extend(w << len, s));
            pos += static_cast<size_t>(len + s);
        } else {
            pos += static_cast<size_t>(len);
            if (r != 15) break;
            k += 15;
        }
    }
    *terms = quad_terms(coef, quant);
    return true;
}

struct McuLayout {
    int blocks = 0;
    int quad_blocks = 0;  // blocks kept for the 2x2 IDCT
    std::array<BlockTables, kMaxBlocksInMcu> tables{};
    std::array<const uint16_t*, kMaxBlocksInMcu> quant{};  // set for quad blocks only
};

// The MCUs one thread decoded: where each started and its blocks' DC
// differences.
struct Piece {
    std::vector<uint64_t> starts;
    std::vector<int16_t> diffs;
    std::vector<QuadTerms> quads;
    size_t end = 0;  // where the next MCU would start
    // MCUs before this index came from an earlier guess that ran into an
    // invalid code; the true sequence cannot join them.
    size_t trusted_from = 0;
    bool failed = false;  // the true sequence itself met an invalid code

    // Decoding past the end of the thread's share until it meets the next piece.
    std::vector<int16_t> extra_diffs;
    std::vector<QuadTerms> extra_quads;
    size_t extra_mcus = 0;
    size_t joins_piece = 0;  // the piece it joined, and the MCU there
    size_t joins_at = 0;
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

// Decodes MCUs starting before limit. On the true sequence an invalid code
// fails the piece; on a guess the thread guesses again just past it. MCUs
// that would reach past the end of the data are not taken.
void decode_piece(const BitSource& src, const McuLayout& layout, size_t pos, size_t limit, bool true_sequence,
                  Piece& piece) {
    const size_t blocks = static_cast<size_t>(layout.blocks);
    const size_t expected = (limit > pos ? limit - pos : 0) / 64 + 16;
    piece.starts.reserve(expected / 4);
    piece.diffs.reserve(expected / 4 * blocks);
    if (layout.quad_blocks) piece.quads.reserve(expected / 4 * static_cast<size_t>(layout.quad_blocks));
    int16_t diffs[kMaxBlocksInMcu];
    QuadTerms quads[kMaxBlocksInMcu];
    while (pos < limit) {
        size_t next = pos;
        if (!decode_mcu(src, next, layout, diffs, quads)) {
            if (true_sequence) {
                piece.failed = true;
                break;
            }
            // next has moved to somewhere in the broken MCU; try again after it.
            pos = std::max(next, pos) + 1;
            piece.trusted_from = piece.starts.size();
            continue;
        }
        if (next > src.bits) break;
        piece.starts.push_back(pos);
        piece.diffs.insert(piece.diffs.end(), diffs, diffs + blocks);
        piece.quads.insert(piece.quads.end(), quads, quads + layout.quad_blocks);
        pos = next;
    }
    piece.end = pos;
}

// Runs piece t on past its share until one of its MCU starts is one a
// later piece also decoded from; from there on that piece holds the true
// sequence. Codes usually fall into step within a few hundred bytes, but
// in dense data a small piece can be passed over whole. All the pieces
// together may decode no more than `budget` bits this way, which bounds the
// work on data where the codes never fall into step; false when the budget
// runs out, no later piece is met, or the true sequence breaks.
bool join_next(const BitSource& src, const McuLayout& layout, std::vector<Piece>& pieces, size_t t,
               std::atomic<int64_t>& budget) {
    const size_t blocks = static_cast<size_t>(layout.blocks);
    Piece& piece = pieces[t];
    if (piece.failed) return false;
    size_t pos = piece.end;
    size_t n = t + 1;
    size_t j = 0;
    int16_t diffs[kMaxBlocksInMcu];
    QuadTerms quads[kMaxBlocksInMcu];
    for (;;) {
        // The first MCU start at or after pos among the later pieces.
        while (n < pieces.size()) {
            const auto& starts = pieces[n].starts;
            while (j < starts.size() && starts[j] < pos) ++j;
            if (j < starts.size()) break;
            ++n;
            j = 0;
        }
        if (n == pieces.size()) {
            // None left to meet: the rest of the data is this piece's, up
            // to where the codes stop making sense (the padding at the end).
            piece.joins_piece = n;
            piece.joins_at = 0;
        }
        if (n < pieces.size() && pieces[n].starts[j] == pos) {
            if (j < pieces[n].trusted_from) return false;
            piece.joins_piece = n;
            piece.joins_at = j;
            return true;
        }
        size_t after = pos;
        if (!decode_mcu(src, after, layout, diffs, quads) || after > src.bits) return n == pieces.size();
        if ((budget -= static_cast<int64_t>(after - pos)) < 0) return false;
        piece.extra_diffs.insert(piece.extra_diffs.end(), diffs, diffs + blocks);
        piece.extra_quads.insert(piece.extra_quads.end(), quads, quads + layout.quad_blocks);
        ++piece.extra_mcus;
        pos = after;
    }
}

// Runs f(0) .. f(jobs - 1) on up to `threads` threads (the calling one among
// them), each thread taking the next job as it becomes free.
template <typename F>
void run_jobs(unsigned threads, size_t jobs, F&& f) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t j = next++; j < jobs; j = next++) f(j);
    };
    std::vector<std::thread> pool;
    const unsigned helpers = static_cast<unsigned>(std::min<size_t>(threads, jobs)) - 1;
    pool.reserve(helpers);
    std::exception_ptr error;
    try {
        for (unsigned t = 0; t < helpers; ++t) pool.emplace_back(work);
    } catch (...) {
        error = std::current_exception();
    }
    work();  // also finishes the jobs of threads that could not be started
    for (auto& th : pool) th.join();
    if (error) std::rethrow_exception(error);
}

// ---------------------------------------------------------------------------
// From DC values to pixels

// The sample of a block at scale 1/8: the dequantised DC over 8, centred,
// through libjpeg's range table (which wraps values far out of range).
inline uint8_t range_sample(int64_t v) {
    const int i = static_cast<int>(v & 1023);
    if (i < 128) return static_cast<uint8_t>(i + 128);
    if (i < 512) return 255;
    if (i < 896) return 0;
    return static_cast<uint8_t>(i - 896);
}

inline uint8_t block_sample(int16_t dc, uint16_t quant) {
    return range_sample(((static_cast<int>(dc) * static_cast<int>(quant)) + 4) >> 3);
}

inline uint8_t clamp_sample(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

struct YccTables {
    std::array<int, 256> cr_r{}, cb_b{};
    std::array<int32_t, 256> cr_g{}, cb_g{};
    YccTables() {
        constexpr int kScale = 16;
        constexpr int32_t kHalf = 1 << (kScale - 1);
        auto fix = [](double x) { return static_cast<int32_t>(x * (1 << kScale) + 0.5); };
        for (int i = 0; i < 256; ++i) {
            const int32_t x = i - 128;
            cr_r[static_cast<size_t>(i)] = (fix(1.40200) * x + kHalf) >> kScale;
            cb_b[static_cast<size_t>(i)] = (fix(1.77200) * x + kHalf) >> kScale;
            cr_g[static_cast<size_t>(i)] = -fix(0.71414) * x;
            cb_g[static_cast<size_t>(i)] = -fix(0.34414) * x + kHalf;
        }
    }
};

const YccTables& ycc_tables() {
    static const YccTables tables;
    return tables;
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
        for (const auto& c : frame.components) {
            max_h = std::max(max_h, c.h);
            max_v = std::max(max_v, c.v);
        }
        // Decoding tables for the ones the scan uses.
        std::array<HuffmanTable, 4> dc_tables_storage;
        std::array<HuffmanTable, 4> ac_tables_storage;
        std::array<bool, 4> dc_built{}, ac_built{};
        for (const auto& c : frame.components) {
            const auto d = static_cast<size_t>(c.dc_table);
            const auto a = static_cast<size_t>(c.ac_table);
            if (!dc_built[d] && !build_table(frame.dc_tables[d], true, dc_tables_storage[d])) return false;
            if (!ac_built[a] && !build_table(frame.ac_tables[a], false, ac_tables_storage[a])) return false;
            dc_built[d] = ac_built[a] = true;
        }

        // The MCU: one block for a single-component scan, else h x v blocks
        // of each component in scan order.
        McuLayout layout;
        size_t mcus_per_row = 0, mcu_rows = 0;
        if (ncomp == 1) {
            const auto& c = frame.components[0];
            layout.blocks = 1;
            layout.tables[0] = {&dc_tables_storage[static_cast<size_t>(c.dc_table)],
                                &ac_tables_storage[static_cast<size_t>(c.ac_table)]};
            mcus_per_row = (static_cast<size_t>(frame.width) + 7) / 8;
            mcu_rows = (static_cast<size_t>(frame.height) + 7) / 8;
        } else {
            for (size_t ci = 0; ci < ncomp; ++ci) {
                const auto& c = frame.components[ci];
                const bool quad = block_scale(max_h, max_v, c) == 2;
                for (int b = 0; b < c.h * c.v; ++b) {
                    const auto i = static_cast<size_t>(layout.blocks);
                    layout.tables[i] = {&dc_tables_storage[static_cast<size_t>(c.dc_table)],
                                        &ac_tables_storage[static_cast<size_t>(c.ac_table)]};
                    if (quad) {
                        layout.quant[i] = c.quant.data();
                        ++layout.quad_blocks;
                    }
                    ++layout.blocks;
                }
            }
            mcus_per_row = (static_cast<size_t>(frame.width) + 8 * static_cast<size_t>(max_h) - 1) /
                           (8 * static_cast<size_t>(max_h));
            mcu_rows = (static_cast<size_t>(frame.height) + 8 * static_cast<size_t>(max_v) - 1) /
                       (8 * static_cast<size_t>(max_v));
        }
        const size_t mcu_total = mcus_per_row * mcu_rows;

        std::vector<uint8_t> clean;
        if (!unstuff(data, size, clean)) return false;
        BitSource src;
        src.data = clean.data();
        src.bytes = clean.size() - 8;
        src.bits = src.bytes * 8;
        // Every block takes at least two bits (a DC and an AC code).
        if (mcu_total > src.bits / (2 * static_cast<size_t>(layout.blocks))) return false;

        // Chosen from the machine, the pieces are worth a thread's start;
        // asked for (tests), they only need to hold a few MCUs.
        // On a worker thread the other workers have pictures of their own.
        unsigned workers = threads ? threads : (on_worker_thread() ? 1u : usable_processors());
        workers = std::min<unsigned>(workers, kMaxThreads);
        const size_t min_piece = threads ? 2 * 1024 : kMinBytesPerPiece;
        const size_t count = std::max<size_t>(
            1, std::min<size_t>(static_cast<size_t>(workers) * kPiecesPerThread, src.bytes / min_piece));

        std::vector<Piece> pieces(count);
        std::vector<size_t> bounds(count + 1);
        for (size_t t = 0; t <= count; ++t) bounds[t] = src.bits / count * t;
        bounds[count] = src.bits;
        std::vector<char> joined(count, 0);
        run_jobs(workers, count, [&](size_t t) {
            try {
                decode_piece(src, layout, bounds[t], bounds[t + 1], t == 0, pieces[t]);
            } catch (...) {
                pieces[t].failed = true;
            }
        });
        if (count > 1) {
            std::atomic<int64_t> budget{static_cast<int64_t>(src.bits) * 2};
            run_jobs(workers, count - 1, [&](size_t t) {
                try {
                    joined[t] = join_next(src, layout, pieces, t, budget);
                } catch (...) {
                    joined[t] = 0;
                }
            });
        }
        for (const Piece& p : pieces)
            if (p.failed) return false;

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
        // The true sequence: piece 0, on to the piece it joined, and so on.
        const auto quad_blocks = static_cast<size_t>(layout.quad_blocks);
        for (size_t t = 0, first = 0; mcu < mcu_total;) {
            const Piece& p = pieces[t];
            const size_t have = p.starts.size();
            if (first < have)
                take(p.diffs.data() + first * static_cast<size_t>(layout.blocks), p.quads.data() + first * quad_blocks,
                     have - first);
            if (t + 1 == count) break;
            if (!joined[t]) return false;
            take(p.extra_diffs.data(), p.extra_quads.data(), p.extra_mcus);
            if (p.joins_piece == count) break;
            first = p.joins_at;
            t = p.joins_piece;
        }
        if (mcu < mcu_total || extreme) return false;

        const int32_t out_w = static_cast<int32_t>((static_cast<int64_t>(frame.width) + 7) / 8);
        const int32_t out_h = static_cast<int32_t>((static_cast<int64_t>(frame.height) + 7) / 8);
        PictureBuffer picture = PictureBuffer::allocate(out_w, out_h);
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
            for (int32_t x = 0; x < out_w; ++x, row += 3) {
                const int lum = rows[0][c0[x]];
                const uint8_t cb = rows[1][c1[x]];
                const uint8_t cr = rows[2][c2[x]];
                row[0] = clamp_sample(lum + ycc.cr_r[cr]);
                row[1] = clamp_sample(lum + ((ycc.cb_g[cb] + ycc.cr_g[cr]) >> 16));
                row[2] = clamp_sample(lum + ycc.cb_b[cb]);
            }
        }
        out = std::move(picture);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace galvora
