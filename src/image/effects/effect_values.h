#pragma once
// Small value helpers shared by the picture effects.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace galvora {

// A channel value rounded to the nearest byte and held within 0 to 255.
inline uint8_t to_byte(double v) {
    if (!(v > 0.0)) return 0;  // also NaN
    if (v >= 255.0) return 255;
    return static_cast<uint8_t>(std::lround(v));
}

// A parameter brought into the range the effect page offers; NaN, which no
// range holds, becomes the fallback.
inline double clamp_parameter(double v, double lo, double hi, double fallback) {
    return std::isnan(v) ? fallback : std::clamp(v, lo, hi);
}

}  // namespace galvora
