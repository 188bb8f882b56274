#include "image/owncodecs/dib_encoder.h"

#include <vector>

namespace galvora {

void write_dib_header(ByteWriter& out, const PictureBuffer& buffer, uint32_t image_bytes) {
    out.le32(40);
    out.le32(static_cast<uint32_t>(buffer.width()));
    out.le32(static_cast<uint32_t>(buffer.height()));  // positive: bottom row first
    out.le16(1);
    out.le16(24);
    out.le32(0);
    out.le32(image_bytes);
    out.le32(3780);  // 96 dots per inch, in dots per metre
    out.le32(3780);
    out.le32(0);
    out.le32(0);
}

void write_bgr_rows_bottom_up(ByteWriter& out, const PictureBuffer& buffer, uint64_t row_bytes) {
    std::vector<uint8_t> row(static_cast<size_t>(row_bytes), 0);
    for (int32_t y = buffer.height() - 1; y >= 0; --y) {
        const uint8_t* src = buffer.row(y);
        for (int32_t x = 0; x < buffer.width(); ++x) {
            row[x * 3] = src[x * 3 + 2];
            row[x * 3 + 1] = src[x * 3 + 1];
            row[x * 3 + 2] = src[x * 3];
        }
        out.bytes(row.data(), row.size());
    }
}

}  // namespace galvora
