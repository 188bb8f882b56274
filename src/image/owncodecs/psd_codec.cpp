#include "image/owncodecs/psd_codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/byte_writer.h"

namespace galvora {

namespace {

enum Mode : uint16_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };

constexpr uint32_t kMaxSide = 30000;  // the format's own limit for version 1 files

struct PsdHeader {
    uint16_t channels = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t depth = 0;
    uint16_t mode = 0;
};

PsdHeader read_header(ByteReader& in) {
    require(in.size() >= 26);
    uint8_t sig[4];
    in.read(sig, 4);
    require(std::memcmp(sig, "8BPS", 4) == 0);
    require(in.be16() == 1);
    in.skip(6);
    PsdHeader h;
    h.channels = in.be16();
    const uint32_t height = in.be32();
    const uint32_t width = in.be32();
    h.depth = in.be16();
    h.mode = in.be16();
    require(h.channels >= 1 && h.channels <= 56);
    require(width >= 1 && width <= kMaxSide && height >= 1 && height <= kMaxSide);
    h.width = static_cast<int32_t>(width);
    h.height = static_cast<int32_t>(height);
    switch (h.mode) {
        case kBitmap: require(h.depth == 1); break;
        case kGrey:
        case kDuotone:
        case kRgb:
        case kCmyk: require(h.depth == 8 || h.depth == 16); break;
        case kIndexed: require(h.depth == 8); break;
        default: require(false);
    }
    const uint16_t needed = h.mode == kRgb ? 3 : h.mode == kCmyk ? 4 : 1;
    require(h.channels >= needed);
    return h;
}

// Unpacks one PackBits row of `packed` bytes into row (zeros where the data
// falls short; surplus bytes are ignored).
void unpack_row(ByteReader& in, uint32_t packed, std::vector<uint8_t>& row) {
    std::fill(row.begin(), row.end(), 0);
    const uint64_t end = in.tell() + packed;
    require(end <= in.size());
    size_t out = 0;
    while (in.tell() < end) {
        const int8_t n = static_cast<int8_t>(in.u8());
        if (n >= 0) {
            const uint32_t count = static_cast<uint32_t>(n) + 1;
            for (uint32_t i = 0; i < count && in.tell() < end; ++i) {
                const uint8_t v = in.u8();
                if (out < row.size()) row[out++] = v;
            }
        } else if (n != -128) {
            if (in.tell() >= end) break;
            const uint8_t v = in.u8();
            const uint32_t count = 1 - n;
            for (uint32_t i = 0; i < count && out < row.size(); ++i) row[out++] = v;
        }
    }
    in.seek(end);
}

void pack_row(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
    out.clear();
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && src[i + run] == src[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(static_cast<int8_t>(1 - static_cast<int>(run))));
            out.push_back(src[i]);
            i += run;
            continue;
        }
        // A literal stretch up to the next run of three or 128 bytes.
        size_t start = i, len = 0;
        while (i < n && len < 128) {
            if (i + 2 < n && src[i] == src[i + 1] && src[i] == src[i + 2]) break;
            ++i;
            ++len;
        }
        out.push_back(static_cast<uint8_t>(len - 1));
        out.insert(out.end(), src + start, src + start + len);
    }
}

}  // namespace

void psd_read_dims(FILE* in, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const PsdHeader h = read_header(r);
    width = h.width;
    height = h.height;
}

