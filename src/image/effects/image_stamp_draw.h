#pragma once
// Image stamps: a small picture (logo, signature, watermark) laid over the
// picture.
#include "foundation/error.h"
#include "image/picture_buffer.h"
#include "profile/image_stamp.h"

namespace galvora {

// Lays the stamp's loaded picture over the picture: stretched over all of it
// (Strecken 1) or at its own size on the 3 x 3 grid with the offsets, with
// the stamp's opacity or its transparent colour and tolerance. Returns the
// error record, empty on success. A stamp without a loaded picture gives the
// error of its last load (1000 "CImageStamp:Name" "Missing Imagestamp-Name"
// for an empty name) and leaves the picture unchanged. No stamp, or an empty
// picture, does nothing.
ErrorInfo DrawImageStamp(PictureBuffer& picture, const CImageStamp* stamp);

}  // namespace galvora
