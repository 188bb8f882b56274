#include "image/draw_image.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "image/imaging_error.h"
#include "image/pixel/draw.h"

namespace galvora {

ErrorInfo DrawImage(PictureBuffer& target, const PictureBuffer& stamp, int32_t x, int32_t y, int32_t opacity,
                    int32_t use_transparent_colour, int64_t transparent_colour, int32_t tolerance) {
    const bool transparent = use_transparent_colour == 1;
    if (target.empty() || stamp.empty()) {
        return ErrorInfo{imaging_error_number(ImagingFault::bad_argument), "DrawImage",
                         transparent ? "IS_OverlayRGBTrans" : "IS_OverlayImage"};
    }
    if (transparent) {
        overlay_transparent(target, stamp, x, y, opacity / 100.0, transparent_colour, tolerance);
    } else {
        overlay_image(target, stamp, x, y, opacity / 100.0);
    }
    return {};
}

namespace {

int32_t round_half_even(double v) {
    // nearbyint rounds by the current mode, which is to-nearest-even unless
    // someone changed it; set it explicitly to be sure.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(saved);
    return static_cast<int32_t>(r);
}

}  // namespace

void stamp_position(int32_t position, int32_t offset_x, int32_t offset_y, int32_t width, int32_t height,
                    int32_t stamp_width, int32_t stamp_height, int32_t& x, int32_t& y) {
    if (position < 1 || position > 9) {
        x = 0;
        y = 0;
        return;
    }
    // In double precision and saturated: offsets come from profile settings and may be anything.
    const auto fit = [](double v) { return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0)); };
    const int column = (position - 1) % 3, row = (position - 1) / 3;
    const double free_x = static_cast<double>(width) - stamp_width, free_y = static_cast<double>(height) - stamp_height;
    switch (column) {
        case 0: x = offset_x; break;
        case 1: x = round_half_even(std::clamp(free_x / 2.0 + offset_x, -2147483648.0, 2147483647.0)); break;
        default: x = fit(free_x + offset_x); break;
    }
    switch (row) {
        case 0: y = offset_y; break;
        case 1: y = round_half_even(std::clamp(free_y / 2.0 + offset_y, -2147483648.0, 2147483647.0)); break;
        default: y = fit(free_y + offset_y); break;
    }
}

}  // namespace galvora
