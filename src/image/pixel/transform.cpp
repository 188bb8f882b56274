#include "image/pixel/transform.h"

#include <algorithm>
#include <cstring>

namespace galvora {

bool rotate_quarter(PictureBuffer& buffer, int code) {
    if (buffer.empty() || code < 0 || code > 2) return false;
    const int32_t w = buffer.width(), h = buffer.height();
    if (code == 1) {
        // A half turn is a reversal of the pixel sequence, done in place.
        uint8_t* a = buffer.data();
        uint8_t* b = buffer.data() + buffer.size_bytes() - 3;
        while (a < b) {
            for (int c = 0; c < 3; ++c) std::swap(a[c], b[c]);
            a += 3;
            b -= 3;
        }
        return true;
    }
    PictureBuffer turned = PictureBuffer::allocate(h, w);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = buffer.row(y);
        for (int32_t x = 0; x < w; ++x, src += 3) {
            // Clockwise: (x, y) goes to (h - 1 - y, x); counter-clockwise: (y, w - 1 - x).
            uint8_t* dst = code == 0 ? turned.pixel(h - 1 - y, x) : turned.pixel(y, w - 1 - x);
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    buffer = std::move(turned);
    return true;
}

void flip_horizontal(PictureBuffer& buffer) {
    for (int32_t y = 0; y < buffer.height(); ++y) {
        uint8_t* a = buffer.row(y);
        uint8_t* b = a + buffer.row_bytes() - 3;
        while (a < b) {
            for (int c = 0; c < 3; ++c) std::swap(a[c], b[c]);
            a += 3;
            b -= 3;
        }
    }
}

void flip_vertical(PictureBuffer& buffer) {
    for (int32_t top = 0, bottom = buffer.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(buffer.row(top), buffer.row(top) + buffer.row_bytes(), buffer.row(bottom));
}

void crop_into(const PictureBuffer& source, PictureBuffer& target, int32_t left, int32_t top, int32_t right,
               int32_t bottom) {
    if (source.empty() || target.empty()) return;
    // Source rows and columns that exist and land inside the target.
    const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>({static_cast<int64_t>(right), source.width(), static_cast<int64_t>(left) + target.width()});
    const int64_t y1 = std::min<int64_t>({static_cast<int64_t>(bottom), source.height(), static_cast<int64_t>(top) + target.height()});
    if (x1 <= x0 || y1 <= y0) return;
    for (int64_t y = y0; y < y1; ++y) {
        std::memcpy(target.pixel(static_cast<int32_t>(x0 - left), static_cast<int32_t>(y - top)),
                    source.pixel(static_cast<int32_t>(x0), static_cast<int32_t>(y)), static_cast<size_t>(x1 - x0) * 3);
    }
}

}  // namespace galvora
