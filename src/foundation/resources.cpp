#include "foundation/resources.h"

#include <algorithm>
#include <system_error>

#include "foundation/error.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"

namespace galvora {

CResource& CResourceSection::add(std::string_view text, std::string_view key) {
    std::string folded = utf8_to_lower(key);
    auto found = index_.find(folded);
    if (found != index_.end()) return *found->second;
    auto entry = std::make_unique<CResource>(CResource{std::string(key), std::string(text)});
    CResource* raw = entry.get();
    entries_.push_back(std::move(entry));
    index_.emplace(std::move(folded), raw);
    return *raw;
}

CResource* CResourceSection::item(std::string_view key) {
    auto found = index_.find(utf8_to_lower(key));
    return found == index_.end() ? nullptr : found->second;
}

const CResource* CResourceSection::item(std::string_view key) const {
    auto found = index_.find(utf8_to_lower(key));
    return found == index_.end() ? nullptr : found->second;
}

void CResourceSection::remove(std::string_view key) {
    auto found = index_.find(utf8_to_lower(key));
    if (found == index_.end()) return;
    CResource* raw = found->second;
    index_.erase(found);
    entries_.erase(std::find_if(entries_.begin(), entries_.end(),
                                [raw](const auto& e) { return e.get() == raw; }));
}

CResourceSection& CResources::add(std::string_view name) {
    std::string folded = utf8_to_lower(name);
    auto found = index_.find(folded);
    if (found != index_.end()) return *found->second;
    auto section = std::make_unique<CResourceSection>(std::string(name));
    CResourceSection* raw = section.get();
    sections_.push_back(std::move(section));
    index_.emplace(std::move(folded), raw);
    return *raw;
}

CResourceSection* CResources::item(std::string_view name) {
    auto found = index_.find(utf8_to_lower(name));
    return found == index_.end() ? nullptr : found->second;
}

const CResourceSection* CResources::item(std::string_view name) const {
    auto found = index_.find(utf8_to_lower(name));
    return found == index_.end() ? nullptr : found->second;
}

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
