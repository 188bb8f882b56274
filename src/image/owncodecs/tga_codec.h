#pragma once
// Truevision TGA files: reading colour-mapped, true-colour and grey pictures,
// plain or run-length encoded (types 1, 2, 3, 9, 10, 11), 8 to 32 bits, with
// any of the four origins; writing 24-bit uncompressed files.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void tga_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer tga_read(FILE* in);
void tga_write(const PictureBuffer& buffer, FILE* out);

}  // namespace galvora
