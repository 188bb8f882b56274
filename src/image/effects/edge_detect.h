#pragma once
// Edge detection: the picture becomes a map of its outlines, white lines on
// black, of the same size.
#include "image/picture_buffer.h"

namespace galvora {

// Canny's detector. sigma (0 to 2) smooths the grey picture first; low and
// high (0 to 1) are the hysteresis thresholds as shares of the strongest
// gradient. A high threshold of 0 is chosen from the picture (above 70 % of
// all gradients and at least a tenth of the strongest), a low one of 0 as
// 0.4 times the high one. Throws ImagingFailure or std::bad_alloc when its
// work planes cannot be had, before the picture is touched.
void EffectEdgeDetect(PictureBuffer& picture, double sigma, double low, double high);

}  // namespace galvora
