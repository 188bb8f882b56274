#pragma once
// Blurs shared by the effects, frames and shadows. They work on interleaved
// 8-bit planes (channels bytes per pixel, rows of width * channels bytes);
// edges repeat the outermost pixel. Box blurs cost the same per pixel
// whatever their radius: they keep running sums along each row and column.
// All of them split their work between the worker threads; the result is the
// same however it was split.
#include <cstdint>
#include <vector>

namespace galvora {

// One box blur of the given radius (window 2 * radius + 1) along the rows
// and then along the columns. Radius 0 or less leaves the plane unchanged.
void box_blur(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t radius);

// Three box blurs in a row, close to a Gaussian bell whose whole extent
// (first to last pixel with weight) is 2 * reach + 1 pixels. Reach 0 or less
// leaves the plane unchanged.
void smooth_blur(uint8_t* data, int32_t width, int32_t height, int32_t channels, int32_t reach);

// The radii of the three boxes of smooth_blur; they add up to reach.
void smooth_blur_radii(int32_t reach, int32_t radii[3]);

// The same three boxes on a one-dimensional profile of floating values.
void smooth_blur_line(std::vector<float>& values, int32_t reach);

// A true Gaussian of the given sigma, as a separable convolution with a
// kernel cut at three sigma, from source into target (two planes of the same
// size). Sigma 0 or less copies the plane unchanged.
void gaussian_blur(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t channels,
                   double sigma);

// The same on float planes with one value per pixel.
void gaussian_blur(const float* source, float* target, int32_t width, int32_t height, double sigma);

}  // namespace galvora
