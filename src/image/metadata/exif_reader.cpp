#include "image/metadata/exif_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <set>
#include <vector>

#include "foundation/text_codec.h"
#include "image/metadata/metadata_definition.h"
#include "image/metadata/metadata_text.h"
#include "image/metadata/picture_metadata.h"

namespace galvora {

namespace {

using metadata_text::icontains;
using metadata_text::ifind;
using metadata_text::iequals;

constexpr std::int64_t kTiffHeader = 11;  // position of "II"/"MM"
constexpr std::uint16_t kTagMake = 271;
constexpr std::uint16_t kTagModel = 272;
constexpr std::uint16_t kTagCopyright = 33432;
constexpr std::uint16_t kTagExifIfd = 34665;
constexpr std::uint16_t kTagGpsIfd = 34853;
constexpr std::uint16_t kTagMakerNote = 37500;
constexpr std::uint16_t kTagInteropIfd = 40965;

// Bounds of the walk. Real segments nest three directories deep and hold a
// few hundred entries; hostile ones may point anywhere, so the work and the
// memory one segment can cost are capped.
constexpr int kMaxPointerDepth = 16;
constexpr std::int64_t kMaxEntries = 65536;
constexpr std::int64_t kMaxValueBytes = 1 << 20;

std::uint32_t read_bytes(std::string_view bytes, std::size_t n, bool big_endian) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t b = static_cast<unsigned char>(bytes[big_endian ? i : n - 1 - i]);
        v = (v << 8) | b;
    }
    return v;
}

std::size_t type_size(std::uint16_t type) {
    switch (type) {
        case 1: case 2: case 6: case 7: return 1;
        case 3: case 8: return 2;
        case 4: case 9: case 11: return 4;
        case 5: case 10: case 12: return 8;
        default: return 0;
    }
}

class ExifWalk {
public:
    ExifWalk(PictureMetadata& picture, std::string_view segment) : picture_(picture), buf_(segment) {}

    ExifParseResult run();

private:
    // The bytes at a 1-based position; empty when they do not all lie inside the buffer.
    std::string_view at(std::int64_t pos, std::int64_t n) const {
        if (pos < 1 || n < 0 || pos - 1 + n > static_cast<std::int64_t>(buf_.size())) return {};
        return buf_.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(n));
    }
    // The part of those bytes that lies inside the buffer.
    std::string_view inside(std::int64_t pos, std::int64_t n) const {
        const auto size = static_cast<std::int64_t>(buf_.size());
        if (pos < 1 || pos > size) return {};
        return buf_.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(std::min(n, size - pos + 1)));
    }
    std::uint16_t word(std::int64_t pos) const { return ExifGetWord(at(pos, 2), big_endian_); }
    std::uint32_t ulong(std::int64_t pos) const { return ExifGetLong(at(pos, 4), big_endian_); }

    void walk(std::int32_t section, std::int64_t p, std::int64_t base, int depth);
    // False when a byte value lies outside the buffer or the budget is spent.
    bool store_values(std::int32_t section, std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                      std::int64_t entry, std::int64_t v);
    void choose_makernote();

    PictureMetadata& picture_;
    std::string_view buf_;
    bool big_endian_ = false;
    std::string make_, model_;
    std::int64_t makernote_pos_ = 0;
    std::set<std::int64_t> walked_;
    std::int64_t entries_ = 0;
    std::int64_t value_bytes_ = 0;
    bool damaged_ = false;
};

ExifParseResult ExifWalk::run() {
    std::string_view order = at(kTiffHeader, 2);
    big_endian_ = iequals(order, "MM");
    if (word(kTiffHeader + 2) != 42) return ExifParseResult::not_exif;

    std::int64_t ifd0 = ulong(kTiffHeader + 4);
    make_.clear();
    model_.clear();
    makernote_pos_ = 0;
    picture_.camera_id = 0;
    picture_.camera_feq = 0;

    walk(kSectionMain, ifd0 + kTiffHeader, kTiffHeader, 0);
    if (makernote_pos_ > 0) choose_makernote();

    // A model without a known factor gets 0, so a page can tell "no
    // equivalent known" from a real factor; only a picture without EXIF keeps
    // the 1.0 of the reset.
    double factor = FocalEquivFactor(make_, model_);
    picture_.camera_feq = (factor > 0 && std::isfinite(factor)) ? factor : 0.0;
    return damaged_ ? ExifParseResult::damaged : ExifParseResult::read;
}

