#pragma once
// Layered image files: reading the flattened composite picture (RGB, grey,
// duotone, indexed, CMYK and bitmap modes; 8 and 16 bits per channel, 1 bit
// for bitmaps; raw or PackBits rows) and writing 8-bit RGB files with
// PackBits rows.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void psd_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer psd_read(FILE* in);
void psd_write(const PictureBuffer& buffer, FILE* out);

}  // namespace galvora
