#pragma once
// The calls a picture object makes for the items of its clone-effect list.
// They default to the program's effect calls (effect_calls.h); the option
// pages' previews and tests may put others in place.
#include <functional>
#include <string>

#include "image/picture/effect_calls.h"

namespace galvora {

struct CloneEffectSteps {
    std::function<bool(PictureBuffer&, const CBildEffekt&, ErrorInfo&)> picture_effect = apply_picture_effect;
    std::function<bool(PictureBuffer&, const CBorder&, ErrorInfo&)> border = apply_border;
    std::function<bool(PictureBuffer&, const CImageStamp&, ErrorInfo&)> image_stamp = apply_image_stamp;
    std::function<bool(PictureBuffer&, const CTextStamp&, const std::string&, ErrorInfo&)> text_stamp =
        apply_text_stamp;
};

}  // namespace galvora
