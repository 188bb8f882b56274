#include "image/owncodecs/dib_decoder.h"

#include <bit>
#include <cstring>
#include <vector>

#include "image/imaging_error.h"

namespace galvora {

namespace {

constexpr uint32_t kPlain = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint64_t kMaxPixelsPerRunByte = 2048;

// One channel of a bit-field pixel, scaled to eight bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
    }
    uint8_t get(uint32_t pixel) const {
        if (bits == 0) return 0;
        const uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
        const uint32_t max = (1u << bits) - 1;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

bool valid_bit_count(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

void put_index(PictureBuffer& out, const DibInfo& info, int32_t x, int32_t row, uint32_t index) {
    const size_t i = (index < 256 ? index : 0) * 3;
    uint8_t* p = out.pixel(x, row);
    p[0] = info.palette[i];
    p[1] = info.palette[i + 1];
    p[2] = info.palette[i + 2];
}

// Run-length rows: runs and escapes (end of line, end of picture, delta
// moves, literal runs). Pixels a hostile stream places outside the picture
// are dropped; running out of data ends the picture as far as it got.
void decode_rle(ByteReader& in, const DibInfo& info, uint64_t bits_end, PictureBuffer& out, bool four_bit) {
    int32_t x = 0, y = 0;  // y counts rows in file order
    const int32_t w = info.width, h = info.height;
    // Pixels the stream skips (deltas, early line and picture ends) show
    // the first colour of the table, as the background.
    for (int32_t row = 0; row < h; ++row)
        for (int32_t col = 0; col < w; ++col) std::memcpy(out.pixel(col, row), info.palette.data(), 3);
    auto row_of = [&](int32_t file_row) { return info.top_down ? file_row : h - 1 - file_row; };
    auto put = [&](uint32_t index) {
        if (x < w && y < h) put_index(out, info, x, row_of(y), index);
        ++x;
    };
    auto more = [&](uint64_t n) { return in.tell() + n <= bits_end; };
    while (y < h && more(2)) {
        const uint8_t count = in.u8();
        const uint8_t value = in.u8();
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i)
                put(four_bit ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            break;
        } else if (value == 2) {  // move right and down
            if (!more(2)) break;
            const uint8_t dx = in.u8();
            const uint8_t dy = in.u8();
            x += dx;
            y += dy;
        } else {  // literal run of `value` pixels, padded to a 16-bit boundary
            const uint32_t n = value;
            const uint32_t bytes = four_bit ? (n + 1) / 2 : n;
            const uint32_t padded = (bytes + 1) & ~1u;
            if (!more(padded)) break;
            uint8_t literal[256];
            in.read(literal, padded);
            for (uint32_t i = 0; i < n; ++i) {
                if (x >= w) break;
                put(four_bit ? ((i & 1) ? literal[i / 2] & 0x0F : literal[i / 2] >> 4) : literal[i]);
            }
        }
    }
}

}  // namespace

uint64_t dib_row_bytes(int32_t width, uint16_t bit_count) {
    return ((static_cast<uint64_t>(width) * bit_count + 31) / 32) * 4;
}

DibInfo dib_read_info(ByteReader& in, uint64_t region_end) {
    DibInfo info;
    const uint64_t start = in.tell();
    require(region_end <= in.size() && start + 4 <= region_end);
    info.header_size = in.le32();
    const uint32_t hs = info.header_size;
    // 12 is the old OS/2 core header; 16 to 64 the OS/2 2.x family; 40 and
    // the later Windows versions (52, 56, 108, 124) share the first 40 bytes.
    require(hs == 12 || (hs >= 16 && hs <= 64) || hs == 108 || hs == 124);
    require(start + hs <= region_end);
    int64_t height = 0;
    uint16_t planes = 0;
    if (hs == 12) {
        info.width = in.le16();
        height = in.le16();
        planes = in.le16();
        info.bit_count = in.le16();
    } else {
        info.width = in.le32s();
        height = in.le32s();
        planes = in.le16();
        info.bit_count = in.le16();
        if (hs >= 20) info.compression = in.le32();
    }
    (void)planes;  // some writers leave it 0; the pixel layout does not depend on it
    require(info.width > 0 && height != 0);
    info.top_down = height < 0;
    if (height < 0) height = -height;
    require(height <= INT32_MAX);
    info.height = static_cast<int32_t>(height);
    require(valid_bit_count(info.bit_count));

    uint32_t colours_used = 0;
    if (hs >= 40) {
        in.skip(12);  // image size, resolution
        colours_used = in.le32();
        in.skip(4);   // important colours
    } else if (hs >= 36) {
        in.seek(start + 32);
        colours_used = in.le32();
    }
    // OS/2 2.x headers (every size but the Windows ones) number their
    // compressions differently: 3 is Huffman, 4 RLE24; neither is read.
    const bool windows_header = hs == 40 || hs == 52 || hs == 56 || hs == 108 || hs == 124;
    if (hs != 12 && !windows_header) require(info.compression <= kRle4);

    const uint32_t c = info.compression;
    require(c == kPlain || c == kRle8 || c == kRle4 || c == kBitFields || c == kAlphaBitFields);
    if (c == kRle8) require(info.bit_count == 8);
    if (c == kRle4) require(info.bit_count == 4);
    if (c == kBitFields || c == kAlphaBitFields) require(info.bit_count == 16 || info.bit_count == 32);
    if (c == kRle8 || c == kRle4) require(!info.top_down);

    in.seek(start + hs);
    if (c == kBitFields || c == kAlphaBitFields) {
        if (windows_header && hs >= 52) {
            in.seek(start + 40);
            for (auto& m : info.masks) m = in.le32();
            in.seek(start + hs);
        } else {
            // Masks follow the 40-byte header (three, or four with alpha).
            require(in.tell() + 12 <= region_end);
            for (auto& m : info.masks) m = in.le32();
            if (c == kAlphaBitFields) {
                require(in.tell() + 4 <= region_end);
                in.skip(4);
            }
        }
    } else if (info.bit_count == 16) {
        info.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (info.bit_count == 32) {
        info.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }

    if (info.bit_count <= 8) {
        const uint32_t full = 1u << info.bit_count;
        uint32_t n = colours_used == 0 || colours_used > full ? full : colours_used;
        const uint32_t entry = hs == 12 ? 3 : 4;
        // A table cut short by the file (or by the bitmap region) keeps what
        // is there; the missing entries stay black.
        const uint64_t room = region_end > in.tell() ? region_end - in.tell() : 0;
        if (static_cast<uint64_t>(n) * entry > room) n = static_cast<uint32_t>(room / entry);
        info.palette_entries = n;
        for (uint32_t i = 0; i < n; ++i) {
            uint8_t e[4] = {};
            in.read(e, entry);
            info.palette[i * 3] = e[2];
            info.palette[i * 3 + 1] = e[1];
            info.palette[i * 3 + 2] = e[0];
        }
    }
    return info;
}

void dib_check_pixels(const DibInfo& info, uint64_t bits_start, uint64_t bits_end) {
    if (!dimensions_allowed(info.width, info.height)) throw ImagingFailure(ImagingFault::too_large);
    require(bits_start <= bits_end);
    const uint64_t row_bytes = dib_row_bytes(info.width, info.bit_count);
    if (info.compression == kPlain || info.compression == kBitFields || info.compression == kAlphaBitFields) {
        // Uncompressed rows must all be there (the last row may lack its padding).
        const uint64_t needed = row_bytes * (static_cast<uint64_t>(info.height) - 1) +
                                (static_cast<uint64_t>(info.width) * info.bit_count + 7) / 8;
        require(bits_end - bits_start >= needed);
    } else {
        // A run codes at most 255 pixels in two bytes; even with the skips
        // that deltas allow, a stream this much shorter than its picture is
        // not a picture but a request for a huge block.
        const uint64_t pixels = static_cast<uint64_t>(info.width) * static_cast<uint64_t>(info.height);
        require(bits_end - bits_start >= pixels / kMaxPixelsPerRunByte);
    }
}

PictureBuffer dib_decode_pixels(ByteReader& in, const DibInfo& info, uint64_t bits_start, uint64_t bits_end) {
    require(bits_end <= in.size());
    dib_check_pixels(info, bits_start, bits_end);
    const uint64_t row_bytes = dib_row_bytes(info.width, info.bit_count);
    PictureBuffer out = PictureBuffer::allocate(info.width, info.height);
    in.seek(bits_start);
    if (info.compression == kRle8 || info.compression == kRle4) {
        decode_rle(in, info, bits_end, out, info.compression == kRle4);
        return out;
    }

    const Channel red(info.masks[0]), green(info.masks[1]), blue(info.masks[2]);
    std::vector<uint8_t> row(static_cast<size_t>(row_bytes));
    for (int32_t file_row = 0; file_row < info.height; ++file_row) {
        const uint64_t avail = bits_end - in.tell();
        const size_t n = static_cast<size_t>(avail < row_bytes ? avail : row_bytes);
        std::memset(row.data(), 0, row.size());
        in.read(row.data(), n);
        const int32_t y = info.top_down ? file_row : info.height - 1 - file_row;
        uint8_t* dst = out.row(y);
        const uint8_t* src = row.data();
        switch (info.bit_count) {
            case 1:
            case 4:
            case 8: {
                const int bits = info.bit_count;
                const int per_byte = 8 / bits;
                const uint8_t mask = static_cast<uint8_t>((1 << bits) - 1);
                for (int32_t x = 0; x < info.width; ++x) {
                    const uint8_t byte = src[x / per_byte];
                    const int shift = 8 - bits * (x % per_byte + 1);
                    put_index(out, info, x, y, (byte >> shift) & mask);
                }
                break;
            }
            case 16:
                for (int32_t x = 0; x < info.width; ++x, dst += 3) {
                    const uint32_t v = src[x * 2] | (src[x * 2 + 1] << 8);
                    dst[0] = red.get(v);
                    dst[1] = green.get(v);
                    dst[2] = blue.get(v);
                }
                break;
            case 24:
                for (int32_t x = 0; x < info.width; ++x, dst += 3, src += 3) {
                    dst[0] = src[2];
                    dst[1] = src[1];
                    dst[2] = src[0];
                }
                break;
            case 32:
                for (int32_t x = 0; x < info.width; ++x, dst += 3, src += 4) {
                    const uint32_t v = src[0] | (src[1] << 8) | (src[2] << 16) | (static_cast<uint32_t>(src[3]) << 24);
                    dst[0] = red.get(v);
                    dst[1] = green.get(v);
                    dst[2] = blue.get(v);
                }
                break;
        }
    }
    return out;
}

}  // namespace galvora
