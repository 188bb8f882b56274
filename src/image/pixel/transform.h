#pragma once
// Geometric operations on whole picture buffers: quarter turns, mirrors, crops.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

// code 0: a quarter turn clockwise, 1: a half turn, 2: a quarter turn
// counter-clockwise. The buffer is replaced by the turned picture (width and
// height exchange for codes 0 and 2). False for any other code or an empty
// buffer; the buffer is then unchanged.
bool rotate_quarter(PictureBuffer& buffer, int code);

void flip_horizontal(PictureBuffer& buffer);  // mirror left-right
void flip_vertical(PictureBuffer& buffer);    // mirror top-bottom

// Copies the rectangle (left, top, right, bottom; right and bottom exclusive)
// of source into target at (0, 0). Parts outside source or target are left
// out; target pixels not covered keep their value.
void crop_into(const PictureBuffer& source, PictureBuffer& target, int32_t left, int32_t top, int32_t right,
               int32_t bottom);

}  // namespace galvora
