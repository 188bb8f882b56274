#pragma once
// The picture buffer: 24-bit pixels, three bytes per pixel in the order red,
// green, blue, rows of exactly width * 3 bytes without padding, top row
// first. The buffer owns its zero-filled block; an empty buffer stands for
// "no buffer" (handle 0). It is move-only so that exactly one owner releases
// the block.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/large_block.h"

namespace galvora {

// Pictures with more pixels than this are refused before their block is
// allocated (readers report the read error, writers and resizes likewise).
inline constexpr int64_t kDefaultPixelLimit = 250'000'000;
int64_t pixel_limit();
void set_pixel_limit(int64_t pixels);  // <= 0 restores the default

// True when width and height are positive and their product is within the limit.
bool dimensions_allowed(int64_t width, int64_t height);

class PictureBuffer {
public:
    PictureBuffer() = default;
    PictureBuffer(PictureBuffer&& other) noexcept;
    PictureBuffer& operator=(PictureBuffer&& other) noexcept;
    PictureBuffer(const PictureBuffer&) = delete;
    PictureBuffer& operator=(const PictureBuffer&) = delete;
    ~PictureBuffer() = default;

    // A zero-filled block of width * height pixels. Throws ImagingFailure:
    // bad_argument for non-positive sizes, too_large above the pixel limit,
    // out_of_memory when the allocation fails.
    static PictureBuffer allocate(int32_t width, int32_t height);
    // As allocate, but the block is not cleared: for a caller that writes
    // every pixel at once (a decoder).
    static PictureBuffer allocate_for_overwrite(int32_t width, int32_t height);

    bool empty() const { return !data_; }
    explicit operator bool() const { return !empty(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    size_t row_bytes() const { return static_cast<size_t>(width_) * 3; }
    size_t size_bytes() const { return row_bytes() * static_cast<size_t>(height_); }

    uint8_t* data() { return data_.get(); }
    const uint8_t* data() const { return data_.get(); }
    uint8_t* row(int32_t y) { return data_.get() + row_bytes() * static_cast<size_t>(y); }
    const uint8_t* row(int32_t y) const { return data_.get() + row_bytes() * static_cast<size_t>(y); }
    uint8_t* pixel(int32_t x, int32_t y) { return row(y) + static_cast<size_t>(x) * 3; }
    const uint8_t* pixel(int32_t x, int32_t y) const { return row(y) + static_cast<size_t>(x) * 3; }

    // A byte-for-byte copy in a new block (empty for an empty buffer).
    PictureBuffer copy() const;
    // Frees the block; the buffer is empty afterwards.
    void release();
    // Swaps width and height; the block keeps its size (for quarter turns,
    // which rearrange the pixels themselves).
    void swap_dimensions();

private:
    static PictureBuffer make(int32_t width, int32_t height, bool cleared);

    std::unique_ptr<uint8_t[], LargeBlockDeleter> data_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// Colours are 0x00BBGGRR: red in the low byte.
inline uint32_t make_colour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
inline uint8_t colour_red(int64_t c) { return static_cast<uint8_t>(c & 0xFF); }
inline uint8_t colour_green(int64_t c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline uint8_t colour_blue(int64_t c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

}  // namespace galvora
