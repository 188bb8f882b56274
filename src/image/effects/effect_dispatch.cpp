#include "image/effects/effect_dispatch.h"

#include <cstdint>
#include <utility>

#include "image/current_image.h"
#include "image/effects/artistic_effects.h"
#include "image/effects/edge_detect.h"
#include "image/effects/filter_effects.h"
#include "image/effects/geometry_effects.h"
#include "image/effects/tone_effects.h"
#include "image/pixel/transform.h"
#include "image/resize_image.h"

namespace galvora {

// The unsharp mask always blurs with this radius; the description's second
// double is kept by the profile but not read.
constexpr double kUnsharpRadius = 2.0;

void ApplyEffect(PictureBuffer& picture, const CBildEffekt& effect) {
    if (picture.empty()) return;
    const auto L = [&](int i) { return effect.LongArray(i); };
    const auto D = [&](int i) { return effect.DoubleArray(i); };
    switch (effect.Bildeffektart()) {
        case 0: EffectSharpen(picture, L(1), L(2)); break;
        case 1: EffectGamma(picture, D(1)); break;
        case 2: EffectBrightnessContrast(picture, D(1), D(2)); break;
        case 3: EffectBlur(picture, L(1), D(1), L(2)); break;
        case 4: EffectSaturation(picture, D(1)); break;
        case 5: EffectUnsharpMask(picture, L(1), D(1), kUnsharpRadius, L(2)); break;
        case 11: EffectGrayscale(picture); break;
        case 12: EffectMosaic(picture, L(1), L(2)); break;
        case 13: drehen(picture, L(1)); break;
        case 14:
            if (L(1) == 1) flip_horizontal(picture);
            if (L(1) == 2) flip_vertical(picture);
            break;
        case 15: {
            // The shadow colour is taken from the picture before the shadow is drawn.
            const int32_t colour = L(4) == 1 ? GetAverageColour(picture) : L(5);
            EffectDropShadow(picture, L(1), L(6), L(3), colour, L(2));
            break;
        }
        case 16: EffectNoise(picture, L(1), L(2), L(3)); break;
        case 17: EffectInvert(picture); break;
        case 18: EffectSolarize(picture); break;
        case 19: EffectPosterize(picture); break;
        case 20: EffectOilPaint(picture, L(1), L(2), L(3)); break;
        case 21: EffectWatercolor(picture, D(1), (L(1) == 1 ? 1 : 0) + (L(2) == 1 ? 2 : 0)); break;
        case 22: EffectEdgeDetect(picture, D(1), D(2), D(3)); break;
        case 23: EffectDuotone(picture, L(1)); break;
        case 24: EffectHalftone(picture, L(1)); break;
        case 25: EffectCrackle(picture, L(1), L(2), L(3)); break;
        default: break;  // 6 to 10 and unknown kinds: nothing
    }
}

void effect_output_size(const CBildEffekt& effect, int64_t& width, int64_t& height) {
    if (width <= 0 || height <= 0) return;
    switch (effect.Bildeffektart()) {
        case 13:
            // Quarter turns either way exchange the sides.
            if (effect.LongArray(1) == 0 || effect.LongArray(1) == 2) std::swap(width, height);
            break;
        case 15: {
            const ShadowCanvas c =
                drop_shadow_canvas(width, height, effect.LongArray(1), effect.LongArray(6), effect.LongArray(2));
            if (c.width <= INT32_MAX && c.height <= INT32_MAX) width = c.width, height = c.height;
            break;
        }
        default: break;
    }
}

}  // namespace galvora
