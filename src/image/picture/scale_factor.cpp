#include "image/picture/scale_factor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace galvora {

double BerechneSkalierung(int32_t width, int32_t height, int32_t ausdehnung, int32_t breite, int32_t hoehe,
                          int32_t seitenwahl) {
    const double w = width;
    const double h = height;
    switch (seitenwahl) {
        case 1: return width > height ? ausdehnung / w : ausdehnung / h;
        case 2: return breite / w;
        case 3: return hoehe / h;
        case 4: return std::min(breite / w, hoehe / h);
        default: return 0;
    }
}

int32_t round_half_even(double value) {
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

PixelSize scaled_size(int32_t width, int32_t height, double factor) {
    return {round_half_even(width * factor), round_half_even(height * factor)};
}

}  // namespace galvora