void ExifWalk::walk(std::int32_t section, std::int64_t p, std::int64_t base, int depth) {
    if (depth > kMaxPointerDepth) {
        damaged_ = true;
        return;
    }
    // Each pass of this loop is one directory; the next-directory link
    // continues with the thumbnail section.
    while (true) {
        if (!walked_.insert(p).second) {  // a directory met before: a loop
            damaged_ = true;
            return;
        }
        if (at(p, 2).empty()) {  // a directory beyond the end reads as empty
            damaged_ = true;
            return;
        }
        const std::int64_t n = word(p);
        for (std::int64_t i = 0; i < n; ++i) {
            const std::int64_t e = p + 2 + 12 * i;
            if (at(e, 12).empty() || ++entries_ > kMaxEntries) {
                damaged_ = true;
                return;
            }
            const std::uint16_t tag = word(e);
            const std::uint16_t type = word(e + 2);
            const std::uint32_t count = ulong(e + 4);
            const std::int64_t v = static_cast<std::int64_t>(ulong(e + 8)) + base;
            if (type < 1 || type > 12) {
                damaged_ = true;
                return;  // no further entries, no next-directory link
            }
            if (tag != kTagMakerNote && count != 0) {
                if (!store_values(section, tag, type, count, e, v)) {
                    damaged_ = true;
                    return;
                }
            }
            if (tag == kTagMakerNote || count == 0) {
                picture_.ExifAdd(section, tag, kExifTypText,
                                 {std::string("Offset:") + std::to_string(v) + " Bytes:" + std::to_string(count)})
                    ->big_endian = big_endian_;
                if (tag == kTagMakerNote) makernote_pos_ = v;
            }
            if (tag == kTagExifIfd || tag == kTagInteropIfd) walk(section, v, base, depth + 1);
            if (tag == kTagGpsIfd) walk(kSectionGps, v, base, depth + 1);
        }
        const std::uint32_t next = ulong(p + 2 + 12 * n);
        if (next == 0) return;
        section = kSectionThumbnail;
        p = static_cast<std::int64_t>(next) + base;
    }
}

bool ExifWalk::store_values(std::int32_t section, std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                            std::int64_t entry, std::int64_t v) {
    const std::size_t each = type_size(type);
    const std::uint64_t total = static_cast<std::uint64_t>(count) * each;
    if (total > 0xFFFFFFFFull) return false;  // the byte size overflows 32 bits
    const std::int64_t pos = total <= 4 ? entry + 8 : v;
    std::string_view data = at(pos, static_cast<std::int64_t>(total));
    if (data.size() != total) {
        // Values that run past the end of the segment: a byte value there
        // ends the directory; numbers there read as 0 and a text keeps what
        // lies inside, and the directory goes on with its next entry.
        damaged_ = true;
        if (type == 1 || type == 6 || type == 7) return false;
        data = inside(pos, static_cast<std::int64_t>(total));
    }
    // What such values would cost counts too, so a hostile count cannot make
    // a segment of 64 KB fill the memory with zeros.
    value_bytes_ += static_cast<std::int64_t>(total);
    if (value_bytes_ > kMaxValueBytes) return false;
    // Make and model steer the maker note and the focal-length factor, whatever
    // type their entry has: its bytes, cut at the first zero byte.
    if (tag == kTagMake) make_ = decode_text(metadata_text::until_nul(data));
    if (tag == kTagModel) model_ = decode_text(metadata_text::until_nul(data));

    std::vector<ExifValue> values;
    std::int32_t typ = kExifTypInteger;
    // The n bytes at offset `off` of value i; empty (read as 0) past the end.
    auto item = [&](std::size_t i, std::size_t off = 0, std::size_t n = 0) {
        return at(pos + static_cast<std::int64_t>(i * each + off), static_cast<std::int64_t>(n ? n : each));
    };
    switch (type) {
        case 1: case 6: case 7:
            values.reserve(count);
            for (unsigned char c : data) values.emplace_back(static_cast<std::int64_t>(c));
            break;
        case 2: {
            typ = kExifTypText;
            std::string_view text = tag == kTagCopyright ? data : metadata_text::until_nul(data);
            values.emplace_back(decode_text(text));
            break;
        }
        case 3: case 4: case 8: case 9:
            values.reserve(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                std::string_view b = item(i);
                std::int64_t x = 0;
                switch (type) {
                    case 3: x = ExifGetWord(b, big_endian_); break;
                    case 4: x = ExifGetLong(b, big_endian_); break;
                    case 8: x = ExifGetShort(b, big_endian_); break;
                    default: x = ExifGetSLong(b, big_endian_); break;
                }
                values.emplace_back(x);
            }
            break;
        case 5: case 10:
            typ = kExifTypText;
            values.reserve(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                std::string_view z = item(i, 0, 4), n = item(i, 4, 4);
                std::int64_t num = type == 5 ? std::int64_t{ExifGetLong(z, big_endian_)}
                                             : std::int64_t{ExifGetSLong(z, big_endian_)};
                std::int64_t den = type == 5 ? std::int64_t{ExifGetLong(n, big_endian_)}
                                             : std::int64_t{ExifGetSLong(n, big_endian_)};
                values.emplace_back(std::to_string(num) + "/" + std::to_string(den));
            }
            break;
        case 11:
            typ = kExifTypDouble;
            for (std::uint32_t i = 0; i < count; ++i)
                values.emplace_back(static_cast<double>(std::bit_cast<float>(ExifGetLong(item(i), big_endian_))));
            break;
        case 12:
            typ = kExifTypDouble;
            for (std::uint32_t i = 0; i < count; ++i) {
                std::uint64_t hi = ExifGetLong(item(i, big_endian_ ? 0 : 4, 4), big_endian_);
                std::uint64_t lo = ExifGetLong(item(i, big_endian_ ? 4 : 0, 4), big_endian_);
                values.emplace_back(std::bit_cast<double>((hi << 32) | lo));
            }
            break;
        default:
            return false;
    }
    picture_.ExifAdd(section, tag, typ, std::move(values))->big_endian = big_endian_;
    return true;
}

