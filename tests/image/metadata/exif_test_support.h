#pragma once
// Test helpers: build TIFF/EXIF structures in either byte order, wrap them
// into APP1 and APP13 payloads, and split JPEG files into captured markers.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image/captured_metadata.h"
#include <atomic>
#include <bit>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace galvora::testing {

std::string enc16(std::uint32_t v, bool big);
std::string enc32(std::uint32_t v, bool big);

// One directory entry; `data` holds the encoded values (any length).
struct Entry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::string data;
    int pointer_to = -1;  // LONG entry whose value becomes the offset of that directory
    // Raw value field, used instead of data/pointer when set (for hostile entries).
    bool raw_field = false;
    std::uint32_t field = 0;
};

Entry shorts(std::uint16_t tag, const std::vector<std::uint32_t>& values, bool big);
Entry longs(std::uint16_t tag, const std::vector<std::uint32_t>& values, bool big);
Entry slongs(std::uint16_t tag, const std::vector<std::int32_t>& values, bool big);
Entry rationals(std::uint16_t tag, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& values, bool big);
Entry srationals(std::uint16_t tag, const std::vector<std::pair<std::int32_t, std::int32_t>>& values, bool big);
Entry text(std::uint16_t tag, const std::string& value);  // count includes the closing zero
Entry bytes(std::uint16_t tag, std::uint16_t type, const std::string& value);
Entry floats(std::uint16_t tag, const std::vector<float>& values, bool big);
Entry doubles(std::uint16_t tag, const std::vector<double>& values, bool big);
Entry raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field);

// Encodes one directory placed at `offset` (counted from the base its
// offsets refer to), with its out-of-line values right after it.
std::string encode_directory(const std::vector<Entry>& entries, bool big, std::uint32_t offset,
                             std::uint32_t next, const std::map<int, std::uint32_t>& directory_offsets = {});

// A TIFF structure of several directories: directory 0 is IFD0.
class TiffBuilder {
public:
    explicit TiffBuilder(bool big) : big_(big) {}
    int add_directory();
    std::vector<Entry>& dir(int index) { return dirs_[static_cast<std::size_t>(index)].entries; }
    void add(int index, Entry e) { dir(index).push_back(std::move(e)); }
    void pointer(int index, std::uint16_t tag, int target);
    void next(int index, int target) { dirs_[static_cast<std::size_t>(index)].next = target; }
    // A maker note (type 7) whose bytes are made once its offset from the TIFF header is known.
    void makernote(int index, std::size_t size, std::function<std::string(std::uint32_t offset)> make);
    bool big() const { return big_; }

    std::string tiff() const;
    std::string app1_payload() const { return std::string("Exif\0\0", 6) + tiff(); }

private:
    struct Dir {
        std::vector<Entry> entries;
        int next = -1;
    };
    bool big_;
    std::vector<Dir> dirs_;
    struct Note {
        int dir;
        std::size_t size;
        std::function<std::string(std::uint32_t)> make;
    };
    std::vector<Note> notes_;
};

// One IPTC dataset of record 2 (standard 2-byte length).
std::string iptc_dataset(int number, const std::string& value);
// An APP13 payload "Photoshop 3.0\0" + resources; each resource is (id, name, data).
struct Resource {
    std::uint16_t id;
    std::string name;
    std::string data;
};
std::string photoshop_payload(const std::vector<Resource>& resources);

// Splits a JPEG file into its APPn and COM markers up to the first scan (or the end).
CapturedMetadata jpeg_markers(const std::string& file_bytes);
std::string read_file(const std::filesystem::path& path);

// A folder below the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// ---- definitions ----


inline std::string enc16(std::uint32_t v, bool big) {
    std::string s(2, '\0');
    s[big ? 0 : 1] = static_cast<char>((v >> 8) & 0xFF);
    s[big ? 1 : 0] = static_cast<char>(v & 0xFF);
    return s;
}

inline std::string enc32(std::uint32_t v, bool big) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) {
        char b = static_cast<char>((v >> (8 * (3 - i))) & 0xFF);
        s[big ? i : 3 - i] = b;
    }
    return s;
}

inline Entry shorts(std::uint16_t tag, const std::vector<std::uint32_t>& values, bool big) {
    Entry e{tag, 3, static_cast<std::uint32_t>(values.size()), {}};
    for (auto v : values) e.data += enc16(v, big);
    return e;
}

