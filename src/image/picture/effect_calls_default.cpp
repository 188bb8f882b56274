// Stand-ins for the clone-effect calls while the effects are not part of the
// program: a list that holds an effect gives a clear error for that picture
// instead of a clone silently made without it.
#include "image/picture/effect_calls.h"

namespace galvora {
namespace {

bool not_available(const char* what, ErrorInfo& error) {
    error.number = 1000;
    error.source = what;
    error.description = std::string(what) + ": not available in this build";
    return false;
}

}  // namespace

bool apply_picture_effect(PictureBuffer&, const CBildEffekt&, ErrorInfo& error) {
    return not_available("ApplyEffect", error);
}

bool apply_border(PictureBuffer&, const CBorder&, ErrorInfo& error) { return not_available("ApplyBorder", error); }

bool apply_image_stamp(PictureBuffer&, const CImageStamp&, ErrorInfo& error) {
    return not_available("DrawImageStamp", error);
}

bool apply_text_stamp(PictureBuffer&, const CTextStamp&, const std::string&, ErrorInfo& error) {
    return not_available("DrawTextStamp", error);
}

}  // namespace galvora
