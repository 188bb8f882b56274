#include "image/effects/frame_draw.h"

#include <algorithm>
#include <limits>

#include "image/current_image.h"
#include "image/imaging_error.h"
#include "image/pixel/draw.h"
#include "image/resize_image.h"

namespace galvora {

namespace {

constexpr int32_t kSideTop = 1, kSideRight = 2, kSideBottom = 4, kSideLeft = 8;
constexpr int32_t kStretchFilter = -2;  // "Linear 2x2"

int32_t saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void draw_inner_bands(PictureBuffer& picture, const CBorder& border) {
    FrameBand bands[4];
    const int count = inner_frame_bands(picture.width(), picture.height(), border.Position(), border.Breite(),
                                        border.OffsetLinks(), border.OffsetRechts(), border.OffsetOben(),
                                        border.OffsetUnten(), bands);
    for (int i = 0; i < count; ++i)
        fill_transparent_rect(picture, saturate(bands[i].left), saturate(bands[i].top), saturate(bands[i].right),
                              saturate(bands[i].bottom), border.Farbe(), border.deckkraft() / 100.0);
}

void draw_inner_ellipse(PictureBuffer& picture, const CBorder& border) {
    const int64_t cx = picture.width() / 2, cy = picture.height() / 2, b = border.Breite();
    if (cx <= b || cy <= b) return;
    draw_outside_ellipse(picture, border.Farbe(), static_cast<int32_t>(cx), static_cast<int32_t>(cy),
                         saturate(cx - b), saturate(cy - b), border.deckkraft() / 100.0);
}

// The canvas of an outer or picture frame and where the picture lands on it.
struct Canvas {
    int64_t width = 0, height = 0, x = 0, y = 0;
};

Canvas canvas_for(int64_t width, int64_t height, const CBorder& border) {
    // A negative width would cut the picture instead of framing it.
    const int64_t b = std::max<int32_t>(border.Breite(), 0);
    const int32_t sides = border.Position();
    Canvas c;
    c.width = width + ((sides & kSideRight) ? b : 0) + ((sides & kSideLeft) ? b : 0);
    c.height = height + ((sides & kSideTop) ? b : 0) + ((sides & kSideBottom) ? b : 0);
    c.x = (sides & kSideLeft) ? b : 0;
    c.y = (sides & kSideTop) ? b : 0;
    return c;
}

Canvas canvas_for(const PictureBuffer& picture, const CBorder& border) {
    return canvas_for(picture.width(), picture.height(), border);
}

// A zero-filled canvas of the frame's size, or an empty buffer when it cannot be had.
PictureBuffer allocate_canvas(const Canvas& c) {
    if (c.width > std::numeric_limits<int32_t>::max() || c.height > std::numeric_limits<int32_t>::max()) return {};
    try {
        return PictureBuffer::allocate(static_cast<int32_t>(c.width), static_cast<int32_t>(c.height));
    } catch (const ImagingFailure&) {
        return {};
    }
}

void place_picture(PictureBuffer& picture, PictureBuffer& canvas, const Canvas& c) {
    overlay_image(canvas, picture, static_cast<int32_t>(c.x), static_cast<int32_t>(c.y), 1.0);
    picture = std::move(canvas);
}

void apply_outer_frame(PictureBuffer& picture, const CBorder& border) {
    const int64_t colour = border.FarbePassend() == 1 ? GetAverageColour(picture) : border.Farbe();
    const Canvas c = canvas_for(picture, border);
    PictureBuffer canvas = allocate_canvas(c);
    if (canvas.empty()) return;
    fill_solid_rect(canvas, 0, 0, canvas.width(), canvas.height(), colour);
    place_picture(picture, canvas, c);
}

ErrorInfo apply_picture_frame(PictureBuffer& picture, const CBorder& border) {
    const PictureBuffer& frame = border.pRGB();
    if (frame.empty()) return {};
    const Canvas c = canvas_for(picture, border);
    PictureBuffer canvas;
    if (border.Bildverteilung() == 0) {
        // Copies of the frame picture row by row from the top-left corner,
        // the last ones in each row and column cut at the edges.
        canvas = allocate_canvas(c);
        if (canvas.empty()) return {};
        for (int64_t ty = 0; ty < canvas.height(); ty += frame.height())
            for (int64_t tx = 0; tx < canvas.width(); tx += frame.width())
                overlay_image(canvas, frame, static_cast<int32_t>(tx), static_cast<int32_t>(ty), 1.0);
    } else {
        if (c.width > std::numeric_limits<int32_t>::max() || c.height > std::numeric_limits<int32_t>::max()) return {};
        try {
            ResizeImage(frame, static_cast<int32_t>(c.width), static_cast<int32_t>(c.height), canvas, kStretchFilter);
        } catch (const GalvoraError& e) {
            return e.info();
        }
    }
    place_picture(picture, canvas, c);
    return {};
}

}  // namespace

int inner_frame_bands(int64_t width, int64_t height, int32_t sides, int64_t band, int64_t margin_left,
                      int64_t margin_right, int64_t margin_top, int64_t margin_bottom, FrameBand bands[4]) {
    const int64_t w = width, h = height, b = band, l = margin_left, r = margin_right, t = margin_top,
                  u = margin_bottom;
    const bool top = sides & kSideTop, right = sides & kSideRight, bottom = sides & kSideBottom, left = sides & kSideLeft;
    int n = 0;
    if (top) bands[n++] = {l, t, w - r, t + b};
    if (right) bands[n++] = {w - r - b, top ? t + b : t, w - r, h - u};
    if (bottom) bands[n++] = {l, h - u - b, right ? w - r - b : w - r, h - u};
    if (left) bands[n++] = {l, top ? t + b : t, l + b, bottom ? h - u - b : h - u};
    return n;
}

void border_output_size(const CBorder& border, int64_t& width, int64_t& height) {
    if (width <= 0 || height <= 0 || border.Position() == 0) return;
    const bool grows = border.RahmenArt() == 1 || (border.RahmenArt() == 2 && !border.pRGB().empty());
    if (!grows) return;
    const Canvas c = canvas_for(width, height, border);
    if (c.width > std::numeric_limits<int32_t>::max() || c.height > std::numeric_limits<int32_t>::max()) return;
    width = c.width;
    height = c.height;
}

ErrorInfo ApplyBorder(PictureBuffer& picture, const CBorder& border) {
    if (picture.empty() || border.Position() == 0) return {};
    switch (border.RahmenArt()) {
        case 0:
            if (border.InnenrahmenArt() == 0) {
                draw_inner_bands(picture, border);
            } else {
                draw_inner_ellipse(picture, border);
            }
            return {};
        case 1: apply_outer_frame(picture, border); return {};
        case 2: return apply_picture_frame(picture, border);
        default: return {};
    }
}

}  // namespace galvora
