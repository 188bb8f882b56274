#pragma once
// Resizing and the average colour of a picture buffer.
#include <cstdint>

#include "image/picture_buffer.h"

namespace galvora {

// The resampling mode a filter code selects when the picture shrinks in both
// directions (-2 "Linear 2x2" 14, -1 "Linear 4x4" 15, 1..13 themselves, any
// other code 14).
int resize_mode_for_filter(int32_t filter_code);

// Resamples source into a new target of target_width x target_height. The
// target is allocated first and stays with the caller, also when the resize
// then fails. The same size copies the bytes; shrinking in both directions
// uses the filter's mode, anything else bilinear interpolation.
// Errors: 1000 "ResizeImage" "GlobalAlloc" when the target cannot be
// allocated; fault + 1000 "ResizeImage" "IS_ResizeImage(<filter>)" or
// "IS_ResizeImage" when the resampling fails.
void ResizeImage(const PictureBuffer& source, int32_t target_width, int32_t target_height, PictureBuffer& target,
                 int32_t filter_code);

// The mean colour of the buffer as 0x00BBGGRR (0 for an empty buffer).
int32_t GetAverageColour(const PictureBuffer& buffer);

}  // namespace galvora
