#pragma once
// Device-independent bitmaps: the header, colour table and pixel rows that a
// BMP file carries after its file header and that metafiles embed in their
// bitmap records. Handles 1, 4, 8, 16, 24 and 32 bits, uncompressed, RLE4,
// RLE8 and bit fields, rows stored bottom-up or top-down.
#include <array>
#include <cstdint>

#include "image/owncodecs/byte_reader.h"
#include "image/picture_buffer.h"

namespace galvora {

struct DibInfo {
    uint32_t header_size = 0;
    int32_t width = 0;
    int32_t height = 0;           // always positive
    bool top_down = false;
    uint16_t bit_count = 0;
    uint32_t compression = 0;     // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
    std::array<uint32_t, 3> masks{};  // red, green, blue for 16 and 32 bits
    uint32_t palette_entries = 0;     // colours in the table (at most 256)
    std::array<uint8_t, 256 * 3> palette{};  // RGB, black beyond the file's own entries
};

// Reads the header (and colour table and masks) that starts at the reader's
// position. region_end bounds the header and table: nothing beyond it is
// part of this bitmap. Throws ImagingFailure(bad_data) for anything
// inconsistent or unsupported.
DibInfo dib_read_info(ByteReader& in, uint64_t region_end);

// Throws unless the picture is within the pixel limit (too_large) and the
// rows between bits_start and bits_end can hold it (bad_data): the checks
// that come before any decoding.
void dib_check_pixels(const DibInfo& info, uint64_t bits_start, uint64_t bits_end);

// Decodes the pixel rows found between bits_start and bits_end. The pixel
// limit is checked before the buffer is allocated.
PictureBuffer dib_decode_pixels(ByteReader& in, const DibInfo& info, uint64_t bits_start, uint64_t bits_end);

// Bytes of one uncompressed row (padded to four bytes).
uint64_t dib_row_bytes(int32_t width, uint16_t bit_count);

}  // namespace galvora
