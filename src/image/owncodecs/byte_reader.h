#pragma once
// Checked reading of a picture file for our own decoders. Every read either
// delivers exactly the bytes asked for or throws ImagingFailure(bad_data), so
// a truncated or lying file can never make a decoder read past its end. The
// reader keeps its own block buffer, which makes byte-wise work (run-length
// streams) cheap.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace galvora {

class ByteReader {
public:
    // Reads from the start of in; the file's size is taken once here.
    explicit ByteReader(FILE* in);
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    uint64_t size() const { return size_; }
    uint64_t tell() const { return pos_; }
    uint64_t remaining() const { return size_ - pos_; }

    // Moves to an absolute offset; beyond the end of the file is bad data.
    void seek(uint64_t offset);
    void skip(uint64_t count);

    void read(void* dest, size_t count);
    uint8_t u8();
    uint16_t le16();
    uint32_t le32();
    int32_t le32s() { return static_cast<int32_t>(le32()); }
    uint16_t be16();
    uint32_t be32();

private:
    bool refill();

    FILE* file_;
    uint64_t size_ = 0;
    uint64_t pos_ = 0;         // logical position in the file
    uint64_t buf_start_ = 0;   // file offset of buf_[0]
    size_t buf_len_ = 0;       // valid bytes in buf_
    std::vector<uint8_t> buf_;
};

// Throws ImagingFailure(bad_data) unless condition holds; keeps the many
// header checks of the decoders to one line each.
void require(bool condition);

}  // namespace galvora
