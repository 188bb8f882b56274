#pragma once
// Picture effects that work on areas of the picture: the drop shadow, which
// grows the picture, and the mosaic. When a buffer cannot be had they throw
// ImagingFailure before the picture is touched.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

// The canvas of a drop shadow around a width x height picture: its size, the
// picture's place on it (-left, -top) and the shadow's offset and softness.
struct ShadowCanvas {
    int64_t width = 0, height = 0, left = 0, top = 0, dx = 0, dy = 0;
    int32_t reach = 1;
};
ShadowCanvas drop_shadow_canvas(int64_t width, int64_t height, int32_t offset, int32_t diffusion, int32_t direction);

// The picture on a new, larger canvas of background_colour, with a soft
// shadow in shadow_colour behind it: offset 0 to 9999 pixels in the
// direction (degrees clockwise from up, so 135 is down and to the right),
// diffusion 1 to 100 pixels of softness. The canvas is just large enough for
// picture and shadow; the picture replaces its buffer and size.
void EffectDropShadow(PictureBuffer& picture, int32_t offset, int32_t diffusion, int32_t background_colour,
                      int32_t shadow_colour, int32_t direction);

// The picture reduced to one pixel per cell of cell_width x cell_height
// (smaller values than 1 count as 1), each pixel the mean of its cell,
// and enlarged again so that every cell is one flat block of colour.
void EffectMosaic(PictureBuffer& picture, int32_t cell_width, int32_t cell_height);

}  // namespace galvora
