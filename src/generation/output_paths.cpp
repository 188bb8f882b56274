#include "generation/output_paths.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace galvora {

namespace fs = std::filesystem;

bool unterordner_gueltig(const std::string& root, const std::string& name) {
    (void)root;
    if (name.empty()) return false;
    const fs::path rel = fs::path(name).lexically_normal();
    if (rel.is_absolute() || rel.has_root_path()) return false;
    const std::string first = rel.begin() == rel.end() ? std::string() : rel.begin()->string();
    return !(rel.empty() || first == ".." || rel == ".");
}

bool ordner_enthaelt(const std::string& outer, const std::string& inner) {
    std::error_code ec;
    fs::path a = fs::weakly_canonical(fs::path(outer), ec);
    if (ec) a = fs::path(outer).lexically_normal();
    fs::path b = fs::weakly_canonical(fs::path(inner), ec);
    if (ec) b = fs::path(inner).lexically_normal();
    // Compare whole parts, so /pics does not count as containing /pictures.
    auto ai = a.begin();
    auto bi = b.begin();
    for (; ai != a.end(); ++ai, ++bi) {
        if (ai->empty()) continue;  // a trailing separator
        if (bi == b.end() || *ai != *bi) return false;
    }
    return true;
}

std::string seitenname_passend(const std::string& name, const std::string& endung) {
    constexpr size_t kMaxName = 255;
    constexpr size_t kHash = 9;  // "~" and eight hex digits
    if (name.size() + endung.size() <= kMaxName || endung.size() + kHash >= kMaxName) return name;
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 16777619u;
    }
    size_t keep = kMaxName - endung.size() - kHash;
    // Never cut inside a character.
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    char tail[kHash + 1];
    std::snprintf(tail, sizeof tail, "~%08x", hash);
    return name.substr(0, keep) + tail;
}

LinkPraefixe link_praefixe(int level) {
    switch (level) {
        case 0: return {"../", "../", ""};
        case 1: return {"../", "../../", "../"};
        case 2: return {"../../", "../../../", "../"};
        default: return {};
    }
}

}  // namespace galvora