inline Entry longs(std::uint16_t tag, const std::vector<std::uint32_t>& values, bool big) {
    Entry e{tag, 4, static_cast<std::uint32_t>(values.size()), {}};
    for (auto v : values) e.data += enc32(v, big);
    return e;
}

inline Entry slongs(std::uint16_t tag, const std::vector<std::int32_t>& values, bool big) {
    Entry e{tag, 9, static_cast<std::uint32_t>(values.size()), {}};
    for (auto v : values) e.data += enc32(static_cast<std::uint32_t>(v), big);
    return e;
}

inline Entry rationals(std::uint16_t tag, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& values, bool big) {
    Entry e{tag, 5, static_cast<std::uint32_t>(values.size()), {}};
    for (auto [n, d] : values) e.data += enc32(n, big) + enc32(d, big);
    return e;
}

inline Entry srationals(std::uint16_t tag, const std::vector<std::pair<std::int32_t, std::int32_t>>& values, bool big) {
    Entry e{tag, 10, static_cast<std::uint32_t>(values.size()), {}};
    for (auto [n, d] : values)
        e.data += enc32(static_cast<std::uint32_t>(n), big) + enc32(static_cast<std::uint32_t>(d), big);
    return e;
}

inline Entry text(std::uint16_t tag, const std::string& value) {
    return Entry{tag, 2, static_cast<std::uint32_t>(value.size() + 1), value + std::string(1, '\0')};
}

inline Entry bytes(std::uint16_t tag, std::uint16_t type, const std::string& value) {
    return Entry{tag, type, static_cast<std::uint32_t>(value.size()), value};
}

inline Entry floats(std::uint16_t tag, const std::vector<float>& values, bool big) {
    Entry e{tag, 11, static_cast<std::uint32_t>(values.size()), {}};
    for (float v : values) e.data += enc32(std::bit_cast<std::uint32_t>(v), big);
    return e;
}

inline Entry doubles(std::uint16_t tag, const std::vector<double>& values, bool big) {
    Entry e{tag, 12, static_cast<std::uint32_t>(values.size()), {}};
    for (double v : values) {
        auto bits = std::bit_cast<std::uint64_t>(v);
        std::string hi = enc32(static_cast<std::uint32_t>(bits >> 32), big);
        std::string lo = enc32(static_cast<std::uint32_t>(bits & 0xFFFFFFFF), big);
        e.data += big ? hi + lo : lo + hi;
    }
    return e;
}

inline Entry raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field) {
    Entry e{tag, type, count, {}};
    e.raw_field = true;
    e.field = field;
    return e;
}

inline std::string encode_directory(const std::vector<Entry>& entries, bool big, std::uint32_t offset, std::uint32_t next,
                             const std::map<int, std::uint32_t>& directory_offsets) {
    std::string head = enc16(static_cast<std::uint32_t>(entries.size()), big);
    std::string extra;
    const std::uint32_t data_start = offset + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
    for (const Entry& e : entries) {
        head += enc16(e.tag, big) + enc16(e.type, big) + enc32(e.count, big);
        if (e.raw_field) {
            head += enc32(e.field, big);
        } else if (e.pointer_to >= 0) {
            head += enc32(directory_offsets.at(e.pointer_to), big);
        } else if (e.data.size() <= 4) {
            head += e.data + std::string(4 - e.data.size(), '\0');
        } else {
            head += enc32(data_start + static_cast<std::uint32_t>(extra.size()), big);
            extra += e.data;
            if (extra.size() % 2) extra.push_back('\0');
        }
    }
    head += enc32(next, big);
    return head + extra;
}

inline int TiffBuilder::add_directory() {
    dirs_.emplace_back();
    return static_cast<int>(dirs_.size()) - 1;
}

inline void TiffBuilder::pointer(int index, std::uint16_t tag, int target) {
    Entry e{tag, 4, 1, {}};
    e.pointer_to = target;
    dir(index).push_back(e);
}

inline void TiffBuilder::makernote(int index, std::size_t size, std::function<std::string(std::uint32_t)> make) {
    // A placeholder of the right size keeps the layout; the bytes are filled in tiff().
    dir(index).push_back(Entry{37500, 7, static_cast<std::uint32_t>(size), std::string(size, '\0')});
    notes_.push_back({index, size, std::move(make)});
}

