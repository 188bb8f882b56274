#pragma once
// Picture effects that look at a pixel's neighbours: sharpen, unsharp mask
// and blur. Each computes its result in a second buffer that then replaces
// the picture (same size); when that buffer cannot be had the picture stays
// as it was and ImagingFailure is thrown. Parameters outside the ranges the
// effect page offers are brought back into them. The library options of the
// profile (fixed at 7) select nothing here.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

// level 1 to 100: each pixel is pushed away from the mean of its 3 x 3
// neighbourhood by level / 50 of the difference.
void EffectSharpen(PictureBuffer& picture, int32_t level, int32_t option);
// The picture minus a Gaussian blur of the given radius (sigma) is added
// back, weighted by amount (0 to 1), wherever it exceeds threshold (0 to 255).
void EffectUnsharpMask(PictureBuffer& picture, int32_t threshold, double amount, double radius, int32_t option);
// size 1 to 200: the blur reaches (size - 1) / 2 pixels to each side;
// intensity 0 to 1 mixes the blurred picture into the original.
void EffectBlur(PictureBuffer& picture, int32_t size, double intensity, int32_t option);

}  // namespace galvora
