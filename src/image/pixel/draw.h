#pragma once
// Drawing and blending on picture buffers. Colours are 0x00BBGGRR; opacities
// are weights from 0 (nothing) to 1 (opaque), clamped to that range.
// Rectangles are left, top, right, bottom with right and bottom exclusive.
// Everything is clipped to the target picture: any coordinates are safe.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

void fill_solid_rect(PictureBuffer& target, int32_t left, int32_t top, int32_t right, int32_t bottom, int64_t colour);

void fill_transparent_rect(PictureBuffer& target, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int64_t colour, double opacity);

// A one-pixel line from (x1, y1) to (x2, y2), both ends included, anti-aliased
// when asked.
void draw_line(PictureBuffer& target, int64_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               bool antialias);

// The ellipse around (cx, cy) with the two radii: filled, or its one-pixel
// outline; anti-aliased edges when asked (a mask drawn without them holds
// exactly two colours).
void draw_ellipse(PictureBuffer& target, int64_t colour, int32_t cx, int32_t cy, int32_t rx, int32_t ry, bool filled,
                  double opacity, bool antialias);

// Lays source over target with its top-left corner at (x, y), blended with
// the opacity.
void overlay_image(PictureBuffer& target, const PictureBuffer& source, int32_t x, int32_t y, double opacity);

// As overlay_image, but source pixels within tolerance of the transparent
// colour are left out: the sum of the squared red, green and blue differences
// is at most the tolerance (0 to 195075).
void overlay_transparent(PictureBuffer& target, const PictureBuffer& source, int32_t x, int32_t y, double opacity,
                         int64_t transparent_colour, int32_t tolerance);

// Blends source onto target at (x, y), each pixel weighted by its byte in
// mask (source width * height bytes): 255 gives the source pixel, 0 keeps the
// target.
void alpha_blend(PictureBuffer& target, const PictureBuffer& source, const uint8_t* mask, int32_t x, int32_t y);

}  // namespace galvora
