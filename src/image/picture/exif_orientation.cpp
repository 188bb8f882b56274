#include "image/picture/exif_orientation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "image/pixel/transform.h"

namespace galvora {

namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint16_t kOrientationTag = 274;
constexpr uint16_t kTypeShort = 3;
// "Exif" and two zero bytes, then the TIFF structure.
constexpr std::string_view kExifHeader("Exif\0\0", 6);

// Where the orientation value lies: the marker in the list and the offset of
// its two bytes in the marker's payload, with the byte order.
struct TagPlace {
    size_t marker = 0;
    size_t offset = 0;
    bool big_endian = false;
};

uint32_t read_number(std::string_view bytes, size_t at, size_t length, bool big_endian) {
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<uint8_t>(bytes[at + (big_endian ? i : length - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

// The first EXIF segment's orientation entry, every offset checked against
// the segment's length.
std::optional<TagPlace> find_orientation(const CapturedMetadata& meta) {
    for (size_t m = 0; m < meta.jpeg_markers.size(); ++m) {
        const auto& [code, payload] = meta.jpeg_markers[m];
        if (code != kApp1 || !std::string_view(payload).starts_with(kExifHeader)) continue;
        const std::string_view tiff = std::string_view(payload).substr(kExifHeader.size());
        if (tiff.size() < 8) return std::nullopt;
        bool big_endian = false;
        if (tiff.substr(0, 2) == "MM") {
            big_endian = true;
        } else if (tiff.substr(0, 2) != "II") {
            return std::nullopt;
        }
        if (read_number(tiff, 2, 2, big_endian) != 42) return std::nullopt;
        const uint32_t ifd = read_number(tiff, 4, 4, big_endian);
        if (ifd > tiff.size() || tiff.size() - ifd < 2) return std::nullopt;
        const uint32_t entries = read_number(tiff, ifd, 2, big_endian);
        for (uint32_t i = 0; i < entries; ++i) {
            const size_t entry = static_cast<size_t>(ifd) + 2 + static_cast<size_t>(i) * 12;
            if (entry + 12 > tiff.size()) return std::nullopt;
            if (read_number(tiff, entry, 2, big_endian) != kOrientationTag) continue;
            if (read_number(tiff, entry + 2, 2, big_endian) != kTypeShort ||
                read_number(tiff, entry + 4, 4, big_endian) != 1)
                return std::nullopt;
            return TagPlace{m, kExifHeader.size() + entry + 8, big_endian};
        }
        // Only the first EXIF segment counts, as for the metadata lists.
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

int32_t exif_orientation(const CapturedMetadata& meta) {
    const std::optional<TagPlace> place = find_orientation(meta);
    if (!place) return 1;
    const uint32_t value = read_number(meta.jpeg_markers[place->marker].second, place->offset, 2, place->big_endian);
    return value >= 1 && value <= 8 ? static_cast<int32_t>(value) : 1;
}

bool orientation_swaps_sides(int32_t orientation) { return orientation >= 5 && orientation <= 8; }

void orient_upright(PictureBuffer& picture, int32_t orientation) {
    // rotate_quarter: 0 a quarter turn clockwise, 1 a half turn, 2 counter-clockwise.
    switch (orientation) {
        case 2: flip_horizontal(picture); break;
        case 3: rotate_quarter(picture, 1); break;
        case 4: flip_vertical(picture); break;
        case 5:  // mirrored along the diagonal from top left to bottom right
            rotate_quarter(picture, 0);
            flip_horizontal(picture);
            break;
        case 6: rotate_quarter(picture, 0); break;
        case 7:  // mirrored along the other diagonal
            rotate_quarter(picture, 2);
            flip_horizontal(picture);
            break;
        case 8: rotate_quarter(picture, 2); break;
        default: break;
    }
}

void reset_orientation(CapturedMetadata& meta) {
    const std::optional<TagPlace> place = find_orientation(meta);
    if (!place) return;
    std::string& payload = meta.jpeg_markers[place->marker].second;
    payload[place->offset] = static_cast<char>(place->big_endian ? 0 : 1);
    payload[place->offset + 1] = static_cast<char>(place->big_endian ? 1 : 0);
}

}  // namespace galvora
