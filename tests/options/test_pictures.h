#pragma once
// A small PNG the editor and window tests load as a stamp, a frame picture
// or an original: a red square in the middle of a white picture, a blue
// 2 x 2 block at the top left.
#include <filesystem>

#include "image/picture_buffer.h"
#include "image/picture_io.h"

namespace galvora::testing {

inline std::filesystem::path write_picture(const std::filesystem::path& path, int32_t width, int32_t height) {
    std::filesystem::create_directories(path.parent_path());
    PictureBuffer picture = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            const bool inner = x >= width / 4 && x < width * 3 / 4 && y >= height / 4 && y < height * 3 / 4;
            p[0] = 255;
            p[1] = inner ? 0 : 255;
            p[2] = inner ? 0 : 255;
            if (x < 2 && y < 2) p[0] = p[1] = 0, p[2] = 255;
        }
    }
    int32_t used = 0;
    WriteImage(path.string(), 10, picture, 0, 0, false, 0, used);
    return path;
}

}  // namespace galvora::testing
