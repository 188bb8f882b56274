#include "image/metadata/iptc_reader.h"

#include <cstdint>
#include <string>

#include "foundation/text_codec.h"
#include "image/metadata/metadata_text.h"
#include "image/metadata/picture_metadata.h"

namespace galvora {

namespace {

constexpr std::string_view kIptcResource{"8BIM\x04\x04", 6};

std::uint64_t big_endian_number(std::string_view bytes) {
    std::uint64_t v = 0;
    for (unsigned char c : bytes) v = (v << 8) | c;
    return v;
}

}  // namespace

IptcParseResult ParseIptcApp13(PictureMetadata& picture, std::string_view segment) {
    if (!metadata_text::icontains(segment, "Photoshop 3.0")) return IptcParseResult::no_iptc;
    const std::uint64_t size = segment.size();
    bool damaged = false;
    std::size_t from = 0;
    while (true) {
        const std::size_t res = segment.find(kIptcResource, from);
        if (res == std::string_view::npos) break;
        // The name field (length byte and name) is padded to an even length.
        std::uint64_t name_field = 0;
        if (res + 6 < size) name_field = (static_cast<unsigned char>(segment[res + 6]) + 2u) & ~std::uint64_t{1};
        const std::uint64_t size_pos = res + 6 + name_field;
        if (name_field == 0 || size_pos + 4 > size) {
            damaged = true;
            break;
        }
        // The whole 32-bit size counts: blocks of 32 KB and more are common.
        const std::uint64_t data = size_pos + 4;
        std::uint64_t end = data + big_endian_number(segment.substr(size_pos, 4));
        if (end > size) {
            damaged = true;
            end = size;
        }
        std::uint64_t q = data;
        while (q < end) {
            if (q + 5 > size) {
                damaged = true;
                q = size;
                break;
            }
            if (static_cast<unsigned char>(segment[q]) != 0x1C || segment[q + 1] != 2) {
                return damaged ? IptcParseResult::damaged : IptcParseResult::read;
            }
            const int number = static_cast<unsigned char>(segment[q + 2]);
            std::uint64_t length = big_endian_number(segment.substr(q + 3, 2));
            std::uint64_t header = 5;
            if (length & 0x8000) {
                // Extended dataset: the low 15 bits give the size of the length field.
                const std::uint64_t field = length & 0x7FFF;
                if (field > 8 || q + 5 + field > size) {
                    damaged = true;
                    q = size;
                    break;
                }
                length = big_endian_number(segment.substr(q + 5, field));
                header += field;
            }
            const std::uint64_t value = q + header;
            std::uint64_t available = length;
            if (value + length > size || value + length < value) {
                damaged = true;
                available = size - value;
            }
            if (number != 0)
                picture.IptcAdd(number, decode_text(segment.substr(value, available)));
            q = value + available;
        }
        from = q;
        if (from >= size) break;
    }
    return damaged ? IptcParseResult::damaged : IptcParseResult::read;
}

}  // namespace galvora
