#include "image/owncodecs/metafile_records.h"

#include "image/owncodecs/dib_decoder.h"

namespace galvora {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint16_t kDibPatternBrush = 0x0142;     // a brush made from a DIB

// WMF functions that carry a bitmap, and the offset of the bitmap inside
// the record's parameters (after the six bytes of size and function).
int wmf_bitmap_offset(uint16_t function, uint64_t record_bytes) {
    switch (function) {
        case 0x0F43: return 22;  // stretch a DIB
        case 0x0D33: return 18;  // DIB to device
        case 0x0B41:             // stretch-blit a DIB; the short form has none
            return record_bytes > 6 + 22 ? 20 : -1;
        case 0x0940:  // blit a DIB; likewise
            return record_bytes > 6 + 18 ? 16 : -1;
        default: return -1;
    }
}

// Functions that only set state or manage objects; anything else draws.
bool wmf_sets_state_only(uint16_t function) {
    switch (function) {
        case 0x0000:  // end
        case 0x001E: case 0x0127: case 0x0201: case 0x0209: case 0x020B: case 0x020C: case 0x020D:
        case 0x020E: case 0x0102: case 0x0103: case 0x0104: case 0x0105: case 0x0106: case 0x0107:
        case 0x0108: case 0x012D: case 0x012E: case 0x0130: case 0x01F0: case 0x02FA: case 0x02FB:
        case 0x02FC: case 0x00F7: case 0x0234: case 0x0035: case 0x0037: case 0x0139: case 0x0211:
        case 0x0412: case 0x0410: case 0x020A: case 0x0231: case 0x0626:
            return true;
        default: return false;
    }
}

MetafileScan scan_wmf(ByteReader& in) {
    MetafileScan scan;
    scan.kind = MetafileKind::wmf;
    in.seek(0);
    uint64_t start = 0;
    if (in.size() >= 22 && in.le32() == kPlaceableKey) {
        start = 22;
        in.seek(14);
        require(in.le16() != 0);  // units per inch: the drawing's scale divides by it
    }
    in.seek(start);
    const uint16_t type = in.le16();
    const uint16_t header_words = in.le16();
    require((type == 1 || type == 2) && header_words == 9);
    in.seek(start + 12);
    // The largest record: drawing libraries allocate a buffer of this size
    // up front, so it must be a record that can stand in this file.
    const uint32_t max_record_words = in.le32();
    require(static_cast<uint64_t>(max_record_words) * 2 <= in.size() - start);
    in.seek(start + 18);
    while (true) {
        const uint64_t record = in.tell();
        // A file that ends without its end record is accepted up to there.
        if (in.remaining() < 6) break;
        const uint32_t words = in.le32();
        const uint16_t function = in.le16();
        if (function == 0) break;
        require(words >= 3 && static_cast<uint64_t>(words) * 2 <= in.size() - record);
        require(words <= max_record_words);
        const uint64_t bytes = static_cast<uint64_t>(words) * 2;
        const int offset = wmf_bitmap_offset(function, bytes);
        if (offset >= 0 || function == kDibPatternBrush) {
            // Every bitmap must be sound before anything draws it: a
            // drawing library decodes it with no limit of its own.
            const uint64_t info_start = record + 6 + static_cast<uint64_t>(offset >= 0 ? offset : 4);
            require(info_start < record + bytes);
            in.seek(info_start);
            const DibInfo info = dib_read_info(in, record + bytes);
            dib_check_pixels(info, in.tell(), record + bytes);
        }
        if (offset >= 0) {
            ++scan.bitmap_records;
            if (!scan.bitmap) {
                EmbeddedBitmap b;
                b.info_start = record + 6 + static_cast<uint64_t>(offset);
                b.info_end = record + bytes;
                b.bits_end = record + bytes;
                require(b.info_start < b.info_end);
                scan.bitmap = b;
            }
        } else if (!wmf_sets_state_only(function)) {
            ++scan.drawing_records;
        }
        in.seek(record + bytes);
    }
    return scan;
}

MetafileScan scan_emf(ByteReader& in) {
    MetafileScan scan;
    scan.kind = MetafileKind::emf;
    in.seek(0);
    while (in.remaining() >= 8) {
        const uint64_t record = in.tell();
        const uint32_t type = in.le32();
        const uint32_t size = in.le32();
        require(size >= 8 && size % 4 == 0 && size <= in.size() - record);
        if (type == 14) break;  // end of file
        // Offsets of the bitmap fields inside the record, by record type.
        uint32_t fields = 0;
        switch (type) {
            case 76:  // bit blit
            case 77:  // stretch blit
                fields = 84;
                break;
            case 80:  // DIB bits to device
            case 81:  // stretch DIB bits
                fields = 48;
                break;
            case 78: case 79: case 114: case 116:  // masked, parallelogram, alpha, transparent blits
                ++scan.bitmap_records;
                ++scan.drawing_records;  // not decoded: counts as other drawing
                in.seek(record + size);
                continue;
            default:
                if (type >= 2 && type <= 8) ++scan.drawing_records;       // curves and polygons
                if (type >= 42 && type <= 47) ++scan.drawing_records;     // shapes
                if (type >= 53 && type <= 56) ++scan.drawing_records;     // lines, paths
                if (type >= 83 && type <= 97) ++scan.drawing_records;     // text, 16-bit shapes
                in.seek(record + size);
                continue;
        }
        require(size >= fields + 16);
        in.seek(record + fields);
        const uint32_t off_bmi = in.le32(), cb_bmi = in.le32(), off_bits = in.le32(), cb_bits = in.le32();
        if (cb_bmi == 0) {  // a pattern blit without a bitmap
            ++scan.drawing_records;
        } else {
            ++scan.bitmap_records;
            require(off_bmi >= 8 && static_cast<uint64_t>(off_bmi) + cb_bmi <= size);
            require(static_cast<uint64_t>(off_bits) + cb_bits <= size && off_bits >= 8);
            if (!scan.bitmap) {
                EmbeddedBitmap b;
                b.info_start = record + off_bmi;
                b.info_end = b.info_start + cb_bmi;
                b.bits_start = record + off_bits;
                b.bits_end = b.bits_start + cb_bits;
                scan.bitmap = b;
            }
        }
        in.seek(record + size);
    }
    return scan;
}

}  // namespace