void ExifWalk::choose_makernote() {
    const std::int64_t m = makernote_pos_;
    auto found = [&](std::string_view word) {
        return m >= 1 && m - 1 <= static_cast<std::int64_t>(buf_.size()) &&
               ifind(buf_, word, static_cast<std::size_t>(m - 1)) != std::string_view::npos;
    };
    auto begins = [&](std::string_view word) {
        return iequals(at(m, static_cast<std::int64_t>(word.size())), word);
    };
    std::int32_t id = 0;
    std::int64_t start = 0, base = kTiffHeader;
    auto fuji = [&] {
        big_endian_ = false;
        id = 8;
        start = m + ulong(m + 8);
        base = m;
    };
    auto set = [&](std::int32_t code, std::int64_t dir, std::int64_t b) {
        id = code;
        start = dir;
        base = b;
    };
    const std::string& make = make_;
    if (icontains(make, "AGFA")) set(18, m + 8, kTiffHeader);
    else if (icontains(make, "ASAHI")) found("AOC") ? set(3, m + 6, kTiffHeader) : set(2, m, kTiffHeader);
    else if (icontains(make, "CANON")) set(4, m, kTiffHeader);
    else if (icontains(make, "CASIO")) found("QVC") ? set(6, m + 6, kTiffHeader) : set(5, m, m);
    else if (icontains(make, "EPSON")) set(18, m + 8, kTiffHeader);
    else if (icontains(make, "FUJIFILM")) fuji();
    else if (icontains(make, "JENOPTIK")) { if (begins("SKANH")) set(10, m + 8, kTiffHeader); }
    else if (icontains(make, "LEICA")) found("FUJIFILM") ? fuji() : set(14, m + 8, kTiffHeader);
    else if (icontains(make, "MINOLTA")) set(15, m, kTiffHeader);
    else if (icontains(make, "NIKON")) {
        if (!begins("NIKON")) set(17, m, kTiffHeader);
        else if (icontains(model_, "E70") || icontains(model_, "E80") || icontains(model_, "E90") ||
                 icontains(model_, "E91") || icontains(model_, "E95"))
            set(16, m + 8, kTiffHeader);
        else set(17, m + 18, m + 10);
    }
    else if (icontains(make, "OLYMPUS")) set(18, m + 8, kTiffHeader);
    else if (icontains(make, "PANASONIC")) set(19, m + 12, kTiffHeader);
    else if (icontains(make, "PENTAX")) { if (found("AOC")) set(3, m + 6, kTiffHeader); }
    else if (icontains(make, "RICOH")) { if (found("RICOH")) set(21, m + 8, kTiffHeader); }
    else if (icontains(make, "SANYO")) set(18, m + 8, kTiffHeader);
    else if (icontains(make, "SIGMA")) set(25, m + 10, kTiffHeader);

    picture_.camera_id = id;
    if (id != 0) walk(kSectionMakernote, start, base, 1);
}

}  // namespace

std::uint16_t ExifGetWord(std::string_view bytes, bool big_endian) {
    return bytes.size() < 2 ? 0 : static_cast<std::uint16_t>(read_bytes(bytes, 2, big_endian));
}

std::int16_t ExifGetShort(std::string_view bytes, bool big_endian) {
    return static_cast<std::int16_t>(ExifGetWord(bytes, big_endian));
}

std::uint32_t ExifGetLong(std::string_view bytes, bool big_endian) {
    return bytes.size() < 4 ? 0 : read_bytes(bytes, 4, big_endian);
}

std::int32_t ExifGetSLong(std::string_view bytes, bool big_endian) {
    return static_cast<std::int32_t>(ExifGetLong(bytes, big_endian));
}

ExifParseResult ParseExifApp1(PictureMetadata& picture, std::string_view segment) {
    return ExifWalk(picture, segment).run();
}

std::string marker_segment(std::uint8_t marker_code, std::string_view payload) {
    std::size_t length = payload.size() + 2;
    if (length > 0xFFFF) length = 0xFFFF;
    std::string seg;
    seg.reserve(payload.size() + 4);
    seg.push_back(static_cast<char>(0xFF));
    seg.push_back(static_cast<char>(marker_code));
    seg.push_back(static_cast<char>(length >> 8));
    seg.push_back(static_cast<char>(length & 0xFF));
    seg.append(payload);
    return seg;
}

}  // namespace galvora
