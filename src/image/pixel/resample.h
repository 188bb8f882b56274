#pragma once
// Resampling of picture buffers with separable kernels. The mode numbers are
// the ones the resize operation selects from a filter code:
//   0 box (nearest at 1:1)   1 triangle   2 Hamming   3 Gaussian   4 bell
//   5 B-spline   6 Catmull-Rom cubic   7 sharp cubic (B 0, C 1)   8 Lanczos 3
//   9 Mitchell   10 quadratic   11 Hermite   12 Hanning   13 Blackman
//   14 area average (exact pixel coverage)   15 wide linear (4 taps at 1:1)
//   16 bilinear   18 blocks (area average when reducing, each pixel
//   repeated over its block when enlarging)   any other: area average
// Kernels widen with the reduction factor, so every mode averages rather than
// skips pixels when it shrinks.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

namespace resample_mode {
inline constexpr int area_average = 14;
inline constexpr int bilinear = 16;
inline constexpr int block = 18;
}  // namespace resample_mode

// Resamples source into target (both allocated, any sizes). The target's
// previous contents are overwritten.
void resample(const PictureBuffer& source, PictureBuffer& target, int mode);

}  // namespace galvora
