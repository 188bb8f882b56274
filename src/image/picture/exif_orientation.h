#pragma once
// The camera's orientation tag of a JPEG (EXIF tag 274 in the first image
// directory): how the stored pixels are to be turned and mirrored to show the
// picture as it was taken. Browsers and viewers follow it, so thumbnails and
// processed clones are written upright, and a clone that carries the
// original's metadata gets the tag reset to 1.
#include <cstdint>

#include "image/captured_metadata.h"
#include "image/picture_buffer.h"

namespace galvora {

// The orientation (1 to 8) in the captured JPEG markers; 1 when there is no
// EXIF segment, no tag, or a value outside 1 to 8.
int32_t exif_orientation(const CapturedMetadata& meta);

// True for 5 to 8: the picture is shown with width and height exchanged.
bool orientation_swaps_sides(int32_t orientation);

// Turns and mirrors the stored pixels so that they stand as the picture is
// shown. Orientations outside 2 to 8 leave the buffer as it is.
void orient_upright(PictureBuffer& picture, int32_t orientation);

// Sets the orientation tag of the markers to 1 (upright); markers without
// the tag stay as they are.
void reset_orientation(CapturedMetadata& meta);

}  // namespace galvora
