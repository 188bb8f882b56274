// libFuzzer target: the EXIF reader on APP1 segments, with the whole metadata
// read of a JPEG when the input is a JPEG file.
#include <cstddef>
#include <cstdint>

#include "image/metadata/exif_reader.h"
#include "image/metadata/picture_metadata.h"
#include "image/metadata/read_image_metadata.h"
#include "metadata_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    CapturedMetadata captured;
    captured.jpeg_markers = fuzz::markers_of(data, size, 0xE1);
    for (const auto& [code, payload] : captured.jpeg_markers) {
        if (code != 0xE1) continue;
        PictureMetadata picture;
        ParseExifApp1(picture, marker_segment(code, payload));
        // Touch every stored value so that a bad record shows up here.
        for (int section = 1; section <= 4; ++section)
            for (std::int64_t i = 1; i <= picture.ExifCount(section); ++i)
                for (const auto& value : picture.ExifPos(section, i)->inhalt)
                    if (const auto* text = std::get_if<std::string>(&value)) (void)text->size();
    }
    PictureMetadata whole;
    ReadImageMetadata(whole, captured, 6);
    return 0;
}
