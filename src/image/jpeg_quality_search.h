#pragma once
// The quality search of the JPEG writer with a size limit: from 100 down in
// steps of 20 until a candidate fits (or the lowest quality is reached), then
// from the fitting quality plus 15 (at most 100) down in steps of 5. A
// candidate fits when its byte count is below the limit; the lowest quality
// is used even when it does not fit.
#include <cstdint>
#include <functional>

namespace galvora {

// measure(q) gives the byte count of the picture at quality q (it may
// throw; the search then stops with that exception). Returns the quality to
// write; current_quality (when given) follows the quality under test.
int32_t search_jpeg_quality(int32_t lowest_quality, int64_t size_limit,
                            const std::function<uint64_t(int32_t)>& measure, int32_t* current_quality = nullptr);

}  // namespace galvora
