#pragma once
// The current image: the one picture whose clone the drawing operations and
// the script drawing built-ins work on. The picture object makes itself
// current around each step that draws on its clone and clears the slot again.
#include <cstdint>
#include <memory>

#include "image/picture_buffer.h"

namespace galvora {

// What the drawing operations need of a picture object.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    // The clone buffer; an empty buffer means there is nothing to draw on.
    virtual PictureBuffer& clone_buffer() = 0;
    // Called after a quarter turn exchanged the clone's width and height.
    virtual void clone_turned(int32_t new_width, int32_t new_height) = 0;
};

// Makes surface the current image of the calling thread (the slot holds a
// reference of its own); null clears the slot.
void SetImage(std::shared_ptr<DrawingSurface> surface);
std::shared_ptr<DrawingSurface> current_image();

// The in-place operations on the current image's clone. Without a current
// image (or with an empty clone) they do nothing; they never fail.

// 0 a quarter turn clockwise, 1 a half turn, 2 a quarter turn counter-clockwise.
void RotateImage(int32_t rotation_code);
// The same turn of any buffer; when it is the current image's clone, the
// picture object learns that its sides were exchanged. Throws ImagingFailure
// when there is no room for the turned picture (the buffer stays as it was).
void drehen(PictureBuffer& buffer, int32_t rotation_code);
// 1 mirror left-right, 2 mirror top-bottom; other codes do nothing.
void FlipImage(int32_t flip_code);
// right -1 stands for the picture width, bottom -1 for its height;
// opacity in percent.
void FillTransparentRect(int64_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t opacity);
void DrawLine(int64_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// mode > 0 filled, 0 outline, < 0 everything outside the ellipse takes the
// colour; opacity in percent.
void DrawEllipse(int64_t colour, int32_t centre_x, int32_t centre_y, int32_t radius_x, int32_t radius_y,
                 int32_t opacity, int32_t mode);
// Average colour of the current clone; 0 without a current image.
int32_t GetImageAverageColour();

// The outside-the-ellipse drawing on any buffer (used by the above and by frames).
void draw_outside_ellipse(PictureBuffer& buffer, int64_t colour, int32_t centre_x, int32_t centre_y, int32_t radius_x,
                          int32_t radius_y, double opacity);

}  // namespace galvora
