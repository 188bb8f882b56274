#include "image/picture_buffer.h"

#include <atomic>
#include <cstring>
#include <new>

#include "image/imaging_error.h"

namespace galvora {

namespace {
std::atomic<int64_t> g_pixel_limit{kDefaultPixelLimit};
}

int64_t pixel_limit() { return g_pixel_limit.load(); }

void set_pixel_limit(int64_t pixels) { g_pixel_limit.store(pixels > 0 ? pixels : kDefaultPixelLimit); }

bool dimensions_allowed(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > INT32_MAX || height > INT32_MAX) return false;
    return width * height <= pixel_limit();
}

PictureBuffer::PictureBuffer(PictureBuffer&& other) noexcept
    : data_(std::move(other.data_)), width_(other.width_), height_(other.height_) {
    other.width_ = 0;
    other.height_ = 0;
}

PictureBuffer& PictureBuffer::operator=(PictureBuffer&& other) noexcept {
    if (this != &other) {
        data_ = std::move(other.data_);
        width_ = other.width_;
        height_ = other.height_;
        other.width_ = 0;
        other.height_ = 0;
    }
    return *this;
}

PictureBuffer PictureBuffer::make(int32_t width, int32_t height, bool cleared) {
    if (width <= 0 || height <= 0) throw ImagingFailure(ImagingFault::bad_argument);
    if (!dimensions_allowed(width, height)) throw ImagingFailure(ImagingFault::too_large);
    PictureBuffer b;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    b.data_.reset(static_cast<uint8_t*>(allocate_large_block(bytes)));
    if (!b.data_) throw ImagingFailure(ImagingFault::out_of_memory);
    if (cleared) std::memset(b.data_.get(), 0, bytes);
    b.width_ = width;
    b.height_ = height;
    return b;
}

PictureBuffer PictureBuffer::allocate(int32_t width, int32_t height) { return make(width, height, true); }

PictureBuffer PictureBuffer::allocate_for_overwrite(int32_t width, int32_t height) {
    return make(width, height, false);
}

PictureBuffer PictureBuffer::copy() const {
    if (empty()) return {};
    PictureBuffer b = allocate_for_overwrite(width_, height_);
    std::memcpy(b.data(), data(), size_bytes());
    return b;
}

void PictureBuffer::release() {
    data_.reset();
    width_ = 0;
    height_ = 0;
}

void PictureBuffer::swap_dimensions() { std::swap(width_, height_); }

}  // namespace galvora
