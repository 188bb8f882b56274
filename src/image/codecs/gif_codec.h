#pragma once
// GIF reading (first image, expanded through its colour table to 24 bits)
// and writing (quantised to at most 256 colours) through giflib.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void gif_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer gif_read(FILE* in);
void gif_write(const PictureBuffer& buffer, FILE* out);

}  // namespace galvora
