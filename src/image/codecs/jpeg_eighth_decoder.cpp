#include "image/codecs/jpeg_eighth_decoder.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

namespace galvora {

namespace {

constexpr int kMaxBlocksInMcu = 10;
// Each thread gets at least this much entropy-coded data; below it the
// start-up and the stitching cost more than they save.
constexpr size_t kMinBytesPerThread = 192 * 1024;
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

// One block: its DC difference into *diff, the AC codes passed over.
// False on an invalid code.
inline bool decode_block(const BitSource& src, size_t& pos, const BlockTables& tables, int16_t* diff) {
    uint64_t w = src.peek(pos);
    int len = 0;
    int s = 0;
    if (!decode_symbol(*tables.dc, w, len, s)) return false;
    int value = 0;
    if (s) {
        const auto r = static_cast<int32_t>((w << len) >> (64 - s));
        value = r < (1 << (s - 1)) ? r - (1 << s) + 1 : r;
    }
    pos += static_cast<size_t>(len + s);
    *diff = static_cast<int16_t>(value);
    const HuffmanTable& ac = *tables.ac;
    for (int k = 1; k < 64;) {
        w = src.peek(pos);
        const LookEntry& e = ac.look[w >> (64 - kLookBits)];
        if (e.total_len) {
            pos += e.total_len;
            if (!e.k_step) break;
            k += e.k_step;
            continue;
        }
        int symbol = 0;
        if (!decode_symbol(ac, w, len, symbol)) return false;
        const int r = symbol >> 4;
        s = symbol & 15;
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

struct McuLayout {
    int blocks = 0;
    std::array<BlockTables, kMaxBlocksInMcu> tables{};
    std::array<uint8_t, kMaxBlocksInMcu> scan_component{};  // scan index of each block
};

// The MCUs one thread decoded: where each started and its blocks' DC
// differences.
struct Piece {
    std::vector<uint64_t> starts;
    std::vector<int16_t> diffs;
    size_t end = 0;  // where the next MCU would start
    // MCUs before this index came from an earlier guess that ran into an
    // invalid code; the true sequence cannot join them.
    size_t trusted_from = 0;
    bool failed = false;  // the true sequence itself met an invalid code

    // Decoding past the end of the thread's share until it meets the next piece.
    std::vector<int16_t> extra_diffs;
    size_t extra_mcus = 0;
    size_t joins_next_at = 0;
};

inline bool decode_mcu(const BitSource& src, size_t& pos, const McuLayout& layout, int16_t* diffs) {
    for (int b = 0; b < layout.blocks; ++b)
        if (!decode_block(src, pos, layout.tables[static_cast<size_t>(b)], diffs + b)) return false;
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
    int16_t diffs[kMaxBlocksInMcu];
    while (pos < limit) {
        size_t next = pos;
        if (!decode_mcu(src, next, layout, diffs)) {
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
        pos = next;
    }
    piece.end = pos;
}

// Runs piece on past its share until one of its MCU starts is one the next
// piece also decoded from; from there on the next piece holds the true
// sequence. False when they never meet within the next piece or the true
// sequence breaks.
bool join_next(const BitSource& src, const McuLayout& layout, Piece& piece, const Piece& next) {
    const size_t blocks = static_cast<size_t>(layout.blocks);
    if (piece.failed || next.starts.empty()) return false;
    size_t pos = piece.end;
    size_t j = 0;
    int16_t diffs[kMaxBlocksInMcu];
    for (;;) {
        while (j < next.starts.size() && next.starts[j] < pos) ++j;
        if (j == next.starts.size()) return false;
        if (next.starts[j] == pos) {
            if (j < next.trusted_from) return false;
            piece.joins_next_at = j;
            return true;
        }
        size_t after = pos;
        if (!decode_mcu(src, after, layout, diffs) || after > src.bits) return false;
        piece.extra_diffs.insert(piece.extra_diffs.end(), diffs, diffs + blocks);
        ++piece.extra_mcus;
        pos = after;
    }
}

template <typename F>
void run_threads(unsigned count, F&& f) {
    std::vector<std::thread> threads;
    threads.reserve(count);
    std::exception_ptr error;
    try {
        for (unsigned t = 1; t < count; ++t) threads.emplace_back([&f, t] { f(t); });
    } catch (...) {
        error = std::current_exception();
    }
    if (!error) f(0u);
    for (auto& th : threads) th.join();
    if (error) std::rethrow_exception(error);
}

// ---------------------------------------------------------------------------
// From DC values to pixels

// The sample of a block at scale 1/8: the dequantised DC over 8, centred,
// through libjpeg's range table (which wraps values far out of range).
inline uint8_t block_sample(int16_t dc, uint16_t quant) {
    const int v = ((static_cast<int>(dc) * static_cast<int>(quant)) + 4) >> 3;
    const int i = v & 1023;
    if (i < 128) return static_cast<uint8_t>(i + 128);
    if (i < 512) return 255;
    if (i < 896) return 0;
    return static_cast<uint8_t>(i - 896);
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
    for (const auto& c : frame.components) {
        // Replication by whole factors only.
        if (max_h % c.h != 0 || max_v % c.v != 0) return false;
        // Where the chroma could be doubled by a 2x2 IDCT, libjpeg does that
        // instead of replicating, and that needs AC coefficients.
        if (max_h % (c.h * 2) == 0 && max_v % (c.v * 2) == 0) return false;
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
                for (int b = 0; b < c.h * c.v; ++b) {
                    layout.tables[static_cast<size_t>(layout.blocks)] = {
                        &dc_tables_storage[static_cast<size_t>(c.dc_table)],
                        &ac_tables_storage[static_cast<size_t>(c.ac_table)]};
                    layout.scan_component[static_cast<size_t>(layout.blocks)] = static_cast<uint8_t>(ci);
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

        // Chosen from the machine, a thread gets a worthwhile share; asked
        // for (tests), the shares only need to hold a few MCUs.
        const size_t min_share = threads ? 1024 : kMinBytesPerThread;
        unsigned count = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
        count = std::min<unsigned>(count, kMaxThreads);
        count = static_cast<unsigned>(std::min<size_t>(count, std::max<size_t>(1, src.bytes / min_share)));

        std::vector<Piece> pieces(count);
        std::vector<size_t> bounds(count + 1);
        for (unsigned t = 0; t <= count; ++t) bounds[t] = src.bits / count * t;
        bounds[count] = src.bits;
        std::vector<char> joined(count, 0);
        run_threads(count, [&](unsigned t) {
            try {
                decode_piece(src, layout, bounds[t], bounds[t + 1], t == 0, pieces[t]);
            } catch (...) {
                pieces[t].failed = true;
            }
        });
        if (count > 1) {
            run_threads(count - 1, [&](unsigned t) {
                try {
                    joined[t] = join_next(src, layout, pieces[t], pieces[t + 1]);
                } catch (...) {
                    joined[t] = 0;
                }
            });
            for (unsigned t = 0; t + 1 < count; ++t)
                if (!joined[t]) return false;
        }
        for (const Piece& p : pieces)
            if (p.failed) return false;

        // The DC values, predicted per component, into one plane per
        // component laid out in blocks.
        std::array<Plane, 3> planes;
        for (size_t ci = 0; ci < ncomp; ++ci) {
            const auto& c = frame.components[ci];
            Plane& p = planes[static_cast<size_t>(c.frame_index)];
            const size_t bw = ncomp == 1 ? mcus_per_row : mcus_per_row * static_cast<size_t>(c.h);
            const size_t bh = ncomp == 1 ? mcu_rows : mcu_rows * static_cast<size_t>(c.v);
            p.stride = bw;
            p.samples.assign(bw * bh, 0);
            p.expand_h = max_h / c.h;
            p.expand_v = max_v / c.v;
        }
        // Where each block of an MCU lands in its plane, relative to the MCU's corner.
        struct BlockPlace {
            uint8_t* plane;
            size_t offset;
            size_t step;  // plane columns per MCU
            uint16_t quant;
            uint8_t predictor;
        };
        std::array<BlockPlace, kMaxBlocksInMcu> places{};
        {
            int b = 0;
            for (size_t ci = 0; ci < ncomp; ++ci) {
                const auto& c = frame.components[ci];
                Plane& p = planes[static_cast<size_t>(c.frame_index)];
                const int ch = ncomp == 1 ? 1 : c.h;
                const int cv = ncomp == 1 ? 1 : c.v;
                for (int yy = 0; yy < cv; ++yy)
                    for (int xx = 0; xx < ch; ++xx, ++b)
                        places[static_cast<size_t>(b)] = {p.samples.data(),
                                                          static_cast<size_t>(yy) * p.stride + static_cast<size_t>(xx),
                                                          static_cast<size_t>(ch), c.dc_quant, static_cast<uint8_t>(ci)};
            }
        }
        // Rows of MCUs start cv plane rows apart.
        std::array<size_t, kMaxBlocksInMcu> row_step{};
        for (int b = 0; b < layout.blocks; ++b) {
            const auto& c = frame.components[places[static_cast<size_t>(b)].predictor];
            const Plane& p = planes[static_cast<size_t>(c.frame_index)];
            row_step[static_cast<size_t>(b)] = p.stride * static_cast<size_t>(ncomp == 1 ? 1 : c.v);
        }
        std::array<uint32_t, 3> predictor{};
        size_t mcu = 0, mx = 0, my = 0;
        auto take = [&](const int16_t* diffs, size_t mcus) {
            const auto blocks = static_cast<size_t>(layout.blocks);
            for (size_t m = 0; m < mcus && mcu < mcu_total; ++m, ++mcu) {
                const int16_t* d = diffs + m * blocks;
                for (size_t b = 0; b < blocks; ++b) {
                    const BlockPlace& at = places[b];
                    // Wraps like libjpeg's int on runaway differences.
                    uint32_t& pred = predictor[at.predictor];
                    pred += static_cast<uint32_t>(static_cast<int32_t>(d[b]));
                    const auto dc = static_cast<int16_t>(pred & 0xFFFF);
                    at.plane[my * row_step[b] + mx * at.step + at.offset] = block_sample(dc, at.quant);
                }
                if (++mx == mcus_per_row) {
                    mx = 0;
                    ++my;
                }
            }
        };
        for (unsigned t = 0; t < count && mcu < mcu_total; ++t) {
            const Piece& p = pieces[t];
            const size_t first = t == 0 ? 0 : pieces[t - 1].joins_next_at;
            const size_t have = p.starts.size();
            if (first < have) take(p.diffs.data() + first * static_cast<size_t>(layout.blocks), have - first);
            if (t + 1 < count && p.extra_mcus) take(p.extra_diffs.data(), p.extra_mcus);
        }
        if (mcu < mcu_total) return false;

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
