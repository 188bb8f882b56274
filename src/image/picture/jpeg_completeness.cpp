#include "image/picture/jpeg_completeness.h"

#include "foundation/bounded_read.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace galvora {

namespace {

constexpr int kMarker = 0xFF;
constexpr int kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kTem = 0x01;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads the file in large blocks: a file with bytes after its end marker is
// walked to its end, and a camera file holds megabytes of compressed data.
class Reader {
public:
    explicit Reader(std::FILE* f) : f_(f), buffer_(new uint8_t[kBlock]) {}

    int get() {
        if (at_ == end_ && !fill()) return EOF;
        return buffer_[at_++];
    }

    // Skips n bytes; past the end the next read gives EOF.
    bool skip(long n) {
        const auto held = static_cast<long>(end_ - at_);
        if (n <= held) {
            at_ += static_cast<size_t>(n);
            return true;
        }
        at_ = end_ = 0;
        return std::fseek(f_, n - held, SEEK_CUR) == 0;
    }

    // Moves to the next 0xFF byte (left unread); false at the end.
    bool to_marker_byte() {
        for (;;) {
            if (const void* found = std::memchr(buffer_.get() + at_, kMarker, end_ - at_)) {
                at_ = static_cast<size_t>(static_cast<const uint8_t*>(found) - buffer_.get());
                return true;
            }
            if (!fill()) return false;
        }
    }

private:
    static constexpr size_t kBlock = 64 * 1024;

    bool fill() {
        at_ = 0;
        end_ = std::fread(buffer_.get(), 1, kBlock, f_);
        return end_ > 0;
    }

    std::FILE* f_;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t at_ = 0, end_ = 0;
};

// The code of the next marker: fill bytes 0xFF before it are skipped.
int next_marker(Reader& r) {
    int c = r.get();
    if (c != kMarker) return EOF;
    while ((c = r.get()) == kMarker) {
    }
    return c;
}

// Skips a marker segment whose two length bytes come next.
bool skip_segment(Reader& r) {
    const int high = r.get(), low = r.get();
    if (high == EOF || low == EOF) return false;
    const long length = (high << 8) | low;
    return length >= 2 && r.skip(length - 2);
}

// Reads compressed data up to the next marker that is neither a stuffed
// 0xFF 0x00 nor a restart marker, and returns its code (EOF at the end).
int marker_after_scan(Reader& r) {
    for (;;) {
        if (!r.to_marker_byte()) return EOF;
        int c;
        do {
            c = r.get();
        } while (c == kMarker);
        if (c == EOF) return EOF;
        if (c != 0x00 && !(c >= 0xD0 && c <= 0xD7)) return c;
    }
}

// Walks the file from its start: segments by their length, the compressed
// data after each scan up to its next marker, until the end marker.
bool walk_to_end_marker(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_SET) != 0) return false;
    Reader r(f);
    if (next_marker(r) != kSoi) return false;
    int marker = next_marker(r);
    while (marker != EOF) {
        if (marker == kEoi) return true;
        if (marker == kTem || (marker >= 0xD0 && marker <= 0xD7)) {
            marker = next_marker(r);
            continue;
        }
        if (!skip_segment(r)) return false;
        marker = marker == kSos ? marker_after_scan(r) : next_marker(r);
    }
    return false;
}

}  // namespace

bool jpeg_vollstaendig(const std::string& path) {
    std::error_code ec;
    File f(open_regular_file(path, ec));
    if (!f) return false;
    // Nearly every camera file ends with the marker itself.
    if (std::fseek(f.get(), -2, SEEK_END) == 0) {
        const int a = std::getc(f.get()), b = std::getc(f.get());
        if (a == kMarker && b == kEoi) return true;
    }
    return walk_to_end_marker(f.get());
}

}  // namespace galvora
