#include "image/effects/image_stamp_draw.h"

#include "image/draw_image.h"
#include "image/resize_image.h"

namespace galvora {

// The stretched stamp is resampled with "Linear 2x2", the filter the clone
// options offer under that name.
constexpr int32_t kStretchFilter = -2;

ErrorInfo DrawImageStamp(PictureBuffer& picture, const CImageStamp* stamp) {
    if (stamp == nullptr || picture.empty()) return {};
    if (stamp->pRGB().empty()) {
        ErrorInfo load_error{stamp->ErrNumber(), stamp->ErrSource(), stamp->ErrDescription()};
        // A stamp without a picture is always an error, even if its record
        // says otherwise.
        if (load_error.empty()) load_error = {1000, "CImageStamp:Name", "Missing Imagestamp-Name"};
        return load_error;
    }
    if (stamp->Strecken() == 1) {
        PictureBuffer stretched;
        try {
            ResizeImage(stamp->pRGB(), picture.width(), picture.height(), stretched, kStretchFilter);
        } catch (const GalvoraError& e) {
            return e.info();  // the overlay is left out: there is no stretched stamp to lay
        }
        return DrawImage(picture, stretched, 0, 0, stamp->deckkraft(), stamp->TransparenteFarbeNutzen(),
                         stamp->TransparenteFarbe(), stamp->TransparenzFarbtoleranz());
    }
    int32_t x = 0, y = 0;
    stamp_position(stamp->Position(), stamp->OffsetX(), stamp->OffsetY(), picture.width(), picture.height(),
                   stamp->Breite(), stamp->Höhe(), x, y);
    return DrawImage(picture, stamp->pRGB(), x, y, stamp->deckkraft(), stamp->TransparenteFarbeNutzen(),
                     stamp->TransparenteFarbe(), stamp->TransparenzFarbtoleranz());
}

}  // namespace galvora
