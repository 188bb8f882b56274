#pragma once
// Turns fuzzer input into marker segments: a whole JPEG file (starting with
// FF D8) is split at its markers, anything else is taken as one payload.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace galvora::fuzz {

inline std::vector<std::pair<std::uint8_t, std::string>> markers_of(const std::uint8_t* data, std::size_t size,
                                                                    std::uint8_t default_code) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::pair<std::uint8_t, std::string>> markers;
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) {
        markers.emplace_back(default_code, std::move(bytes));
        return markers;
    }
    std::size_t p = 2;
    while (p + 4 <= size && data[p] == 0xFF && data[p + 1] != 0xDA && data[p + 1] != 0xD9) {
        const std::size_t length = (static_cast<std::size_t>(data[p + 2]) << 8) | data[p + 3];
        if (length < 2) break;
        const std::size_t end = p + 2 + length < size ? p + 2 + length : size;
        markers.emplace_back(data[p + 1], bytes.substr(p + 4, end - (p + 4)));
        p = end;
    }
    return markers;
}

}  // namespace galvora::fuzz
