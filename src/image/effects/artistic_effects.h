#pragma once
// Picture effects that imitate a medium: noise, halftone, oil paint,
// watercolour and crackle. Effects with a random part draw it from a fixed
// seed, so the same picture always comes out the same. Parameters outside
// the ranges the effect page offers are brought back into them. Effects that
// need a second buffer throw ImagingFailure (or std::bad_alloc) when it
// cannot be had, before the picture is touched.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

// Gaussian noise with the variance amount (1 to 4000000); monochrome 1 adds
// the same value to all three channels of a pixel. In place.
void EffectNoise(PictureBuffer& picture, int32_t amount, int32_t monochrome, int32_t option);
// Black and white print whose dots grow from the centre of cells of
// pixel_width x pixel_width pixels (1 to 99). In place.
void EffectHalftone(PictureBuffer& picture, int32_t pixel_width);
// Every pixel takes the mean colour of the most frequent brightness class in
// the square of brush_width pixels around it; levels (option1, 2 to 256) is
// the number of classes. option2 selects nothing.
void EffectOilPaint(PictureBuffer& picture, int32_t brush_width, int32_t levels, int32_t option2);
// Softened colours with pigment gathering along the edges; blur 0.01 to 1;
// flags 1 raise the contrast, 2 brighten.
void EffectWatercolor(PictureBuffer& picture, double blur, int32_t flags);
// The picture cracked into irregular tiles like old varnish; mode 0 to 4
// from fine to coarse tiles, depth 0 to 100 how dark the cracks and how
// uneven the tiles are. option selects nothing.
void EffectCrackle(PictureBuffer& picture, int32_t mode, int32_t depth, int32_t option);

}  // namespace galvora
