#pragma once
// Picture effects that change every pixel on its own, in place: grey,
// negative, solarize, poster, duotone, gamma, brightness and contrast,
// saturation. Parameters outside the ranges the effect page offers are
// brought back into them.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

void EffectGrayscale(PictureBuffer& picture);
void EffectInvert(PictureBuffer& picture);
void EffectSolarize(PictureBuffer& picture);
void EffectPosterize(PictureBuffer& picture);
// colour 0x00BBGGRR: the middle tone between black shadows and white lights.
void EffectDuotone(PictureBuffer& picture, int32_t colour);
// gamma 0.01 to 2; above 1 brightens the middle tones, 1 changes nothing.
void EffectGamma(PictureBuffer& picture, double gamma);
// brightness and contrast -1 to 1; 0 and 0 change nothing.
void EffectBrightnessContrast(PictureBuffer& picture, double brightness, double contrast);
// saturation 0.1 to 10; 1 changes nothing, below 1 fades towards grey.
void EffectSaturation(PictureBuffer& picture, double saturation);

// The grey level of a pixel (ITU-R BT.601 weights), 0 to 255.
inline uint8_t grey_level(const uint8_t* p) {
    return static_cast<uint8_t>((77u * p[0] + 150u * p[1] + 29u * p[2] + 128u) >> 8);
}

}  // namespace galvora
