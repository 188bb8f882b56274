#include "image/current_image.h"

#include <new>

#include "image/imaging_error.h"
#include "image/pixel/draw.h"
#include "image/pixel/transform.h"
#include "image/resize_image.h"

namespace galvora {

namespace {

// One slot per thread: a picture processed ahead of its turn on a worker
// thread is current there only, never for the scripts of the run's thread.
std::shared_ptr<DrawingSurface>& slot() {
    thread_local std::shared_ptr<DrawingSurface> current;
    return current;
}

// The current clone, or null when there is nothing to draw on.
PictureBuffer* current_clone() {
    const auto& s = slot();
    if (!s) return nullptr;
    PictureBuffer& b = s->clone_buffer();
    return b.empty() ? nullptr : &b;
}

}  // namespace

void SetImage(std::shared_ptr<DrawingSurface> surface) { slot() = std::move(surface); }

std::shared_ptr<DrawingSurface> current_image() { return slot(); }

void drehen(PictureBuffer& buffer, int32_t rotation_code) {
    if (!rotate_quarter(buffer, rotation_code) || rotation_code == 1) return;
    const auto& s = slot();
    if (s && &s->clone_buffer() == &buffer) s->clone_turned(buffer.width(), buffer.height());
}

void RotateImage(int32_t rotation_code) {
    PictureBuffer* b = current_clone();
    if (!b) return;
    try {
        drehen(*b, rotation_code);
    } catch (const ImagingFailure&) {
        // No room for the turned picture: the clone stays as it was.
    }
}

void FlipImage(int32_t flip_code) {
    PictureBuffer* b = current_clone();
    if (!b) return;
    if (flip_code == 1) flip_horizontal(*b);
    if (flip_code == 2) flip_vertical(*b);
}

void FillTransparentRect(int64_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t opacity) {
    PictureBuffer* b = current_clone();
    if (!b) return;
    if (right == -1) right = b->width();
    if (bottom == -1) bottom = b->height();
    fill_transparent_rect(*b, left, top, right, bottom, colour, opacity / 100.0);
}

void DrawLine(int64_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    PictureBuffer* b = current_clone();
    if (!b) return;
    draw_line(*b, colour, x1, y1, x2, y2, true);
}

void draw_outside_ellipse(PictureBuffer& buffer, int64_t colour, int32_t centre_x, int32_t centre_y, int32_t radius_x,
                          int32_t radius_y, double opacity) {
    if (buffer.empty()) return;
    // A mask in the drawing colour with the ellipse cut out in a second
    // colour, laid over the picture with that second colour transparent.
    const int64_t rgb = colour & 0xFFFFFF;
    const int64_t mask_colour = rgb == 0 ? 0xFFFFFF : 0;
    try {
        PictureBuffer mask = PictureBuffer::allocate(buffer.width(), buffer.height());
        fill_solid_rect(mask, 0, 0, buffer.width(), buffer.height(), rgb);
        draw_ellipse(mask, mask_colour, centre_x, centre_y, radius_x, radius_y, true, 1.0, false);
        overlay_transparent(buffer, mask, 0, 0, opacity, mask_colour, 0);
    } catch (const ImagingFailure&) {
        // No room for the mask: the picture stays unchanged.
    }
}

void DrawEllipse(int64_t colour, int32_t centre_x, int32_t centre_y, int32_t radius_x, int32_t radius_y,
                 int32_t opacity, int32_t mode) {
    PictureBuffer* b = current_clone();
    if (!b) return;
    if (mode < 0) {
        draw_outside_ellipse(*b, colour, centre_x, centre_y, radius_x, radius_y, opacity / 100.0);
        return;
    }
    draw_ellipse(*b, colour, centre_x, centre_y, radius_x, radius_y, mode > 0, opacity / 100.0, true);
}

int32_t GetImageAverageColour() {
    PictureBuffer* b = current_clone();
    return b ? GetAverageColour(*b) : 0;
}

}  // namespace galvora
