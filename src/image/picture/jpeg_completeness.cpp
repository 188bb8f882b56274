#include "image/picture/jpeg_completeness.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace galvora {

namespace {

constexpr int kMarker = 0xFF;
constexpr int kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kTem = 0x01;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The code of the next marker: fill bytes 0xFF before it are skipped.
int next_marker(std::FILE* f) {
    int c = std::getc(f);
    if (c != kMarker) return EOF;
    while ((c = std::getc(f)) == kMarker) {
    }
    return c;
}

// Skips a marker segment whose two length bytes come next.
bool skip_segment(std::FILE* f) {
    const int high = std::getc(f), low = std::getc(f);
    if (high == EOF || low == EOF) return false;
    const long length = (high << 8) | low;
    return length >= 2 && std::fseek(f, length - 2, SEEK_CUR) == 0;
}

// Reads compressed data up to the next marker that is neither a stuffed
// 0xFF 0x00 nor a restart marker, and returns its code (EOF at the end).
int marker_after_scan(std::FILE* f) {
    int c = std::getc(f);
    while (c != EOF) {
        if (c != kMarker) {
            c = std::getc(f);
            continue;
        }
        do {
            c = std::getc(f);
        } while (c == kMarker);
        if (c == EOF) return EOF;
        if (c != 0x00 && !(c >= 0xD0 && c <= 0xD7)) return c;
        c = std::getc(f);
    }
    return EOF;
}

// Walks the file from its start: segments by their length, the compressed
// data after each scan byte by byte, until the end marker.
bool walk_to_end_marker(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_SET) != 0 || next_marker(f) != kSoi) return false;
    int marker = next_marker(f);
    while (marker != EOF) {
        if (marker == kEoi) return true;
        if (marker == kTem || (marker >= 0xD0 && marker <= 0xD7)) {
            marker = next_marker(f);
            continue;
        }
        if (!skip_segment(f)) return false;
        marker = marker == kSos ? marker_after_scan(f) : next_marker(f);
    }
    return false;
}

}  // namespace

bool jpeg_vollstaendig(const std::string& path) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    // Nearly every camera file ends with the marker itself.
    if (std::fseek(f.get(), -2, SEEK_END) == 0) {
        const int a = std::getc(f.get()), b = std::getc(f.get());
        if (a == kMarker && b == kEoi) return true;
    }
    return walk_to_end_marker(f.get());
}

}  // namespace galvora
