#include "image/owncodecs/byte_reader.h"

#include <cstring>

#include "image/imaging_error.h"

namespace galvora {

namespace {
constexpr size_t kBlock = 64 * 1024;
}

void require(bool condition) {
    if (!condition) throw ImagingFailure(ImagingFault::bad_data);
}

ByteReader::ByteReader(FILE* in) : file_(in), buf_(kBlock) {
    if (!in || std::fseek(in, 0, SEEK_END) != 0) throw ImagingFailure(ImagingFault::cannot_open);
    const long end = std::ftell(in);
    if (end < 0 || std::fseek(in, 0, SEEK_SET) != 0) throw ImagingFailure(ImagingFault::cannot_open);
    size_ = static_cast<uint64_t>(end);
}

void ByteReader::seek(uint64_t offset) {
    require(offset <= size_);
    pos_ = offset;
}

void ByteReader::skip(uint64_t count) {
    require(count <= remaining());
    pos_ += count;
}

bool ByteReader::refill() {
    if (pos_ >= size_) return false;
    if (std::fseek(file_, static_cast<long>(pos_), SEEK_SET) != 0) return false;
    buf_start_ = pos_;
    buf_len_ = std::fread(buf_.data(), 1, buf_.size(), file_);
    return buf_len_ > 0;
}

void ByteReader::read(void* dest, size_t count) {
    require(count <= remaining());
    auto* out = static_cast<uint8_t*>(dest);
    while (count > 0) {
        if (pos_ < buf_start_ || pos_ >= buf_start_ + buf_len_) {
            // The file shrank under us, or a read error: treat as truncated.
            require(refill());
        }
        const size_t offset = static_cast<size_t>(pos_ - buf_start_);
        const size_t n = std::min(count, buf_len_ - offset);
        std::memcpy(out, buf_.data() + offset, n);
        out += n;
        pos_ += n;
        count -= n;
    }
}

uint8_t ByteReader::u8() {
    if (pos_ >= buf_start_ && pos_ < buf_start_ + buf_len_) return buf_[static_cast<size_t>(pos_++ - buf_start_)];
    uint8_t b = 0;
    read(&b, 1);
    return b;
}

uint16_t ByteReader::le16() {
    uint8_t b[2];
    read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t ByteReader::le32() {
    uint8_t b[4];
    read(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}

uint16_t ByteReader::be16() {
    uint8_t b[2];
    read(b, 2);
    return static_cast<uint16_t>((b[0] << 8) | b[1]);
}

uint32_t ByteReader::be32() {
    uint8_t b[4];
    read(b, 4);
    return (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
           (static_cast<uint32_t>(b[2]) << 8) | static_cast<uint32_t>(b[3]);
}

}  // namespace galvora
