#pragma once
// The picture box a picture object draws its preview into (the control
// picture of the main window, the previews of the option pages). The window
// program implements it with a Qt view; tests use a fake.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

class PictureBoxPort {
public:
    virtual ~PictureBoxPort() = default;
    // Inner size in pixels.
    virtual float scale_width() const = 0;
    virtual float scale_height() const = 0;
    // Gives the box an empty picture.
    virtual void clear() = 0;
    // Draws picture with its top-left corner at (x, y), stretched to
    // draw_width x draw_height. False when the drawing failed.
    virtual bool draw_rgb(const PictureBuffer& picture, int32_t x, int32_t y, int32_t draw_width,
                          int32_t draw_height) = 0;
    // Copies the box content from (0, 0) into target, as much as fits.
    virtual void copy_content(PictureBuffer& target) const = 0;
};

}  // namespace galvora
