#pragma once
// PNG reading (libpng) and writing, plus the text chunks a PNG carries.
#include <cstdint>
#include <cstdio>

#include "image/captured_metadata.h"
#include "image/picture_buffer.h"

namespace galvora {

// Width and height from the header chunk; text chunks go to *meta when given.
// Walks the chunk list without decoding the image data.
void png_read_dims(FILE* in, int32_t& width, int32_t& height, CapturedMetadata* meta);

// Decodes the file to 24-bit RGB: palettes and grey levels are expanded,
// 16-bit channels reduced to 8 bits, an alpha channel dropped.
PictureBuffer png_read(FILE* in, CapturedMetadata* meta);

// Writes 8-bit truecolour; texts from *texts (may be null) as tEXt chunks
// when they are ASCII, else as iTXt (keywords must be ASCII).
void png_write(const PictureBuffer& buffer, FILE* out, const CapturedMetadata* texts);

}  // namespace galvora
