#include "image/owncodecs/tga_codec.h"

#include <cstring>
#include <vector>

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/byte_writer.h"
#include "image/owncodecs/dib_encoder.h"

namespace galvora {

namespace {

struct TgaHeader {
    uint8_t id_length = 0;
    uint8_t map_type = 0;
    uint8_t image_type = 0;
    uint16_t map_first = 0;
    uint16_t map_length = 0;
    uint8_t map_entry_bits = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;

    bool rle() const { return image_type >= 9; }
    int kind() const { return image_type & 7; }  // 1 mapped, 2 true colour, 3 grey
};

TgaHeader read_header(ByteReader& in) {
    TgaHeader h;
    h.id_length = in.u8();
    h.map_type = in.u8();
    h.image_type = in.u8();
    h.map_first = in.le16();
    h.map_length = in.le16();
    h.map_entry_bits = in.u8();
    in.skip(4);  // x and y origin on the screen
    h.width = in.le16();
    h.height = in.le16();
    h.depth = in.u8();
    h.descriptor = in.u8();
    require(h.map_type <= 1);
    require(h.image_type == 1 || h.image_type == 2 || h.image_type == 3 || h.image_type == 9 ||
            h.image_type == 10 || h.image_type == 11);
    require(h.width > 0 && h.height > 0);
    switch (h.kind()) {
        case 1:
            require(h.map_type == 1 && h.map_length > 0 && (h.depth == 8 || h.depth == 16));
            break;
        case 2: require(h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32); break;
        case 3: require(h.depth == 8 || h.depth == 16); break;
    }
    if (h.map_type == 1)
        require(h.map_entry_bits == 15 || h.map_entry_bits == 16 || h.map_entry_bits == 24 ||
                h.map_entry_bits == 32);
    return h;
}

// A 15/16-bit value x RRRRR GGGGG BBBBB into RGB with the low bits repeated,
// so that full intensity stays 255.
void from_555(uint16_t v, uint8_t* rgb) {
    const auto widen = [](uint32_t c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
    rgb[0] = widen((v >> 10) & 31);
    rgb[1] = widen((v >> 5) & 31);
    rgb[2] = widen(v & 31);
}

// Turns the bytes of one stored pixel (little-endian) into RGB.
void colour_of(const uint8_t* b, int bits, uint8_t* rgb) {
    switch (bits) {
        case 15:
        case 16: from_555(static_cast<uint16_t>(b[0] | (b[1] << 8)), rgb); break;
        default:  // 24, 32: blue, green, red (, alpha)
            rgb[0] = b[2];
            rgb[1] = b[1];
            rgb[2] = b[0];
            break;
    }
}

}  // namespace

void tga_read_dims(FILE* in, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const TgaHeader h = read_header(r);
    width = h.width;
    height = h.height;
}

PictureBuffer tga_read(FILE* in) {
    ByteReader r(in);
    const TgaHeader h = read_header(r);
    r.skip(h.id_length);

    // The colour map: entries numbered from map_first; black where a
    // hostile index points outside it.
    std::vector<uint8_t> map;
    if (h.map_type == 1) {
        const int entry_bytes = (h.map_entry_bits + 7) / 8;
        map.assign(static_cast<size_t>(h.map_length) * 3, 0);
        for (uint32_t i = 0; i < h.map_length; ++i) {
            uint8_t e[4] = {};
            r.read(e, static_cast<size_t>(entry_bytes));
            colour_of(e, h.map_entry_bits, &map[i * 3]);
        }
    }

    if (!dimensions_allowed(h.width, h.height)) throw ImagingFailure(ImagingFault::too_large);
    const int pixel_bytes = (h.depth + 7) / 8;
    const uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    // Even a run-length picture needs one byte per 128 pixels; a file far
    // shorter than that cannot be this picture, so refuse it before the
    // allocation.
    require(r.remaining() >= (h.rle() ? pixels / 128 : pixels * pixel_bytes));
    PictureBuffer out = PictureBuffer::allocate(h.width, h.height);

    const bool right_to_left = h.descriptor & 0x10;
    const bool top_first = h.descriptor & 0x20;
    auto store = [&](uint64_t index, const uint8_t* raw) {
        const int32_t fx = static_cast<int32_t>(index % static_cast<uint64_t>(h.width));
        const int32_t fy = static_cast<int32_t>(index / static_cast<uint64_t>(h.width));
        const int32_t x = right_to_left ? h.width - 1 - fx : fx;
        const int32_t y = top_first ? fy : h.height - 1 - fy;
        uint8_t* p = out.pixel(x, y);
        switch (h.kind()) {
            case 1: {
                const uint32_t value = h.depth == 8 ? raw[0] : static_cast<uint32_t>(raw[0] | (raw[1] << 8));
                const int64_t slot = static_cast<int64_t>(value) - h.map_first;
                if (slot >= 0 && slot < h.map_length) std::memcpy(p, &map[static_cast<size_t>(slot) * 3], 3);
                break;
            }
            case 2: colour_of(raw, h.depth, p); break;
            case 3: p[0] = p[1] = p[2] = raw[0]; break;  // 16 bits: grey and alpha
        }
    };

    uint8_t raw[4] = {};
    if (!h.rle()) {
        std::vector<uint8_t> row(static_cast<size_t>(h.width) * pixel_bytes);
        for (uint64_t i = 0; i < pixels; i += static_cast<uint64_t>(h.width)) {
            r.read(row.data(), row.size());
            for (int32_t x = 0; x < h.width; ++x) store(i + x, &row[static_cast<size_t>(x) * pixel_bytes]);
        }
        return out;
    }
    // Packets may run on from one row into the next.
    uint64_t i = 0;
    while (i < pixels) {
        const uint8_t head = r.u8();
        const uint32_t count = (head & 0x7F) + 1u;
        if (head & 0x80) {
            r.read(raw, static_cast<size_t>(pixel_bytes));
            for (uint32_t k = 0; k < count && i < pixels; ++k) store(i++, raw);
        } else {
            for (uint32_t k = 0; k < count; ++k) {
                r.read(raw, static_cast<size_t>(pixel_bytes));
                if (i < pixels) store(i++, raw);
            }
        }
    }
    return out;
}

void tga_write(const PictureBuffer& buffer, FILE* out) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    // The header holds 16-bit sizes.
    if (buffer.width() > 0xFFFF || buffer.height() > 0xFFFF) throw ImagingFailure(ImagingFault::too_large);
    ByteWriter w(out);
    w.u8(0);   // no identification field
    w.u8(0);   // no colour map
    w.u8(2);   // uncompressed true colour
    w.zeros(5);
    w.le16(0);
    w.le16(0);
    w.le16(static_cast<uint16_t>(buffer.width()));
    w.le16(static_cast<uint16_t>(buffer.height()));
    w.u8(24);
    w.u8(0);   // bottom row first, left to right, no alpha
    write_bgr_rows_bottom_up(w, buffer, buffer.row_bytes());
    // Version 2 footer: no extension or developer area.
    w.le32(0);
    w.le32(0);
    static const char kSignature[] = "TRUEVISION-XFILE.";
    w.bytes(kSignature, sizeof kSignature);  // with its terminating zero
    w.finish();
}

}  // namespace galvora
