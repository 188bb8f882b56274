#include "image/file_source.h"

#include <sys/stat.h>

#include "foundation/bounded_read.h"

namespace galvora {

FileSource::FileSource(const std::string& path) : path_(path) {
    // Only regular files are pictures; a folder, a device or a FIFO is
    // refused on the descriptor, before anything could block.
    std::error_code ec;
    file_ = open_regular_file(path, ec);
    if (!file_) return;
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0) {
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
