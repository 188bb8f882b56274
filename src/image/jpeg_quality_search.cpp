#include "image/jpeg_quality_search.h"

#include <algorithm>

namespace galvora {

int32_t search_jpeg_quality(int32_t lowest_quality, int64_t size_limit,
                            const std::function<uint64_t(int32_t)>& measure, int32_t* current_quality) {
    int32_t q = 100;
    int32_t step = 20;
    for (;;) {
        if (current_quality) *current_quality = q;
        const uint64_t count = measure(q);
        if (static_cast<int64_t>(count) < size_limit) {
            if (q == 100 || step == 5) return q;
            // The first fit below 100: go back up 15 and come down in fives.
            q = std::min(q + step, 100);
            step = 5;
            q = std::max(q - 5, lowest_quality);
        } else {
            if (q == lowest_quality) return q;
            // Never below the lowest quality; a lowest quality above 100
            // is reached at once.
            q = (q < lowest_quality) ? lowest_quality : std::max(q - step, lowest_quality);
        }
    }
}

}  // namespace galvora
