#include "image/owncodecs/byte_writer.h"

#include "image/imaging_error.h"

namespace galvora {

void ByteWriter::bytes(const void* data, size_t count) {
    if (count == 0 || failed_) return;
    if (!out_ || std::fwrite(data, 1, count, out_) != count) {
        failed_ = true;
        return;
    }
    written_ += count;
}

void ByteWriter::le16(uint16_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    bytes(b, 2);
}

void ByteWriter::le32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    bytes(b, 4);
}

void ByteWriter::be16(uint16_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    bytes(b, 2);
}

void ByteWriter::be32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v)};
    bytes(b, 4);
}

void ByteWriter::zeros(size_t count) {
    static const uint8_t zero[256] = {};
    while (count > 0) {
        const size_t n = count < sizeof zero ? count : sizeof zero;
        bytes(zero, n);
        count -= n;
    }
}

void ByteWriter::finish() {
    if (!failed_ && out_ && std::fflush(out_) != 0) failed_ = true;
    if (failed_ || !out_ || std::ferror(out_)) throw ImagingFailure(ImagingFault::write_failed);
}

}  // namespace galvora
