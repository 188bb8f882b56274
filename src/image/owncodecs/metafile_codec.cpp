#include "image/owncodecs/metafile_codec.h"

#include <vector>

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/byte_writer.h"
#include "image/owncodecs/dib_decoder.h"
#include "image/owncodecs/dib_encoder.h"
#include "image/owncodecs/metafile_records.h"
#include "image/owncodecs/wmf_renderer.h"

namespace galvora {

namespace {

// Vector WMF files beyond this size are not handed to libwmf: drawings of
// that size do not occur, and the whole file is held in memory for it.
constexpr uint64_t kMaxVectorBytes = 64u << 20;

std::vector<uint8_t> whole_file(ByteReader& in) {
    require(in.size() <= kMaxVectorBytes);
    std::vector<uint8_t> bytes(static_cast<size_t>(in.size()));
    in.seek(0);
    in.read(bytes.data(), bytes.size());
    return bytes;
}

void write_emf(const PictureBuffer& buffer, ByteWriter& w) {
    const uint64_t image = dib_row_bytes(buffer.width(), 24) * static_cast<uint64_t>(buffer.height());
    constexpr uint32_t kHeader = 88, kFixed = 80, kInfo = 40, kEnd = 20;
    const uint64_t record = kFixed + kInfo + image;
    const uint64_t total = kHeader + record + kEnd;
    if (total > UINT32_MAX) throw ImagingFailure(ImagingFault::too_large);
    const uint32_t wd = static_cast<uint32_t>(buffer.width()), ht = static_cast<uint32_t>(buffer.height());

    // Header: bounds in pixels, frame in hundredths of a millimetre at 96 dpi,
    // a reference device of 1920 x 1080 pixels on 508 x 286 mm.
    w.le32(1);
    w.le32(kHeader);
    w.le32(0), w.le32(0), w.le32(wd - 1), w.le32(ht - 1);
    w.le32(0), w.le32(0);
    w.le32(static_cast<uint32_t>((static_cast<uint64_t>(wd) * 2540 + 48) / 96));
    w.le32(static_cast<uint32_t>((static_cast<uint64_t>(ht) * 2540 + 48) / 96));
    w.le32(0x464D4520);
    w.le32(0x10000);
    w.le32(static_cast<uint32_t>(total));
    w.le32(3);  // records
    w.le16(1);  // handles
    w.le16(0);
    w.le32(0), w.le32(0), w.le32(0);  // no description, no palette
    w.le32(1920), w.le32(1080);
    w.le32(508), w.le32(286);

    // The picture as one stretched DIB, copied unchanged.
    w.le32(81);
    w.le32(static_cast<uint32_t>(record));
    w.le32(0), w.le32(0), w.le32(wd - 1), w.le32(ht - 1);
    w.le32(0), w.le32(0);          // destination
    w.le32(0), w.le32(0);          // source origin
    w.le32(wd), w.le32(ht);        // source size
    w.le32(kFixed), w.le32(kInfo);
    w.le32(kFixed + kInfo), w.le32(static_cast<uint32_t>(image));
    w.le32(0);                     // colours are RGB values
    w.le32(0x00CC0020);            // plain copy
    w.le32(wd), w.le32(ht);        // destination size
    write_dib_header(w, buffer, static_cast<uint32_t>(image));
    write_bgr_rows_bottom_up(w, buffer, dib_row_bytes(buffer.width(), 24));

    w.le32(14);
    w.le32(kEnd);
    w.le32(0);
    w.le32(16);
    w.le32(kEnd);
}

void write_wmf(const PictureBuffer& buffer, ByteWriter& w) {
    if (buffer.width() > 0x7FFF || buffer.height() > 0x7FFF) throw ImagingFailure(ImagingFault::too_large);
    const uint16_t wd = static_cast<uint16_t>(buffer.width()), ht = static_cast<uint16_t>(buffer.height());
    const uint64_t image = dib_row_bytes(buffer.width(), 24) * static_cast<uint64_t>(buffer.height());
    const uint64_t dib_words = (6 + 22 + 40 + image) / 2;  // the record is whole words: rows are padded to four
    const uint64_t total_words = 9 + 5 + 5 + 4 + dib_words + 3;
    if (total_words > UINT32_MAX) throw ImagingFailure(ImagingFault::too_large);

    // Placeable header: the picture's box in units of 1/96 inch.
    const uint16_t placeable[10] = {0xCDD7, 0x9AC6, 0, 0, 0, wd, ht, 96, 0, 0};
    uint16_t checksum = 0;
    for (uint16_t v : placeable) {
        w.le16(v);
        checksum ^= v;
    }
    w.le16(checksum);

    w.le16(1);
    w.le16(9);
    w.le16(0x0300);
    w.le32(static_cast<uint32_t>(total_words));
    w.le16(0);
    w.le32(static_cast<uint32_t>(dib_words));
    w.le16(0);

    w.le32(5), w.le16(0x020B), w.le16(0), w.le16(0);    // window origin
    w.le32(5), w.le16(0x020C), w.le16(ht), w.le16(wd);  // window extent
    w.le32(4), w.le16(0x0107), w.le16(3);               // stretch mode: colour on colour

    w.le32(static_cast<uint32_t>(dib_words));
    w.le16(0x0F43);
    w.le32(0x00CC0020);
    w.le16(0);  // colours are RGB values
    w.le16(ht), w.le16(wd), w.le16(0), w.le16(0);  // source
    w.le16(ht), w.le16(wd), w.le16(0), w.le16(0);  // destination
    write_dib_header(w, buffer, static_cast<uint32_t>(image));
    write_bgr_rows_bottom_up(w, buffer, dib_row_bytes(buffer.width(), 24));

    w.le32(3);
    w.le16(0);
}

}  // namespace

void metafile_read_dims(FILE* in, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const MetafileScan scan = scan_metafile(r);
    if (holds_one_bitmap(scan)) {
        embedded_bitmap_size(r, *scan.bitmap, width, height);
        return;
    }
    require(scan.kind == MetafileKind::wmf);
    wmf_render_size(whole_file(r), width, height);
}

PictureBuffer metafile_read(FILE* in) {
    ByteReader r(in);
    const MetafileScan scan = scan_metafile(r);
    if (holds_one_bitmap(scan)) return decode_embedded_bitmap(r, *scan.bitmap);
    // An EMF drawing is more than a bitmap: not something we can show.
    require(scan.kind == MetafileKind::wmf);
    return wmf_render(whole_file(r));
}

void metafile_write(const PictureBuffer& buffer, FILE* out, MetafileFormat format) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    ByteWriter w(out);
    if (format == MetafileFormat::wmf)
        write_wmf(buffer, w);
    else
        write_emf(buffer, w);
    w.finish();
}

}  // namespace galvora