namespace {

DibInfo bitmap_info(ByteReader& in, const EmbeddedBitmap& b, uint64_t& bits_start) {
    in.seek(b.info_start);
    DibInfo info = dib_read_info(in, b.info_end);
    bits_start = b.bits_start ? b.bits_start : in.tell();
    require(bits_start <= b.bits_end);
    return info;
}

}  // namespace

bool holds_one_bitmap(const MetafileScan& scan) {
    return scan.bitmap && scan.bitmap_records == 1 && scan.drawing_records == 0;
}

void embedded_bitmap_size(ByteReader& in, const EmbeddedBitmap& bitmap, int32_t& width, int32_t& height) {
    uint64_t bits = 0;
    const DibInfo info = bitmap_info(in, bitmap, bits);
    width = info.width;
    height = info.height;
}

PictureBuffer decode_embedded_bitmap(ByteReader& in, const EmbeddedBitmap& bitmap) {
    uint64_t bits = 0;
    const DibInfo info = bitmap_info(in, bitmap, bits);
    return dib_decode_pixels(in, info, bits, bitmap.bits_end);
}

MetafileScan scan_metafile(ByteReader& in) {
    require(in.size() >= 18);
    in.seek(0);
    const uint32_t first = in.le32();
    if (first == 1 && in.size() >= 44) {
        in.seek(40);
        if (in.le32() == kEmfSignature) return scan_emf(in);
    }
    return scan_wmf(in);
}

}  // namespace galvora
