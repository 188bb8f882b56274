#include "image/effects/filter_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>

#include "image/effects/blur_kernels.h"
#include "image/effects/effect_values.h"
#include "image/pixel/split_rows.h"

namespace galvora {

namespace {

// A second buffer holding a copy of the picture.
PictureBuffer working_copy(const PictureBuffer& picture) {
    PictureBuffer n = PictureBuffer::allocate(picture.width(), picture.height());
    const uint8_t* p = picture.data();
    uint8_t* q = n.data();
    split_bytes(picture.size_bytes(), [&](size_t first, size_t end) { std::memcpy(q + first, p + first, end - first); });
    return n;
}

// q[i] := f(p[i], q[i]) for every byte of the picture.
template <class F>
void combine(const PictureBuffer& picture, PictureBuffer& n, F f) {
    const uint8_t* p = picture.data();
    uint8_t* q = n.data();
    split_bytes(picture.size_bytes(), [&](size_t first, size_t end) {
        for (size_t i = first; i < end; ++i) q[i] = f(p[i], q[i]);
    });
}

}  // namespace

// The mean of the 3 x 3 neighbourhood (a box blur of radius 1) is the
// picture without its finest detail; adding back a multiple of the
// difference strengthens that detail.
void EffectSharpen(PictureBuffer& picture, int32_t level, int32_t /*option*/) {
    if (picture.empty()) return;
    const double k = std::clamp(level, 1, 100) / 50.0;
    PictureBuffer n = working_copy(picture);
    box_blur(n.data(), n.width(), n.height(), 3, 1);
    combine(picture, n, [k](uint8_t p, uint8_t q) { return to_byte(p + k * (p - q)); });
    picture = std::move(n);
}

// The darkroom's unsharp mask: a blurred copy is subtracted, and the
// difference, where it is large enough to be an edge rather than grain, is
// added back.
void EffectUnsharpMask(PictureBuffer& picture, int32_t threshold, double amount, double radius, int32_t /*option*/) {
    if (picture.empty()) return;
    threshold = std::clamp(threshold, 0, 255);
    amount = clamp_parameter(amount, 0.0, 1.0, 0.5);
    radius = clamp_parameter(radius, 0.1, 100.0, 2.0);
    PictureBuffer n = PictureBuffer::allocate(picture.width(), picture.height());
    gaussian_blur(picture.data(), n.data(), n.width(), n.height(), 3, radius);
    combine(picture, n, [threshold, amount](uint8_t p, uint8_t q) {
        const int diff = p - q;
        return std::abs(diff) > threshold ? to_byte(p + amount * diff) : p;
    });
    picture = std::move(n);
}

// Three box blurs in a row, each with running sums, approximate a Gaussian;
// the time does not depend on the size.
void EffectBlur(PictureBuffer& picture, int32_t size, double intensity, int32_t /*option*/) {
    if (picture.empty()) return;
    size = std::clamp(size, 1, 200);
    intensity = clamp_parameter(intensity, 0.0, 1.0, 0.5);
    PictureBuffer n = working_copy(picture);
    smooth_blur(n.data(), n.width(), n.height(), 3, (size - 1) / 2);
    if (intensity < 1.0) combine(picture, n, [intensity](uint8_t p, uint8_t q) { return to_byte(p + intensity * (q - p)); });
    picture = std::move(n);
}

}  // namespace galvora
