#include "image/large_block.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace galvora {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// Large blocks given back are kept for the next request of about their size:
// pictures of one gallery tend to have the same few sizes, and memory the
// process keeps costs no page faults and no clearing by the kernel. A few
// blocks are kept, and no more than this much memory.
constexpr size_t kKeptBlocks = 6;
constexpr size_t kKeptBytes = size_t{384} << 20;

struct KeptBlock {
    void* block;
    size_t bytes;
};

struct Keeper {
    std::mutex lock;
    std::vector<KeptBlock> blocks;  // oldest first
    size_t bytes = 0;
};

Keeper& keeper() {
    // Never destroyed: blocks may be given back while the program ends.
    static Keeper* k = new Keeper;
    return *k;
}

// A kept block that fits bytes without wasting more than half of itself.
void* take_kept(size_t bytes) {
    Keeper& k = keeper();
    std::lock_guard<std::mutex> hold(k.lock);
    size_t best = k.blocks.size();
    for (size_t i = 0; i < k.blocks.size(); ++i) {
        const size_t have = k.blocks[i].bytes;
        if (have >= bytes && have / 2 <= bytes && (best == k.blocks.size() || have < k.blocks[best].bytes)) best = i;
    }
    if (best == k.blocks.size()) return nullptr;
    void* block = k.blocks[best].block;
    k.bytes -= k.blocks[best].bytes;
    k.blocks.erase(k.blocks.begin() + static_cast<std::ptrdiff_t>(best));
    return block;
}

}  // namespace

void* allocate_large_block(size_t bytes) noexcept {
    if (bytes < kHugePage) return std::malloc(bytes ? bytes : 1);
    if (bytes > SIZE_MAX - kHugePage) return nullptr;
    if (void* kept = take_kept(bytes)) return kept;
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* block = std::aligned_alloc(kHugePage, rounded);
    // Only a hint: without huge pages the block works the same, only slower.
    if (block) ::madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void free_large_block(void* block) noexcept {
    if (!block) return;
    const size_t bytes = ::malloc_usable_size(block);
    if (bytes < kHugePage || bytes > kKeptBytes) {
        std::free(block);
        return;
    }
    Keeper& k = keeper();
    std::lock_guard<std::mutex> hold(k.lock);
    try {
        k.blocks.push_back({block, bytes});
        k.bytes += bytes;
    } catch (...) {
        std::free(block);
        return;
    }
    while (k.blocks.size() > kKeptBlocks || k.bytes > kKeptBytes) {
        std::free(k.blocks.front().block);
        k.bytes -= k.blocks.front().bytes;
        k.blocks.erase(k.blocks.begin());
    }
}

}  // namespace galvora
