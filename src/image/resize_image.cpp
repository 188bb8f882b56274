#include "image/resize_image.h"

#include <cstring>
#include <new>
#include <string>

#include "image/imaging_error.h"
#include "image/pixel/resample.h"

namespace galvora {

int resize_mode_for_filter(int32_t filter_code) {
    switch (filter_code) {
        case -2: return 14;
        case -1: return 15;
        case 0: case 1: case 2: case 3: case 4: case 5: case 6:
        case 7: case 8: case 9: case 10: case 11: case 12: case 13: return filter_code;
        default: return 14;
    }
}

void ResizeImage(const PictureBuffer& source, int32_t target_width, int32_t target_height, PictureBuffer& target,
                 int32_t filter_code) {
    try {
        // Every pixel is written below (copied or resampled), so the block
        // is not cleared first; the error path still gets a cleared one.
        target = source.empty() ? PictureBuffer::allocate(target_width, target_height)
                                : PictureBuffer::allocate_for_overwrite(target_width, target_height);
    } catch (const ImagingFailure&) {
        target.release();
        throw GalvoraError(kImagingErrorBase, "ResizeImage", "GlobalAlloc");
    }
    if (source.width() == target_width && source.height() == target_height && !source.empty()) {
        std::memcpy(target.data(), source.data(), source.size_bytes());
        return;
    }
    const bool shrinking = source.width() > target_width && source.height() > target_height;
    const std::string description =
        shrinking ? "IS_ResizeImage(" + std::to_string(filter_code) + ")" : std::string("IS_ResizeImage");
    if (source.empty()) throw imaging_error(ImagingFault::bad_argument, "ResizeImage", description);
    try {
        resample(source, target, shrinking ? resize_mode_for_filter(filter_code) : resample_mode::bilinear);
    } catch (const std::bad_alloc&) {
        throw imaging_error(ImagingFault::out_of_memory, "ResizeImage", description);
    }
}

int32_t GetAverageColour(const PictureBuffer& buffer) {
    if (buffer.empty()) return 0;
    try {
        PictureBuffer one = PictureBuffer::allocate(1, 1);
        resample(buffer, one, resample_mode::area_average);
        const uint8_t* p = one.data();
        return static_cast<int32_t>(make_colour(p[0], p[1], p[2]));
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace galvora
