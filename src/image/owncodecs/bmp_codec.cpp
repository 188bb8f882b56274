#include "image/owncodecs/bmp_codec.h"

#include "image/imaging_error.h"
#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/byte_writer.h"
#include "image/owncodecs/dib_decoder.h"
#include "image/owncodecs/dib_encoder.h"

namespace galvora {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;

struct BmpFile {
    DibInfo info;
    uint64_t bits_start = 0;
};

BmpFile read_headers(ByteReader& in) {
    require(in.size() >= kFileHeaderBytes + 12);
    require(in.u8() == 'B' && in.u8() == 'M');
    in.skip(8);  // file size and reserved words: often wrong, never needed
    const uint32_t offset = in.le32();
    BmpFile f;
    f.info = dib_read_info(in, in.size());
    // The offset of the pixel rows; writers that leave it 0 (or point it
    // into the headers) mean "right after the colour table".
    f.bits_start = offset >= in.tell() ? offset : in.tell();
    require(f.bits_start <= in.size());
    return f;
}

}  // namespace

void bmp_read_dims(FILE* in, int32_t& width, int32_t& height) {
    ByteReader r(in);
    const BmpFile f = read_headers(r);
    width = f.info.width;
    height = f.info.height;
}

PictureBuffer bmp_read(FILE* in) {
    ByteReader r(in);
    const BmpFile f = read_headers(r);
    return dib_decode_pixels(r, f.info, f.bits_start, r.size());
}

void bmp_write(const PictureBuffer& buffer, FILE* out) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    const uint64_t row_bytes = dib_row_bytes(buffer.width(), 24);
    const uint64_t image_bytes = row_bytes * static_cast<uint64_t>(buffer.height());
    const uint64_t file_bytes = kFileHeaderBytes + 40 + image_bytes;
    // The format's size fields are 32 bits wide.
    if (file_bytes > UINT32_MAX) throw ImagingFailure(ImagingFault::too_large);
    ByteWriter w(out);
    w.u8('B');
    w.u8('M');
    w.le32(static_cast<uint32_t>(file_bytes));
    w.le32(0);
    w.le32(kFileHeaderBytes + 40);
    write_dib_header(w, buffer, static_cast<uint32_t>(image_bytes));
    write_bgr_rows_bottom_up(w, buffer, row_bytes);
    w.finish();
}

}  // namespace galvora
