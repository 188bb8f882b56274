#pragma once
// Windows bitmap files: reading every common variant (1 to 32 bits, RLE,
// bit fields, either row order) and writing 24-bit uncompressed files.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void bmp_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer bmp_read(FILE* in);
void bmp_write(const PictureBuffer& buffer, FILE* out);

}  // namespace galvora
