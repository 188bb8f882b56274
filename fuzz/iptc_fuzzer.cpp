// libFuzzer target: the IPTC reader on APP13 segments. Inputs that are no
// JPEG get the "Photoshop 3.0" signature half of the time, so the search for
// resources is reached without the fuzzer having to find the signature first.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/metadata/exif_reader.h"
#include "image/metadata/iptc_reader.h"
#include "image/metadata/picture_metadata.h"
#include "metadata_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    auto markers = fuzz::markers_of(data, size, 0xED);
    if (markers.size() == 1 && size > 0 && (data[0] & 1) && (size < 2 || data[1] != 0xD8))
        markers[0].second.insert(0, std::string("Photoshop 3.0\0", 14));
    for (const auto& [code, payload] : markers) {
        if (code != 0xED) continue;
        PictureMetadata picture;
        ParseIptcApp13(picture, marker_segment(code, payload));
        for (std::int64_t i = 1; i <= picture.IptcCount(); ++i) (void)picture.IptcPos(i)->inhalt.size();
    }
    return 0;
}
