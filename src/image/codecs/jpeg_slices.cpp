#include "image/codecs/jpeg_slices.h"

#include <chrono>
#include <cstdlib>
#include <limits>
#include <new>

#include "foundation/worker_threads.h"

namespace galvora::jpeg_slices {

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
            if (s) {
                // The value bits follow the code inside the look-ahead.
                const auto bits = static_cast<int>(((first + j) >> (kLookBits - len - s)) & ((1u << s) - 1));
                e.value = static_cast<int16_t>(bits < (1 << (s - 1)) ? bits - (1 << s) + 1 : bits);
            }
            if (s)
                e.k_step = static_cast<uint8_t>(r + 1);
            else
                e.k_step = r == 15 ? 16 : 0;
        }
    }
    return true;
}


bool FrameTables::build(const JpegEighthFrame& frame) {
    std::array<bool, 4> dc_built{}, ac_built{};
    for (const auto& c : frame.components) {
        const auto d = static_cast<size_t>(c.dc_table);
        const auto a = static_cast<size_t>(c.ac_table);
        if (!dc_built[d] && !build_table(frame.dc_tables[d], true, dc[d])) return false;
        if (!ac_built[a] && !build_table(frame.ac_tables[a], false, ac[a])) return false;
        dc_built[d] = ac_built[a] = true;
    }
    return true;
}

uint8_t* ReusableBytes::resize_for_overwrite(size_t n) {
    // A block far larger than needed is given back rather than kept.
    constexpr size_t kAlwaysKeep = size_t{16} << 20;
    if (n > capacity_ || (capacity_ > kAlwaysKeep && capacity_ / 2 > n)) {
        data_.reset();
        capacity_ = 0;
        data_.reset(static_cast<uint8_t*>(allocate_large_block(n)));
        if (!data_) throw std::bad_alloc();
        capacity_ = n;
    }
    size_ = n;
    return data_.get();
}

void ReusableBytes::trim(size_t keep) {
    if (capacity_ > keep) {
        data_.reset();
        capacity_ = size_ = 0;
    }
}

bool unstuff(const uint8_t* data, size_t size, BitSource& src) {
    // Kept by each thread from picture to picture: fresh memory of this size
    // costs more in page faults than the copy itself.
    thread_local ReusableBytes buffer;
    uint8_t* const begin = buffer.resize_for_overwrite(size + 8);
    uint8_t* o = begin;
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
        // The bit reader looks up to 8 bytes ahead: zeros after the data.
        std::memset(o, 0, 8);
        src.data = begin;
        src.bytes = static_cast<size_t>(o - begin);
        src.bits = src.bytes * 8;
        return true;
    }
    return false;
}

unsigned idle_cores() {
    // A picture processed ahead on a worker thread: the other workers have
    // pictures of their own.
    if (on_worker_thread()) return 1;
    using Clock = std::chrono::steady_clock;
    static std::atomic<int64_t> looked_at{std::numeric_limits<int64_t>::min()};
    static std::atomic<unsigned> idle{1};
    const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    int64_t last = looked_at.load(std::memory_order_relaxed);
    const bool due = last == std::numeric_limits<int64_t>::min() || now - last >= 1000;
    if (due && looked_at.compare_exchange_strong(last, now)) {
        const unsigned cores = usable_processors();
        double load[1] = {0};
        unsigned free_cores = cores;
        if (::getloadavg(load, 1) == 1 && load[0] > 0)
            free_cores = load[0] >= cores ? 1 : std::max(1u, cores - static_cast<unsigned>(load[0] + 0.5));
        idle.store(free_cores, std::memory_order_relaxed);
    }
    return idle.load(std::memory_order_relaxed);
}

PiecePlan plan_pieces(size_t bytes, unsigned threads, size_t min_piece_bytes) {
    // About four pieces per thread, which the threads take in turn: a thread
    // the machine slows down then holds up only a small piece.
    constexpr unsigned kPiecesPerThread = 4;
    PiecePlan plan;
    plan.workers = threads ? threads : idle_cores();
    plan.workers = std::min<unsigned>(plan.workers, kMaxThreads);
    plan.count = std::max<size_t>(
        1, std::min<size_t>(static_cast<size_t>(plan.workers) * kPiecesPerThread, bytes / std::max<size_t>(min_piece_bytes, 1)));
    return plan;
}

YccTables::YccTables() {
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

const std::array<uint8_t, 1024>& range_table() {
    static const std::array<uint8_t, 1024> table = [] {
        std::array<uint8_t, 1024> t{};
        for (int i = 0; i < 1024; ++i) t[static_cast<size_t>(i)] = range_sample(i);
        return t;
    }();
    return table;
}

const YccTables& ycc_tables() {
    static const YccTables tables;
    return tables;
}

void mcu_grid(const JpegEighthFrame& frame, size_t& per_row, size_t& rows) {
    if (frame.components.size() == 1) {
        per_row = (static_cast<size_t>(frame.width) + 7) / 8;
        rows = (static_cast<size_t>(frame.height) + 7) / 8;
        return;
    }
    int max_h = 1, max_v = 1;
    max_sampling(frame, max_h, max_v);
    const size_t mw = 8 * static_cast<size_t>(max_h), mh = 8 * static_cast<size_t>(max_v);
    per_row = (static_cast<size_t>(frame.width) + mw - 1) / mw;
    rows = (static_cast<size_t>(frame.height) + mh - 1) / mh;
}

}  // namespace galvora::jpeg_slices
