#pragma once
// Metadata that a read of a picture file captures alongside its pixels. It
// travels with the picture that was read (never in a program-wide "last read"
// slot), so the EXIF, IPTC and comment readers parse it later from here.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace galvora {

struct CapturedMetadata {
    // APPn (0xE0..0xEF) and COM (0xFE) markers of a JPEG file: the marker code
    // and its payload (without the two length bytes), in file order.
    std::vector<std::pair<uint8_t, std::string>> jpeg_markers;
    // Text chunks of a PNG file (tEXt, zTXt, iTXt): keyword and decoded text.
    std::vector<std::pair<std::string, std::string>> png_texts;
    // The raw TIFF structure (byte-order header and IFDs, the whole file's
    // leading bytes) when the picture is a TIFF or camera RAW file; else empty.
    std::string tiff_exif;

    bool empty() const { return jpeg_markers.empty() && png_texts.empty() && tiff_exif.empty(); }
    void clear() {
        jpeg_markers.clear();
        png_texts.clear();
        tiff_exif.clear();
    }
};

}  // namespace galvora
