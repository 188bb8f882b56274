#pragma once
// Memory for large blocks: pictures, and the buffers of the JPEG decoders.
//
// The first touch of a fresh page of memory is a page fault, which on a
// virtual machine costs tens of microseconds for each 4 KB page: touching a
// fresh 72 MB picture once then costs more than decoding it. Blocks of 2 MB
// and more are therefore aligned to 2 MB and offered to the kernel for huge
// pages, which cost one fault per 2 MB where the kernel grants them, and a
// few of them are kept when given back, for the next picture of about the
// same size. Smaller blocks come from the ordinary heap.
#include <cstddef>
#include <cstdint>
#include <new>

namespace galvora {

// Null when the memory cannot be had. The block is not cleared.
void* allocate_large_block(size_t bytes) noexcept;
void free_large_block(void* block) noexcept;

struct LargeBlockDeleter {
    template <typename T>
    void operator()(T* block) const noexcept {
        free_large_block(block);
    }
};

// For containers whose storage grows large.
template <typename T>
struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <typename U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}
    T* allocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
        void* p = allocate_large_block(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t) noexcept { free_large_block(p); }
    template <typename U>
    bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace galvora
