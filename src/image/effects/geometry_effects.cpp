#include "image/effects/geometry_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image/effects/blur_kernels.h"
#include "image/imaging_error.h"
#include "image/pixel/draw.h"
#include "image/pixel/resample.h"
#include "image/pixel/split_rows.h"

namespace galvora {

namespace {

// The shadow of a rectangle blurred by three boxes is the product of two
// blurred steps, one along each axis; so two short profiles describe it.
std::vector<float> shadow_profile(int64_t canvas_length, int64_t shadow_start, int64_t shadow_length, int32_t reach) {
    std::vector<float> profile(static_cast<size_t>(canvas_length), 0.0f);
    for (int64_t i = 0; i < canvas_length; ++i)
        if (i >= shadow_start && i < shadow_start + shadow_length) profile[static_cast<size_t>(i)] = 1.0f;
    smooth_blur_line(profile, reach);
    return profile;
}

}  // namespace

ShadowCanvas drop_shadow_canvas(int64_t width, int64_t height, int32_t offset, int32_t diffusion, int32_t direction) {
    const double distance = std::clamp(offset, 0, 9999);
    const int32_t reach = std::clamp(diffusion, 1, 100);
    const double angle = (direction % 360) * M_PI / 180.0;
    ShadowCanvas c;
    c.dx = std::lround(distance * std::sin(angle));
    c.dy = std::lround(-distance * std::cos(angle));
    c.reach = reach;
    c.left = std::min<int64_t>(0, c.dx - reach);
    c.top = std::min<int64_t>(0, c.dy - reach);
    c.width = std::max<int64_t>(width, c.dx + width + reach) - c.left;
    c.height = std::max<int64_t>(height, c.dy + height + reach) - c.top;
    return c;
}

void EffectDropShadow(PictureBuffer& picture, int32_t offset, int32_t diffusion, int32_t background_colour,
                      int32_t shadow_colour, int32_t direction) {
    if (picture.empty()) return;
    const int64_t w = picture.width(), h = picture.height();
    const ShadowCanvas shadow = drop_shadow_canvas(w, h, offset, diffusion, direction);
    const int64_t dx = shadow.dx, dy = shadow.dy, left = shadow.left, top = shadow.top;
    const int32_t reach = shadow.reach;
    const int64_t cw = shadow.width, ch = shadow.height;
    if (cw > INT32_MAX || ch > INT32_MAX) throw ImagingFailure(ImagingFault::too_large);
    PictureBuffer canvas = PictureBuffer::allocate(static_cast<int32_t>(cw), static_cast<int32_t>(ch));
    const std::vector<float> fx = shadow_profile(cw, dx - left, w, reach);
    const std::vector<float> fy = shadow_profile(ch, dy - top, h, reach);
    const uint8_t bg[3] = {colour_red(background_colour), colour_green(background_colour), colour_blue(background_colour)};
    const uint8_t sh[3] = {colour_red(shadow_colour), colour_green(shadow_colour), colour_blue(shadow_colour)};
    split_rows(canvas.height(), canvas.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            uint8_t* p = canvas.row(y);
            const float ay = fy[static_cast<size_t>(y)];
            for (int32_t x = 0; x < canvas.width(); ++x, p += 3) {
                const float a = ay * fx[static_cast<size_t>(x)];
                for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::lround(bg[c] + (sh[c] - bg[c]) * a));
            }
        }
    });
    overlay_image(canvas, picture, static_cast<int32_t>(-left), static_cast<int32_t>(-top), 1.0);
    picture = std::move(canvas);
}

void EffectMosaic(PictureBuffer& picture, int32_t cell_width, int32_t cell_height) {
    if (picture.empty()) return;
    // A cell below one pixel would divide by zero. A cell larger than the
    // picture makes it one colour.
    cell_width = std::max(cell_width, 1);
    cell_height = std::max(cell_height, 1);
    const int32_t w = picture.width(), h = picture.height();
    const int32_t sw = std::max(w / cell_width, 1), sh = std::max(h / cell_height, 1);
    PictureBuffer small = PictureBuffer::allocate(sw, sh);
    resample(picture, small, resample_mode::block);
    // Enlarging repeats each pixel of the reduced picture over its block.
    resample(small, picture, resample_mode::block);
}

}  // namespace galvora
