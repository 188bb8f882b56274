#pragma once
// Writing 24-bit pixel rows the way bitmaps store them: blue, green, red,
// bottom row first. BMP files and metafile bitmaps add the 40-byte header;
// TGA files take the same rows without padding.
#include <cstdint>

#include "image/owncodecs/byte_writer.h"
#include "image/picture_buffer.h"

namespace galvora {

// The 40-byte header of an uncompressed 24-bit bottom-up bitmap.
void write_dib_header(ByteWriter& out, const PictureBuffer& buffer, uint32_t image_bytes);

// Every row from the bottom up, each padded with zeros to row_bytes.
void write_bgr_rows_bottom_up(ByteWriter& out, const PictureBuffer& buffer, uint64_t row_bytes);

}  // namespace galvora
