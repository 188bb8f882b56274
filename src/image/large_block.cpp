#include "image/large_block.h"

#include <cstdlib>

#include <sys/mman.h>

namespace galvora {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* allocate_large_block(size_t bytes) noexcept {
    if (bytes < kHugePage) return std::malloc(bytes ? bytes : 1);
    if (bytes > SIZE_MAX - kHugePage) return nullptr;
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* block = std::aligned_alloc(kHugePage, rounded);
    // Only a hint: without huge pages the block works the same, only slower.
    if (block) ::madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void free_large_block(void* block) noexcept { std::free(block); }

}  // namespace galvora
