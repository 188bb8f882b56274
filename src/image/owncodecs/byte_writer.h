#pragma once
// Writing a picture file for our own encoders: little- and big-endian
// integers and byte runs into a stdio stream. A failing stream is reported
// once, at finish(), as ImagingFailure(write_failed).
#include <cstdint>
#include <cstdio>
#include <string>

namespace galvora {

class ByteWriter {
public:
    explicit ByteWriter(FILE* out) : out_(out) {}

    void bytes(const void* data, size_t count);
    void u8(uint8_t v) { bytes(&v, 1); }
    void le16(uint16_t v);
    void le32(uint32_t v);
    void be16(uint16_t v);
    void be32(uint32_t v);
    void zeros(size_t count);
    // Bytes written so far.
    uint64_t written() const { return written_; }
    // Flushes; throws ImagingFailure(write_failed) if any write failed.
    void finish();

private:
    FILE* out_;
    uint64_t written_ = 0;
    bool failed_ = false;
};

}  // namespace galvora
