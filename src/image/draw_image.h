#pragma once
// Laying one picture over another: with an opacity, or with one colour of
// the laid picture treated as transparent. Also the placement of a stamp on
// the 3 x 3 grid of anchor positions.
#include <cstdint>

#include "foundation/error.h"
#include "image/picture_buffer.h"

namespace galvora {

// Lays stamp over target at (x, y) with opacity in percent. With
// use_transparent_colour 1, stamp pixels within tolerance of
// transparent_colour (0x00BBGGRR) are left out, the tolerance being the sum
// of the squared channel differences (0 to 195075). Positions outside the
// picture and stamps larger than it are clipped. Returns the error record:
// empty on success, else fault + 1000, "DrawImage", "IS_OverlayRGBTrans" or
// "IS_OverlayImage".
ErrorInfo DrawImage(PictureBuffer& target, const PictureBuffer& stamp, int32_t x, int32_t y, int32_t opacity,
                    int32_t use_transparent_colour, int64_t transparent_colour, int32_t tolerance);

// Top-left corner of a stamp of stamp_width x stamp_height on a picture of
// width x height: position 1..9 picks a cell of the 3 x 3 grid row by row
// from the top left, shifted by the offsets; centred values are rounded to
// the nearest integer, halves to the even neighbour. Any other position
// gives (0, 0) without offsets.
void stamp_position(int32_t position, int32_t offset_x, int32_t offset_y, int32_t width, int32_t height,
                    int32_t stamp_width, int32_t stamp_height, int32_t& x, int32_t& y);

}  // namespace galvora