inline std::string TiffBuilder::tiff() const {
    // Lay the directories out one after another behind the 8-byte header.
    auto sizes = [&](const std::map<int, std::uint32_t>& offsets, std::vector<std::string>& encoded,
                     const std::vector<Dir>& dirs) {
        std::map<int, std::uint32_t> out;
        std::uint32_t at = 8;
        encoded.clear();
        for (std::size_t i = 0; i < dirs.size(); ++i) {
            out[static_cast<int>(i)] = at;
            const auto& d = dirs[i];
            std::uint32_t next = d.next >= 0 && offsets.count(d.next) ? offsets.at(d.next) : 0;
            std::string bytes = encode_directory(d.entries, big_, at, next, offsets);
            encoded.push_back(bytes);
            at += static_cast<std::uint32_t>(bytes.size());
        }
        return out;
    };
    std::vector<Dir> dirs = dirs_;
    std::vector<std::string> encoded;
    std::map<int, std::uint32_t> placeholder;
    for (std::size_t i = 0; i < dirs.size(); ++i) placeholder[static_cast<int>(i)] = 0;
    auto offsets = sizes(placeholder, encoded, dirs);
    // Maker notes: find where each placeholder landed, then make its bytes.
    for (const Note& note : notes_) {
        const std::string& d = encoded[static_cast<std::size_t>(note.dir)];
        std::uint32_t n = dirs[static_cast<std::size_t>(note.dir)].entries.size();
        for (std::uint32_t k = 0; k < n; ++k) {
            Entry& e = dirs[static_cast<std::size_t>(note.dir)].entries[k];
            if (e.tag != 37500 || e.data.size() != note.size) continue;
            std::string field = d.substr(2 + 12 * k + 8, 4);
            std::uint32_t off = 0;
            for (int b = 0; b < 4; ++b)
                off |= static_cast<std::uint32_t>(static_cast<unsigned char>(field[big_ ? b : 3 - b])) << (8 * (3 - b));
            std::string made = note.make(off);
            made.resize(note.size, '\0');
            e.data = made;
        }
    }
    sizes(offsets, encoded, dirs);
    std::string out = big_ ? "MM" : "II";
    out += enc16(42, big_) + enc32(8, big_);
    for (const auto& e : encoded) out += e;
    return out;
}

inline std::string iptc_dataset(int number, const std::string& value) {
    std::string s = "\x1C\x02";
    s.push_back(static_cast<char>(number));
    s += enc16(static_cast<std::uint32_t>(value.size()), true);
    return s + value;
}

inline std::string photoshop_payload(const std::vector<Resource>& resources) {
    std::string s("Photoshop 3.0\0", 14);
    for (const Resource& r : resources) {
        s += "8BIM" + enc16(r.id, true);
        std::string name(1, static_cast<char>(r.name.size()));
        name += r.name;
        if (name.size() % 2) name.push_back('\0');
        s += name + enc32(static_cast<std::uint32_t>(r.data.size()), true) + r.data;
        if (r.data.size() % 2) s.push_back('\0');
    }
    return s;
}

inline CapturedMetadata jpeg_markers(const std::string& file) {
    CapturedMetadata captured;
    std::size_t p = 2;  // after SOI
    while (p + 4 <= file.size()) {
        if (static_cast<unsigned char>(file[p]) != 0xFF) break;
        const unsigned char code = static_cast<unsigned char>(file[p + 1]);
        if (code == 0xD9 || code == 0xDA) break;
        const std::size_t length =
            (static_cast<unsigned char>(file[p + 2]) << 8) | static_cast<unsigned char>(file[p + 3]);
        if (length < 2) break;
        const std::size_t end = std::min(file.size(), p + 2 + length);
        if ((code >= 0xE0 && code <= 0xEF) || code == 0xFE)
            captured.jpeg_markers.emplace_back(code, file.substr(p + 4, end - (p + 4)));
        p = end;
    }
    return captured;
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("galvora-meta-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(path_);
}

inline TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

// A JPEG's markers: the EXIF of `exif`, IPTC keywords "sea" and "beach" (dataset
// 25 twice) and the comment "Urlaub".
inline std::shared_ptr<CapturedMetadata> holiday_jpeg(const TiffBuilder& exif) {
    auto captured = std::make_shared<CapturedMetadata>();
    captured->jpeg_markers = {
        {0xE1, exif.app1_payload()},
        {0xED, photoshop_payload({{0x0404, "", iptc_dataset(25, "sea") + iptc_dataset(25, "beach")}})},
        {0xFE, "Urlaub"}};
    return captured;
}

}  // namespace galvora::testing
