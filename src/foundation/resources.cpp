#include "foundation/resources.h"

#include <algorithm>
#include <system_error>

#include "foundation/error.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"

namespace galvora {

namespace {

// Both collections keep their members in order of creation and find them by
// the lower-case form of their name.
template <class T>
using KeyIndex = std::unordered_map<std::string, T*>;

template <class T>
T* find_by_key(const KeyIndex<T>& index, std::string_view key) {
    auto found = index.find(utf8_to_lower(key));
    return found == index.end() ? nullptr : found->second;
}

template <class T, class Make>
T& add_by_key(std::vector<std::unique_ptr<T>>& list, KeyIndex<T>& index, std::string_view key, Make make) {
    std::string folded = utf8_to_lower(key);
    auto found = index.find(folded);
    if (found != index.end()) return *found->second;
    list.push_back(make());
    T* raw = list.back().get();
    index.emplace(std::move(folded), raw);
    return *raw;
}

}  // namespace

CResource& CResourceSection::add(std::string_view text, std::string_view key) {
    return add_by_key(entries_, index_, key,
                      [&] { return std::make_unique<CResource>(CResource{std::string(key), std::string(text)}); });
}

CResource* CResourceSection::item(std::string_view key) { return find_by_key(index_, key); }

const CResource* CResourceSection::item(std::string_view key) const { return find_by_key(index_, key); }

void CResourceSection::remove(std::string_view key) {
    auto found = index_.find(utf8_to_lower(key));
    if (found == index_.end()) return;
    CResource* raw = found->second;
    index_.erase(found);
    entries_.erase(std::find_if(entries_.begin(), entries_.end(),
                                [raw](const auto& e) { return e.get() == raw; }));
}

CResourceSection& CResources::add(std::string_view name) {
    return add_by_key(sections_, index_, name,
                      [&] { return std::make_unique<CResourceSection>(std::string(name)); });
}

CResourceSection* CResources::item(std::string_view name) { return find_by_key(index_, name); }

const CResourceSection* CResources::item(std::string_view name) const { return find_by_key(index_, name); }

void CResources::ReadFile(const std::string& filename) {
    if (filename.empty()) return;

    std::error_code ec;
    auto bytes = read_file_bytes(filename, ec);
    if (!bytes) {
        const char* source = ec == std::errc::io_error ? "ResourceReadFileReadError" : "ResourceReadFileOpenError";
        throw GalvoraError(ec.value(), source, ec.message());
    }

    // The current section never carries over from an earlier call.
    CResourceSection* current = nullptr;
    for (const std::string& raw : split_lines(decode_text(*bytes))) {
        std::string_view line = trim_blanks(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &add(trim_blanks(line.substr(1, line.size() - 2)));
            continue;
        }
        if (current == nullptr) throw GalvoraError(1001, "ResourceReadFileReadError", "Section missing");
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) throw GalvoraError(1002, "ResourceReadFileReadError", "Value missing");
        std::string_view key = trim_blanks(line.substr(0, eq));
        std::string_view value = trim_blanks(line.substr(eq + 1));
        if (!key.empty() && !value.empty()) current->add(value, key);
    }
}

}  // namespace galvora
