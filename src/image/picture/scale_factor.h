#pragma once
// The scale factor of a picture for a side choice, and the target size it
// gives.
#include <cstdint>

namespace galvora {

// Side choice 1 longer side (a square picture uses the height), 2 width,
// 3 height, 4 fit into breite x hoehe; any other choice gives 0.
double BerechneSkalierung(int32_t width, int32_t height, int32_t ausdehnung, int32_t breite, int32_t hoehe,
                          int32_t seitenwahl);

// value rounded to the nearest integer, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4).
int32_t round_half_even(double value);

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

// width x factor by height x factor, each rounded half to even.
PixelSize scaled_size(int32_t width, int32_t height, double factor);

}  // namespace galvora
