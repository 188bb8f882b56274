#include "image/owncodecs/photo_cd_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"

namespace galvora {

namespace {

constexpr uint64_t kSector = 0x800;
constexpr uint64_t kOrientationOffset = 0xE02;

struct Level {
    int32_t width, height;
    uint64_t offset;
};

// The three base pictures and where they start in the pack.
constexpr Level kLevels[3] = {{192, 128, 4 * kSector}, {384, 256, 23 * kSector}, {768, 512, 96 * kSector}};

struct PcdLayout {
    Level level;
    int rotation = 0;  // quarter turns: 0 none, 1 left, 2 half, 3 right
};

PcdLayout read_layout(ByteReader& in, int32_t resolution) {
    require(in.size() >= kOrientationOffset + 1);
    in.seek(kSector);
    uint8_t sig[7];
    in.read(sig, 7);
    require(std::memcmp(sig, "PCD_IPI", 7) == 0);
    in.seek(kOrientationOffset);
    PcdLayout layout;
    layout.rotation = in.u8() & 3;
    const int index = resolution == 1 ? 0 : resolution == 2 ? 1 : 2;
    layout.level = kLevels[index];
    const uint64_t bytes = static_cast<uint64_t>(layout.level.width) * layout.level.height * 3 / 2;
    require(in.size() >= layout.level.offset + bytes);
    return layout;
}

uint8_t clamp_byte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

// PhotoYCC to RGB: luma scaled by 1.3584, chroma around 156 and 137.
void ycc_to_rgb(uint8_t y, uint8_t c1, uint8_t c2, uint8_t* rgb) {
    const double l = 1.3584 * y;
    const double u = 2.2179 * (c1 - 156.0);
    const double v = 1.8215 * (c2 - 137.0);
    rgb[0] = clamp_byte(l + v);
    rgb[1] = clamp_byte(l - 0.194 * u - 0.509 * v);
    rgb[2] = clamp_byte(l + u);
}

}  // namespace

void pcd_read_dims(FILE* in, int32_t resolution, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const PcdLayout layout = read_layout(r, resolution);
    const bool sideways = layout.rotation == 1 || layout.rotation == 3;
    width = sideways ? layout.level.height : layout.level.width;
    height = sideways ? layout.level.width : layout.level.height;
}

PictureBuffer pcd_read(FILE* in, int32_t resolution) {
    ByteReader r(in);
    const PcdLayout layout = read_layout(r, resolution);
    const int32_t w = layout.level.width, h = layout.level.height;
    if (!dimensions_allowed(w, h)) throw ImagingFailure(ImagingFault::too_large);
    PictureBuffer stored = PictureBuffer::allocate(w, h);
    r.seek(layout.level.offset);
    // Rows come in pairs: two luma rows, then one row of each chroma
    // channel at half the width, shared by both luma rows.
    std::vector<uint8_t> block(static_cast<size_t>(w) * 3);
    for (int32_t y = 0; y < h; y += 2) {
        r.read(block.data(), block.size());
        const uint8_t* luma0 = block.data();
        const uint8_t* luma1 = luma0 + w;
        const uint8_t* c1 = luma1 + w;
        const uint8_t* c2 = c1 + w / 2;
        for (int32_t x = 0; x < w; ++x) {
            ycc_to_rgb(luma0[x], c1[x / 2], c2[x / 2], stored.pixel(x, y));
            ycc_to_rgb(luma1[x], c1[x / 2], c2[x / 2], stored.pixel(x, y + 1));
        }
    }
    if (layout.rotation == 0) return stored;

    // Turn upright: the orientation says how the picture was scanned.
    const bool sideways = layout.rotation == 1 || layout.rotation == 3;
    PictureBuffer out = PictureBuffer::allocate(sideways ? h : w, sideways ? w : h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            int32_t tx = x, ty = y;
            switch (layout.rotation) {
                case 1: tx = y, ty = w - 1 - x; break;          // a quarter turn to the left
                case 2: tx = w - 1 - x, ty = h - 1 - y; break;  // half a turn
                case 3: tx = h - 1 - y, ty = x; break;          // a quarter turn to the right
            }
            std::memcpy(out.pixel(tx, ty), stored.pixel(x, y), 3);
        }
    return out;
}

}  // namespace galvora
