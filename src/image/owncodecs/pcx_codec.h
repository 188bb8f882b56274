#pragma once
// ZSoft PCX files: reading monochrome, 2- to 16-colour planar and packed,
// 256-colour and 24-bit (three or four planes) pictures, run-length encoded
// or plain; writing 24-bit run-length encoded files.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void pcx_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer pcx_read(FILE* in);
void pcx_write(const PictureBuffer& buffer, FILE* out);

}  // namespace galvora
