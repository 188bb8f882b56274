#pragma once
// The calls through which the picture object applies its clone-effect list:
// one call per kind of list item, made in list order on the clone.
//
// Every call receives the clone buffer itself. Calls that may change the
// picture's size (drop shadow, outer and picture frames) replace the buffer
// through the reference; the picture object takes the clone's width and
// height from the buffer after each call. While a call runs, the picture
// object is also the current image (image/current_image.h), so a call may
// use the in-place operations there (RotateImage, FlipImage, ...) instead of
// the buffer; both reach the same pixels.
//
// Each call returns true on success. On failure it returns false with the
// error record filled (number, source, description) and leaves the buffer
// either unchanged or holding a complete picture; the picture object then
// ends the picture's processing with that error.
#include <string>

#include "foundation/error.h"
#include "image/picture_buffer.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/text_stamp.h"

namespace galvora {

// A picture effect (kinds 0 to 25) applied to the picture.
bool apply_picture_effect(PictureBuffer& picture, const CBildEffekt& effect, ErrorInfo& error);

// An inner frame (drawn over the picture), or an outer or picture frame
// (the picture grows by the frame's bands; the buffer is replaced).
bool apply_border(PictureBuffer& picture, const CBorder& border, ErrorInfo& error);

// The stamp's loaded picture laid over the picture, stretched or at its
// position. A stamp without a loaded picture is a failure with the stamp's
// own load error.
bool apply_image_stamp(PictureBuffer& picture, const CImageStamp& stamp, ErrorInfo& error);

// The text drawn onto the picture with the stamp's font, colour, position and
// so on ("%\" breaks a line). text is the output of the stamp's script, made
// by the caller; the stamp's own Text is not used. The callee applies the
// stamp's switches itself: without Background the background colour is -1 and
// its opacity 0, without Border the outline colour is -1 and its width 0.
bool apply_text_stamp(PictureBuffer& picture, const CTextStamp& stamp, const std::string& text, ErrorInfo& error);

}  // namespace galvora