PictureBuffer psd_read(FILE* in) {
    ByteReader r(in);
    const PsdHeader h = read_header(r);

    // Colour mode data: the colour table of indexed pictures (256 reds,
    // then greens, then blues).
    const uint32_t mode_bytes = r.be32();
    std::array<uint8_t, 768> table{};
    if (h.mode == kIndexed) {
        require(mode_bytes >= 768);
        r.read(table.data(), table.size());
        r.skip(mode_bytes - 768);
    } else {
        r.skip(mode_bytes);
    }
    r.skip(r.be32());  // image resources
    r.skip(r.be32());  // layers and masks: only the composite picture is read
    const uint16_t compression = r.be16();
    require(compression <= 1);

    if (!dimensions_allowed(h.width, h.height)) throw ImagingFailure(ImagingFault::too_large);
    const uint32_t row_bytes = h.depth == 1 ? (static_cast<uint32_t>(h.width) + 7) / 8
                                            : static_cast<uint32_t>(h.width) * (h.depth / 8);
    const uint64_t rows = static_cast<uint64_t>(h.channels) * static_cast<uint64_t>(h.height);
    std::vector<uint16_t> counts;
    if (compression == 1) {
        require(r.remaining() >= rows * 2);
        counts.resize(static_cast<size_t>(rows));
        uint64_t total = 0;
        for (auto& c : counts) total += (c = r.be16());
        require(total <= r.remaining());
        // Every packed row needs two bytes per 128 of its bytes; tables that
        // promise less describe no picture but would still cost its block.
        const uint16_t needed = h.mode == kRgb ? 3 : h.mode == kCmyk ? 4 : 1;
        require(total >= static_cast<uint64_t>(needed) * h.height * 2 * ((row_bytes + 127) / 128));
    } else {
        // All channels of the picture follow, uncompressed; the ones needed
        // must be there in full.
        const uint16_t needed = h.mode == kRgb ? 3 : h.mode == kCmyk ? 4 : 1;
        require(r.remaining() >= static_cast<uint64_t>(row_bytes) * h.height * needed);
    }

    PictureBuffer out = PictureBuffer::allocate(h.width, h.height);
    const int channels_used = h.mode == kRgb ? 3 : h.mode == kCmyk ? 4 : 1;
    std::vector<uint8_t> row(row_bytes);
    const size_t step = h.depth == 16 ? 2 : 1;  // 16-bit values: the high byte is first
    for (int c = 0; c < channels_used; ++c) {
        for (int32_t y = 0; y < h.height; ++y) {
            if (compression == 1)
                unpack_row(r, counts[static_cast<size_t>(c) * h.height + y], row);
            else
                r.read(row.data(), row.size());
            uint8_t* dst = out.row(y);
            for (int32_t x = 0; x < h.width; ++x, dst += 3) {
                if (h.mode == kBitmap) {
                    const uint8_t v = ((row[x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;  // a set bit is black
                    dst[0] = dst[1] = dst[2] = v;
                    continue;
                }
                const uint8_t v = row[static_cast<size_t>(x) * step];
                switch (h.mode) {
                    case kGrey:
                    case kDuotone: dst[0] = dst[1] = dst[2] = v; break;
                    case kIndexed:
                        dst[0] = table[v];
                        dst[1] = table[256 + v];
                        dst[2] = table[512 + v];
                        break;
                    case kRgb: dst[c] = v; break;
                    case kCmyk:
                        // Stored as 255 minus the ink; the black channel
                        // darkens the three colours.
                        if (c < 3)
                            dst[c] = v;
                        else
                            for (int k = 0; k < 3; ++k) dst[k] = static_cast<uint8_t>((dst[k] * v + 127) / 255);
                        break;
                }
            }
        }
    }
    return out;
}

void psd_write(const PictureBuffer& buffer, FILE* out) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    const uint32_t w = static_cast<uint32_t>(buffer.width()), h = static_cast<uint32_t>(buffer.height());
    if (w > kMaxSide || h > kMaxSide) throw ImagingFailure(ImagingFault::too_large);

    // Pack every row first: the table of packed lengths comes before the data.
    std::vector<uint8_t> plane(w), packed;
    std::vector<uint16_t> counts(static_cast<size_t>(h) * 3);
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(h) * 3);
    for (int c = 0; c < 3; ++c)
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* src = buffer.row(static_cast<int32_t>(y));
            for (uint32_t x = 0; x < w; ++x) plane[x] = src[x * 3 + c];
            pack_row(plane.data(), w, packed);
            const size_t i = static_cast<size_t>(c) * h + y;
            counts[i] = static_cast<uint16_t>(packed.size());  // at most w + w / 128 + 1 bytes
            rows[i] = packed;
        }

    ByteWriter wr(out);
    wr.bytes("8BPS", 4);
    wr.be16(1);
    wr.zeros(6);
    wr.be16(3);
    wr.be32(h);
    wr.be32(w);
    wr.be16(8);
    wr.be16(kRgb);
    wr.be32(0);  // colour mode data
    wr.be32(0);  // image resources
    wr.be32(0);  // layers and masks
    wr.be16(1);  // PackBits
    for (uint16_t c : counts) wr.be16(c);
    for (const auto& r : rows) wr.bytes(r.data(), r.size());
    wr.finish();
}

}  // namespace galvora
