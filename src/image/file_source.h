#pragma once
// An opened picture file for the readers: a stdio stream with its size. The
// stream is closed when the source goes out of scope, on success and on
// failure alike.
#include <cstdint>
#include <cstdio>
#include <string>

namespace galvora {

class FileSource {
public:
    // Opens path for reading; is_open() tells whether that worked.
    explicit FileSource(const std::string& path);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool is_open() const { return file_ != nullptr; }
    FILE* file() { return file_; }
    uint64_t size() const { return size_; }
    const std::string& path() const { return path_; }

    // Back to the first byte (for a second pass over the file).
    bool rewind();
    // Up to max_bytes from the start of the file; the position is rewound afterwards.
    std::string read_prefix(size_t max_bytes);

private:
    std::string path_;
    FILE* file_ = nullptr;
    uint64_t size_ = 0;
};

}  // namespace galvora
