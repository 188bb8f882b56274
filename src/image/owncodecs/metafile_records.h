#pragma once
// The record structure of WMF and EMF files, checked record by record, and
// the one bitmap a metafile may carry.
#include <cstdint>
#include <optional>

#include "image/owncodecs/byte_reader.h"
#include "image/picture_buffer.h"

namespace galvora {

enum class MetafileKind { wmf, emf };

// Where an embedded device-independent bitmap lies in the file.
struct EmbeddedBitmap {
    uint64_t info_start = 0;  // its header
    uint64_t info_end = 0;    // end of header and colour table region
    uint64_t bits_start = 0;  // 0: the rows follow the colour table
    uint64_t bits_end = 0;
};

struct MetafileScan {
    MetafileKind kind = MetafileKind::wmf;
    int bitmap_records = 0;
    int drawing_records = 0;  // records that draw something other than a bitmap
    std::optional<EmbeddedBitmap> bitmap;  // the first bitmap found
};

// Walks every record from the start of the file; any size or offset that
// leaves the file or its record is bad data.
MetafileScan scan_metafile(ByteReader& in);

// True when the metafile's whole picture is its one bitmap.
bool holds_one_bitmap(const MetafileScan& scan);

// Size and pixels of an embedded bitmap.
void embedded_bitmap_size(ByteReader& in, const EmbeddedBitmap& bitmap, int32_t& width, int32_t& height);
PictureBuffer decode_embedded_bitmap(ByteReader& in, const EmbeddedBitmap& bitmap);

}  // namespace galvora
