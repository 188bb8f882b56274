#include "image/file_source.h"

#include <sys/stat.h>

namespace galvora {

FileSource::FileSource(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return;
    struct stat st {};
    // Only regular files are pictures; a folder or a device is refused here.
    if (fstat(fileno(file_), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

FileSource::~FileSource() {
    if (file_) std::fclose(file_);
}

bool FileSource::rewind() { return file_ && std::fseek(file_, 0, SEEK_SET) == 0; }

std::string FileSource::read_prefix(size_t max_bytes) {
    std::string out;
    if (!rewind()) return out;
    out.resize(max_bytes);
    const size_t got = std::fread(out.data(), 1, max_bytes, file_);
    out.resize(got);
    rewind();
    return out;
}

}  // namespace galvora
