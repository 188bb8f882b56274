#pragma once
// Helpers for the effect tests.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "image/picture_buffer.h"

namespace galvora::test {

// Where two pictures of one size differ: the bounding box (right and bottom
// exclusive) and the number of changed pixels.
struct ChangedArea {
    int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    int64_t count = 0;
};

inline ChangedArea changed_area(const PictureBuffer& before, const PictureBuffer& after) {
    ChangedArea a;
    for (int32_t y = 0; y < before.height(); ++y)
        for (int32_t x = 0; x < before.width(); ++x)
            if (std::memcmp(before.pixel(x, y), after.pixel(x, y), 3) != 0) {
                a.left = std::min(a.left, x), a.top = std::min(a.top, y);
                a.right = std::max(a.right, x + 1), a.bottom = std::max(a.bottom, y + 1);
                ++a.count;
            }
    return a;
}

}  // namespace galvora::test
