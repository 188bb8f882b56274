#pragma once
// The machinery the threaded JPEG decoders share: Huffman tables checked the
// way libjpeg checks them, a bit reader over the unstuffed entropy-coded
// data, and the decoding of that data in pieces.
//
// The data is cut into pieces, one per job. Each job starts at a guessed
// position in the middle of the data and decodes MCUs from there; Huffman
// codes fall back into step after a few blocks, so the job before it,
// running on past the end of its own share, soon reaches an MCU start that
// the guessing job also decoded, and from there on the two agree. The true
// sequence of MCUs is stitched from the pieces. What a decoder keeps of each
// MCU besides its blocks' DC differences (the DC values themselves are only
// known once the sequence is stitched) is its own: its "payload".
#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "image/codecs/jpeg_eighth_decoder.h"
#include "image/large_block.h"

namespace galvora::jpeg_slices {

constexpr int kMaxBlocksInMcu = 10;
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
    int16_t value = 0;  // the coefficient, where total_len is set (0 for a run of zeros)
};

struct HuffmanTable {
    std::array<LookEntry, 1 << kLookBits> look{};
    std::array<int32_t, 18> maxcode{};
    std::array<int32_t, 18> valoffset{};
    std::array<uint8_t, 256> symbols{};
};

// Builds the decoding table with the checks libjpeg makes; false where it
// would refuse the table.
bool build_table(const JpegHuffmanSpec& spec, bool dc, HuffmanTable& t);

// The decoding tables of the ones a frame's scan uses.
struct FrameTables {
    std::array<HuffmanTable, 4> dc;
    std::array<HuffmanTable, 4> ac;
    bool build(const JpegEighthFrame& frame);
};

struct BlockTables {
    const HuffmanTable* dc;
    const HuffmanTable* ac;
};

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

// A byte block that keeps its memory from picture to picture, and whose
// bytes are not cleared when it grows: it is always written before it is read.
class ReusableBytes {
public:
    uint8_t* resize_for_overwrite(size_t n);
    uint8_t* data() { return data_.get(); }
    size_t size() const { return size_; }
    // Gives the memory back when it has grown beyond what is worth keeping.
    void trim(size_t keep);

private:
    std::unique_ptr<uint8_t[], LargeBlockDeleter> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// Copies the entropy-coded data with its stuffed zero bytes taken out, up to
// the marker that ends it, into this thread's reusable buffer, and sets src
// to read it; false unless that marker ends the picture.
bool unstuff(const uint8_t* data, size_t size, BitSource& src);

// ---------------------------------------------------------------------------
// Decoding codes

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

// Zig-zag position of each coefficient to its place in the 8x8 block; the
// positions past the end catch runs that overshoot in damaged data.
constexpr std::array<uint8_t, 80> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
    6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
    39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

// A block's AC codes: with Store, the coefficients go into coef (natural
// order, which must be zero beforehand) as libjpeg stores them; without,
// they are only passed over. False on an invalid code.
template <bool Store>
inline bool decode_ac(const BitSource& src, size_t& position, const HuffmanTable& ac, int16_t* coef) {
    // Kept in a register: the stores of coefficients must not make it reload.
    size_t pos = position;
    // One word read serves several codes: a peek holds at least 57 real
    // bits, and a code with its value takes at most 31.
    uint64_t w = src.peek(pos);
    int avail = 57;
    for (int k = 1; k < 64; ++k) {
        if (avail < 31) {
            w = src.peek(pos);
            avail = 57;
        }
        const LookEntry& e = ac.look[w >> (64 - kLookBits)];
        if (e.total_len) {
            // Code and value in the look-ahead: the entry holds the result.
            pos += e.total_len;
            if (!e.k_step) break;
            k += e.k_step - 1;
            if constexpr (Store) coef[kNaturalOrder[static_cast<size_t>(k)]] = e.value;
            w <<= e.total_len;
            avail -= e.total_len;
            continue;
        }
        int len = e.code_len;
        int symbol = e.symbol;
        if (!len && !slow_decode(ac, w, len, symbol)) {
            position = pos;
            return false;
        }
        const int r = symbol >> 4;
        const int s = symbol & 15;
        if (s) {
            k += r;
            if constexpr (Store)
                coef[kNaturalOrder[static_cast<size_t>(k)]] = static_cast<int16_t>(extend(w << len, s));
        } else if (r != 15) {
            pos += static_cast<size_t>(len);
            break;
        } else {
            k += 15;
        }
        pos += static_cast<size_t>(len + s);
        w <<= len + s;
        avail -= len + s;
    }
    position = pos;
    return true;
}

// ---------------------------------------------------------------------------
// Decoding in pieces

// The MCUs one job decoded: where each started, its blocks' DC differences
// and the decoder's payload.
template <typename Payload>
struct Piece {
    template <typename T>
    using Vector = std::vector<T, LargeBlockAllocator<T>>;

