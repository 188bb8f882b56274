#include "image/pixel/transform.h"

#include <algorithm>
#include <cstring>

#include "image/pixel/split_rows.h"

namespace galvora {

bool rotate_quarter(PictureBuffer& buffer, int code) {
    if (buffer.empty() || code < 0 || code > 2) return false;
    const int32_t w = buffer.width(), h = buffer.height();
    if (code == 1) {
        // A half turn is a reversal of the pixel sequence, done in place: the
        // first half of the pixels trades places with the second.
        uint8_t* const data = buffer.data();
        const size_t pixels = buffer.size_bytes() / 3;
        parallel_for(pixels / 2, kBytesPerPiece / 3, [&](size_t first, size_t end) {
            for (size_t i = first; i < end; ++i) {
                uint8_t* a = data + i * 3;
                uint8_t* b = data + (pixels - 1 - i) * 3;
                for (int c = 0; c < 3; ++c) std::swap(a[c], b[c]);
            }
        });
        return true;
    }
    PictureBuffer turned = PictureBuffer::allocate(h, w);
    // In tiles of a few rows and columns, so that the columns written stay in
    // the cache while the rows are read.
    constexpr int32_t kTile = 64;
    split_rows(h, buffer.row_bytes() * kTile, [&](int32_t first, int32_t end) {
        for (int32_t x0 = 0; x0 < w; x0 += kTile) {
            const int32_t x1 = std::min(w, x0 + kTile);
            for (int32_t y = first; y < end; ++y) {
                const uint8_t* src = buffer.pixel(x0, y);
                for (int32_t x = x0; x < x1; ++x, src += 3) {
                    // Clockwise: (x, y) goes to (h - 1 - y, x); counter-clockwise: (y, w - 1 - x).
                    uint8_t* dst = code == 0 ? turned.pixel(h - 1 - y, x) : turned.pixel(y, w - 1 - x);
                    dst[0] = src[0];
                    dst[1] = src[1];
                    dst[2] = src[2];
                }
            }
        }
    });
    buffer = std::move(turned);
    return true;
}

void flip_horizontal(PictureBuffer& buffer) {
    split_rows(buffer.height(), buffer.row_bytes(), [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            uint8_t* a = buffer.row(y);
            uint8_t* b = a + buffer.row_bytes() - 3;
            while (a < b) {
                for (int c = 0; c < 3; ++c) std::swap(a[c], b[c]);
                a += 3;
                b -= 3;
            }
        }
    });
}

void flip_vertical(PictureBuffer& buffer) {
    const int32_t h = buffer.height();
    split_rows(h / 2, buffer.row_bytes() * 2, [&](int32_t first, int32_t end) {
        for (int32_t top = first; top < end; ++top)
            std::swap_ranges(buffer.row(top), buffer.row(top) + buffer.row_bytes(), buffer.row(h - 1 - top));
    });
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
