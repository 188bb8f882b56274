#pragma once
// Reads all metadata of a picture's original from the markers captured when
// it was read: EXIF (APP1) and IPTC (APP13) segments and comment segments of
// a JPEG, the text chunks of a PNG.
#include <cstdint>

#include "image/captured_metadata.h"

namespace galvora {

class PictureMetadata;

// What the read met, for logs and tests; the lists hold what was read either way.
struct MetadataReadReport {
    int exif_segments = 0;
    int iptc_segments = 0;
    bool damaged = false;  // some segment was cut short or malformed
};

// JPEG originals (type 6): every APP1 segment through the EXIF reader, every
// APP13 segment through the IPTC reader, then the comment segments as "P1",
// "P2", ... PNG originals (type 10): the text chunks by their keywords.
// Other types: nothing.
MetadataReadReport ReadImageMetadata(PictureMetadata& picture, const CapturedMetadata& captured,
                                     std::int32_t picture_type);

}  // namespace galvora
