#pragma once
// Pixel work split between the worker threads by rows. The pieces of one
// call write disjoint parts of their output with the same arithmetic the
// whole would use, so a picture comes out the same however it was split.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "foundation/worker_threads.h"

namespace galvora {

// Pieces smaller than this many bytes of picture cost more to hand over than
// they gain.
inline constexpr size_t kBytesPerPiece = 64 * 1024;

// Runs body(first, end) over consecutive ranges of the rows 0 .. rows - 1 of
// a picture whose rows hold row_bytes bytes each.
template <class Body>
void split_rows(int32_t rows, size_t row_bytes, Body&& body) {
    if (rows <= 0) return;
    const size_t min_rows = std::max<size_t>(1, kBytesPerPiece / std::max<size_t>(row_bytes, 1));
    parallel_for(static_cast<size_t>(rows), min_rows, [&](size_t first, size_t end) {
        body(static_cast<int32_t>(first), static_cast<int32_t>(end));
    });
}

// Runs body(first, end) over consecutive ranges of bytes 0 .. count - 1.
template <class Body>
void split_bytes(size_t count, Body&& body) {
    parallel_for(count, kBytesPerPiece, [&](size_t first, size_t end) { body(first, end); });
}

}  // namespace galvora
