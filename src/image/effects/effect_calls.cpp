// The clone-effect calls of the picture object, served by the effects,
// stamps and frames of this folder.
#include "image/picture/effect_calls.h"

#include <new>

#include "image/effects/effect_dispatch.h"
#include "image/effects/frame_draw.h"
#include "image/effects/image_stamp_draw.h"
#include "image/effects/text_stamp_draw.h"
#include "image/imaging_error.h"

namespace galvora {

namespace {

bool report(const ErrorInfo& result, ErrorInfo& error) {
    if (result.empty()) return true;
    error = result;
    return false;
}

}  // namespace

bool apply_picture_effect(PictureBuffer& picture, const CBildEffekt& effect, ErrorInfo& error) {
    // An effect that cannot get its working memory leaves the picture as it
    // was; the clone is not written without it.
    try {
        ApplyEffect(picture, effect);
        return true;
    } catch (const ImagingFailure& failure) {
        return report({imaging_error_number(failure.fault()), "ApplyEffect", "GlobalAlloc"}, error);
    } catch (const std::bad_alloc&) {
        return report({imaging_error_number(ImagingFault::out_of_memory), "ApplyEffect", "GlobalAlloc"}, error);
    }
}

bool apply_border(PictureBuffer& picture, const CBorder& border, ErrorInfo& error) {
    return report(ApplyBorder(picture, border), error);
}

bool apply_image_stamp(PictureBuffer& picture, const CImageStamp& stamp, ErrorInfo& error) {
    return report(DrawImageStamp(picture, &stamp), error);
}

bool apply_text_stamp(PictureBuffer& picture, const CTextStamp& stamp, const std::string& text, ErrorInfo& error) {
    (void)error;  // a text stamp never fails; a step it cannot do is left out
    try {
        DrawTextStamp(picture, text_stamp_arguments(stamp, text));
    } catch (const std::bad_alloc&) {
    }
    return true;
}

}  // namespace galvora
