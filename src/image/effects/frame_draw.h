#pragma once
// Frames: an inner frame drawn over the picture (translucent bands along
// chosen sides, or everything outside a centred ellipse), an outer frame of
// solid colour around it, or a picture frame filled with a frame picture.
#include <cstdint>

#include "foundation/error.h"
#include "image/picture_buffer.h"
#include "profile/border.h"

namespace galvora {

// Applies the frame. Inner frames change pixels in place; outer and picture
// frames put the picture on a larger canvas, which replaces it. Returns the
// error record, empty on success: only the stretching of a frame picture can
// fail, with the resize's error and the picture unchanged. A canvas that
// cannot be had leaves the frame out.
ErrorInfo ApplyBorder(PictureBuffer& picture, const CBorder& border);

// The size of a width x height picture after ApplyBorder with this frame:
// grown by the bands of an outer frame or a picture frame with its picture,
// unchanged by an inner frame.
void border_output_size(const CBorder& border, int64_t& width, int64_t& height);

// A band of an inner frame: left, top, right, bottom (right and bottom
// exclusive).
struct FrameBand {
    int64_t left, top, right, bottom;
};

// The bands of an inner rectangular frame of band pixels on a width x height
// picture, with the margins from each edge, for the sides set in sides (1 top,
// 2 right, 4 bottom, 8 left), in the order top, right, bottom, left. No pixel
// lies in two bands. Returns how many were written.
int inner_frame_bands(int64_t width, int64_t height, int32_t sides, int64_t band, int64_t margin_left,
                      int64_t margin_right, int64_t margin_top, int64_t margin_bottom, FrameBand bands[4]);

}  // namespace galvora