    Vector<uint64_t> starts;
    Vector<int16_t> diffs;
    Vector<Payload> payload;
    size_t end = 0;  // where the next MCU would start
    // Indices into starts where a run of MCUs ended in an invalid code (the
    // MCU after it failed) and the job guessed again. The true sequence
    // may pass through such a run, but only when the picture ends before the
    // invalid code: past its last MCU come the padding bits, which with
    // optimised tables need not be a valid code.
    std::vector<size_t> breaks;
    bool failed = false;  // the true sequence itself met an invalid code

    // Decoding past the end of the job's share until it meets the next piece.
    Vector<int16_t> extra_diffs;
    Vector<Payload> extra_payload;
    size_t extra_mcus = 0;
    size_t joins_piece = 0;  // the piece it joined, and the MCU there
    size_t joins_at = 0;

    // Empty again, keeping the memory for the next picture.
    void reset() {
        starts.clear();
        diffs.clear();
        payload.clear();
        end = 0;
        breaks.clear();
        failed = false;
        extra_diffs.clear();
        extra_payload.clear();
        extra_mcus = 0;
        joins_piece = joins_at = 0;
    }
};

// The shape of the MCU sequence: blocks per MCU, payload entries per MCU,
// and the number of MCUs in the picture.
struct McuShape {
    size_t blocks = 0;
    size_t payload = 0;
    size_t total = 0;
};

// decode_mcu(pos, diffs, payload) decodes the MCU at pos, moving pos past
// it (or into it, on failure), and returns false on an invalid code.
//
// Decodes MCUs starting before limit. On the true sequence an invalid code
// fails the piece, and it stops after the picture's last MCU; on a guess the
// job guesses again just past an invalid code. MCUs that would reach past
// the end of the data are not taken.
template <typename Payload, typename DecodeMcu>
void decode_piece(const BitSource& src, const McuShape& shape, DecodeMcu& decode_mcu, size_t pos, size_t limit,
                  bool true_sequence, Piece<Payload>& piece) {
    const size_t expected = (limit > pos ? limit - pos : 0) / 64 + 16;
    piece.starts.reserve(expected / 4);
    piece.diffs.reserve(expected / 4 * shape.blocks);
    piece.payload.reserve(expected / 4 * shape.payload);
    int16_t diffs[kMaxBlocksInMcu];
    std::vector<Payload> payload(shape.payload);
    while (pos < limit) {
        if (true_sequence && piece.starts.size() == shape.total) break;
        size_t next = pos;
        if (!decode_mcu(next, diffs, payload.data())) {
            if (true_sequence) {
                piece.failed = true;
                break;
            }
            // next has moved to somewhere in the broken MCU; try again after it.
            pos = std::max(next, pos) + 1;
            if (piece.breaks.empty() || piece.breaks.back() != piece.starts.size())
                piece.breaks.push_back(piece.starts.size());
            continue;
        }
        if (next > src.bits) break;
        piece.starts.push_back(pos);
        piece.diffs.insert(piece.diffs.end(), diffs, diffs + shape.blocks);
        piece.payload.insert(piece.payload.end(), payload.begin(), payload.end());
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
template <typename Payload, typename DecodeMcu>
bool join_next(const BitSource& src, const McuShape& shape, DecodeMcu& decode_mcu,
               std::vector<Piece<Payload>>& pieces, size_t t, std::atomic<int64_t>& budget) {
    Piece<Payload>& piece = pieces[t];
    if (piece.failed) return false;
    size_t pos = piece.end;
    size_t n = t + 1;
    size_t j = 0;
    int16_t diffs[kMaxBlocksInMcu];
    std::vector<Payload> payload(shape.payload);
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
            piece.joins_piece = n;
            piece.joins_at = j;
            return true;
        }
        size_t after = pos;
        if (!decode_mcu(after, diffs, payload.data()) || after > src.bits) return n == pieces.size();
        if ((budget -= static_cast<int64_t>(after - pos)) < 0) return false;
        piece.extra_diffs.insert(piece.extra_diffs.end(), diffs, diffs + shape.blocks);
        piece.extra_payload.insert(piece.extra_payload.end(), payload.begin(), payload.end());
        ++piece.extra_mcus;
        pos = after;
    }
}

// Runs f(0) .. f(jobs - 1) on up to `threads` threads (the calling one among
// them), each thread taking the next job as it becomes free.
template <typename F>
void run_jobs(unsigned threads, size_t jobs, F&& f) {
    if (jobs == 0) return;
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

// A stretch of the true sequence: consecutive MCUs held by one piece.
template <typename Payload>
struct SequenceRun {
    const int16_t* diffs;
    const Payload* payload;
    size_t mcus;
};

// Cores the machine has that nothing else keeps busy (from the load
// average, looked at no more than once a second), at least 1: splitting a
// picture between threads only pays where threads get a core of their own.
unsigned idle_cores();

// The number of threads to use and the number of pieces to cut bits into:
// chosen from the machine's idle cores (threads = 0), the pieces are worth a
// thread's start; asked for (tests), they only need to hold a few MCUs.
struct PiecePlan {
    unsigned workers = 1;
    size_t count = 1;
};
PiecePlan plan_pieces(size_t bytes, unsigned threads, size_t min_piece_bytes);

// Decodes the whole sequence in pieces and returns it as runs, in order,
// MCUs up to shape.total. False when the data is broken (or needs more MCUs
// than it holds). The pieces keep their memory from call to call, so a
// caller that keeps them (per thread) does not pay for fresh memory on every
// picture.
template <typename Payload, typename DecodeMcu>
bool decode_sequence(const BitSource& src, const McuShape& shape, DecodeMcu&& decode_mcu, const PiecePlan& plan,
                     std::vector<Piece<Payload>>& pieces, std::vector<SequenceRun<Payload>>& runs) {
    const size_t count = plan.count;
    pieces.resize(count);
    for (auto& p : pieces) p.reset();
    std::vector<size_t> bounds(count + 1);
    for (size_t t = 0; t <= count; ++t) bounds[t] = src.bits / count * t;
    bounds[count] = src.bits;
    std::vector<char> joined(count, 0);
    run_jobs(plan.workers, count, [&](size_t t) {
        try {
            decode_piece(src, shape, decode_mcu, bounds[t], bounds[t + 1], t == 0, pieces[t]);
        } catch (...) {
            pieces[t].failed = true;
        }
    });
    if (count > 1) {
        std::atomic<int64_t> budget{static_cast<int64_t>(src.bits) * 2};
        run_jobs(plan.workers, count - 1, [&](size_t t) {
            try {
                joined[t] = join_next(src, shape, decode_mcu, pieces, t, budget);
            } catch (...) {
                joined[t] = 0;
            }
        });
    }
    for (const auto& p : pieces)
        if (p.failed) return false;

    // The true sequence: piece 0, on to the piece it joined, and so on.
    runs.clear();
    size_t mcus = 0;
    auto take = [&](const int16_t* diffs, const Payload* payload, size_t n) {
        n = std::min(n, shape.total - mcus);
        if (n) runs.push_back({diffs, payload, n});
        mcus += n;
    };
    for (size_t t = 0, first = 0; mcus < shape.total;) {
        const auto& p = pieces[t];
        // The run of MCUs the sequence joined reaches to the piece's end
        // or to the invalid code that ended it; the picture must be
        // complete before that code.
        const auto broken = std::upper_bound(p.breaks.begin(), p.breaks.end(), first);
        const size_t have = broken == p.breaks.end() ? p.starts.size() : *broken;
        if (first < have)
            take(p.diffs.data() + first * shape.blocks, p.payload.data() + first * shape.payload, have - first);
        if (mcus == shape.total || broken != p.breaks.end() || t + 1 == count) break;
        if (!joined[t]) return false;
        take(p.extra_diffs.data(), p.extra_payload.data(), p.extra_mcus);
        if (p.joins_piece == count) break;
        first = p.joins_at;
        t = p.joins_piece;
    }
    return mcus == shape.total;
}

// The entropy-coded data from data[0] (to the end of the file) decoded for a
// picture of shape.total MCUs: unstuffed into src, cut into pieces for the
// threads (threads = 0: chosen from the machine, in pieces of at least
// min_piece_bytes), and stitched into runs, which point into pieces this
// thread keeps until its next call. decode_mcu(src, pos, diffs, payload)
// decodes one MCU. False where the data does not hold the picture whole.
template <typename Payload, typename DecodeMcu>
bool decode_entropy_data(const uint8_t* data, size_t size, const McuShape& shape, unsigned threads,
                         size_t min_piece_bytes, DecodeMcu&& decode_mcu, BitSource& src, PiecePlan& plan,
                         std::vector<SequenceRun<Payload>>& runs) {
    if (!unstuff(data, size, src)) return false;
    // Every block takes at least two bits (a DC and an AC code).
    if (shape.total > src.bits / (2 * shape.blocks)) return false;
    plan = plan_pieces(src.bytes, threads, threads ? 2 * 1024 : min_piece_bytes);
    // Kept by the thread from picture to picture (see decode_sequence).
    thread_local std::vector<Piece<Payload>> pieces;
    auto decode = [&](size_t& pos, int16_t* diffs, Payload* payload) { return decode_mcu(src, pos, diffs, payload); };
    return decode_sequence(src, shape, decode, plan, pieces, runs);
}

// ---------------------------------------------------------------------------
// From samples to pixels

// libjpeg's range table for IDCT results (centred, wrapping values far out
// of range the way its mask does).
inline uint8_t range_sample(int64_t v) {
    const int i = static_cast<int>(v & 1023);
    if (i < 128) return static_cast<uint8_t>(i + 128);
    if (i < 512) return 255;
    if (i < 896) return 0;
    return static_cast<uint8_t>(i - 896);
}

// The same as a table over the ten bits libjpeg keeps.
const std::array<uint8_t, 1024>& range_table();

inline uint8_t clamp_sample(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// libjpeg's YCbCr to RGB tables.
struct YccTables {
    std::array<int, 256> cr_r{}, cb_b{};
    std::array<int32_t, 256> cr_g{}, cb_g{};
    YccTables();
};
const YccTables& ycc_tables();

inline void ycc_to_rgb(const YccTables& ycc, int lum, uint8_t cb, uint8_t cr, uint8_t* rgb) {
    rgb[0] = clamp_sample(lum + ycc.cr_r[cr]);
    rgb[1] = clamp_sample(lum + ((ycc.cb_g[cb] + ycc.cr_g[cr]) >> 16));
    rgb[2] = clamp_sample(lum + ycc.cb_b[cb]);
}

// Largest sampling factors of the frame.
inline void max_sampling(const JpegEighthFrame& frame, int& max_h, int& max_v) {
    max_h = max_v = 1;
    for (const auto& c : frame.components) {
        max_h = std::max(max_h, c.h);
        max_v = std::max(max_v, c.v);
    }
}

// MCUs across and down: one block per MCU in a single-component scan, else
// max_h x max_v blocks of the largest component.
void mcu_grid(const JpegEighthFrame& frame, size_t& per_row, size_t& rows);

}  // namespace galvora::jpeg_slices
