#include "image/owncodecs/pcx_codec.h"

#include <array>
#include <cstring>
#include <vector>

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/byte_writer.h"

namespace galvora {

namespace {

constexpr uint32_t kHeaderBytes = 128;
constexpr uint32_t kTailPaletteBytes = 769;  // marker 0x0C and 256 RGB entries

struct PcxHeader {
    uint8_t version = 0;
    uint8_t encoding = 0;
    uint8_t bits = 0;     // per pixel and plane
    uint8_t planes = 0;
    uint16_t line_bytes = 0;  // per plane
    int32_t width = 0;
    int32_t height = 0;
    std::array<uint8_t, 48> ega{};
};

PcxHeader read_header(ByteReader& in) {
    require(in.size() >= kHeaderBytes);
    PcxHeader h;
    require(in.u8() == 0x0A);
    h.version = in.u8();
    h.encoding = in.u8();
    h.bits = in.u8();
    const int32_t xmin = in.le16(), ymin = in.le16(), xmax = in.le16(), ymax = in.le16();
    in.skip(4);  // resolution
    in.read(h.ega.data(), h.ega.size());
    in.skip(1);
    h.planes = in.u8();
    h.line_bytes = in.le16();
    in.seek(kHeaderBytes);
    require(h.encoding <= 1);
    require(xmax >= xmin && ymax >= ymin);
    h.width = xmax - xmin + 1;
    h.height = ymax - ymin + 1;
    const bool known = (h.bits == 1 && h.planes >= 1 && h.planes <= 4) || (h.bits == 2 && h.planes == 1) ||
                       (h.bits == 4 && h.planes == 1) || (h.bits == 8 && (h.planes == 1 || h.planes == 3 || h.planes == 4));
    require(known);
    // Each plane's line must hold the picture's width.
    require(static_cast<uint64_t>(h.line_bytes) * 8 >= static_cast<uint64_t>(h.width) * h.bits);
    return h;
}

// Fills dest with the next decoded bytes; runs may carry over from one line
// into the next, so the pending part of a run is kept between calls.
class RunDecoder {
public:
    RunDecoder(ByteReader& in, bool encoded) : in_(in), encoded_(encoded) {}
    void fill(uint8_t* dest, size_t count) {
        if (!encoded_) {
            in_.read(dest, count);
            return;
        }
        size_t i = 0;
        while (i < count) {
            if (pending_ > 0) {
                const size_t n = std::min<size_t>(pending_, count - i);
                std::memset(dest + i, value_, n);
                i += n;
                pending_ -= static_cast<uint32_t>(n);
                continue;
            }
            const uint8_t b = in_.u8();
            if ((b & 0xC0) == 0xC0) {
                pending_ = b & 0x3F;
                value_ = in_.u8();
            } else {
                dest[i++] = b;
            }
        }
    }

private:
    ByteReader& in_;
    bool encoded_;
    uint32_t pending_ = 0;
    uint8_t value_ = 0;
};

}  // namespace

void pcx_read_dims(FILE* in, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const PcxHeader h = read_header(r);
    width = h.width;
    height = h.height;
}

PictureBuffer pcx_read(FILE* in) {
    ByteReader r(in);
    const PcxHeader h = read_header(r);
    if (!dimensions_allowed(h.width, h.height)) throw ImagingFailure(ImagingFault::too_large);
    const size_t line_total = static_cast<size_t>(h.line_bytes) * h.planes;
    const uint64_t expected = static_cast<uint64_t>(line_total) * static_cast<uint64_t>(h.height);
    // A run codes at most 63 bytes in two; a file far shorter than its
    // picture needs is refused before the allocation.
    require(r.remaining() >= (h.encoding ? expected / 32 : expected));

    // The colour table: 256 entries at the end of the file for 8-bit
    // pictures (grey levels when a writer left it out), else the 16 entries
    // of the header.
    std::array<uint8_t, 256 * 3> palette{};
    if (h.bits == 8 && h.planes == 1) {
        bool found = false;
        if (r.size() >= kHeaderBytes + kTailPaletteBytes) {
            r.seek(r.size() - kTailPaletteBytes);
            if (r.u8() == 0x0C) {
                r.read(palette.data(), palette.size());
                found = true;
            }
            r.seek(kHeaderBytes);
        }
        if (!found)
            for (int i = 0; i < 256; ++i) palette[i * 3] = palette[i * 3 + 1] = palette[i * 3 + 2] = static_cast<uint8_t>(i);
    } else if (h.bits * h.planes == 1) {
        palette[3] = palette[4] = palette[5] = 255;  // black and white
    } else {
        std::memcpy(palette.data(), h.ega.data(), h.ega.size());
    }

    PictureBuffer out = PictureBuffer::allocate(h.width, h.height);
    RunDecoder decoder(r, h.encoding == 1);
    std::vector<uint8_t> line(line_total);
    for (int32_t y = 0; y < h.height; ++y) {
        decoder.fill(line.data(), line.size());
        uint8_t* dst = out.row(y);
        if (h.bits == 8 && h.planes >= 3) {
            const uint8_t* red = line.data();
            const uint8_t* green = red + h.line_bytes;
            const uint8_t* blue = green + h.line_bytes;
            for (int32_t x = 0; x < h.width; ++x, dst += 3) {
                dst[0] = red[x];
                dst[1] = green[x];
                dst[2] = blue[x];
            }
            continue;
        }
        for (int32_t x = 0; x < h.width; ++x, dst += 3) {
            uint32_t index = 0;
            if (h.bits == 8) {
                index = line[x];
            } else if (h.planes == 1) {
                const int per_byte = 8 / h.bits;
                const int shift = 8 - h.bits * (x % per_byte + 1);
                index = (line[x / per_byte] >> shift) & ((1u << h.bits) - 1);
            } else {
                // One bit per plane, the first plane the lowest bit.
                for (int p = 0; p < h.planes; ++p) {
                    const uint8_t byte = line[static_cast<size_t>(p) * h.line_bytes + x / 8];
                    index |= ((byte >> (7 - x % 8)) & 1u) << p;
                }
            }
            std::memcpy(dst, &palette[index * 3], 3);
        }
    }
    return out;
}

void pcx_write(const PictureBuffer& buffer, FILE* out) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    if (buffer.width() > 0xFFFF || buffer.height() > 0xFFFF) throw ImagingFailure(ImagingFault::too_large);
    // Lines are kept to an even number of bytes, as readers expect.
    const uint32_t line_bytes = (static_cast<uint32_t>(buffer.width()) + 1) & ~1u;
    if (line_bytes > 0xFFFF) throw ImagingFailure(ImagingFault::too_large);
    ByteWriter w(out);
    w.u8(0x0A);
    w.u8(5);
    w.u8(1);
    w.u8(8);
    w.le16(0);
    w.le16(0);
    w.le16(static_cast<uint16_t>(buffer.width() - 1));
    w.le16(static_cast<uint16_t>(buffer.height() - 1));
    w.le16(96);
    w.le16(96);
    w.zeros(48);
    w.u8(0);
    w.u8(3);
    w.le16(static_cast<uint16_t>(line_bytes));
    w.le16(1);  // colour picture
    w.zeros(kHeaderBytes - 70);

    std::vector<uint8_t> plane(line_bytes, 0);
    std::vector<uint8_t> packed;
    packed.reserve(line_bytes * 2);
    for (int32_t y = 0; y < buffer.height(); ++y) {
        const uint8_t* src = buffer.row(y);
        for (int c = 0; c < 3; ++c) {
            for (int32_t x = 0; x < buffer.width(); ++x) plane[x] = src[x * 3 + c];
            // Each plane line is packed on its own: runs never cross it.
            packed.clear();
            for (uint32_t i = 0; i < line_bytes;) {
                const uint8_t v = plane[i];
                uint32_t n = 1;
                while (i + n < line_bytes && n < 63 && plane[i + n] == v) ++n;
                if (n > 1 || (v & 0xC0) == 0xC0) packed.push_back(static_cast<uint8_t>(0xC0 | n));
                packed.push_back(v);
                i += n;
            }
            w.bytes(packed.data(), packed.size());
        }
    }
    w.finish();
}

}  // namespace galvora
