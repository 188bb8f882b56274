#include "generation/output_paths.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "generation/picture_scanner.h"
#include "generation/settings_access.h"

namespace galvora {

bool liegt_unter(const std::string& datei, const std::string& ordner) {
    namespace fs = std::filesystem;
    if (ordner.empty()) return false;
    std::error_code ec;
    const fs::path wurzel = fs::weakly_canonical(fs::path(ordner), ec);
    if (ec || wurzel.empty()) return false;
    const fs::path rel = fs::path(datei).lexically_relative(wurzel);
    return !rel.empty() && rel != "." && *rel.begin() != "..";
}

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

namespace {

// A folder strictly inside base: the only kind that can hide among the
// picture directories.
bool strictly_inside(const std::string& base, const std::string& folder) {
    return ordner_enthaelt(base, folder) && !ordner_enthaelt(folder, base);
}

std::vector<std::string> sub_folders(const std::string& folder) {
    std::vector<std::string> folders;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) folders.push_back(it->path().string());
    }
    return folders;
}

}  // namespace

Ausgabeordner::Ausgabeordner(const std::string& base, const std::string& root) {
    if (base.empty() || root.empty()) return;
    if (strictly_inside(base, root)) ordner_.push_back(root);
    for (int index : {kSetThumbDirname, kSetHtmlBase, kSetDecoPath}) {
        const std::string folder = root + "/" + setting_text(index);
        if (!unterordner_gueltig(root, setting_text(index)) || !strictly_inside(base, folder)) continue;
        ordner_.push_back(folder);
        if (index == kSetDecoPath) deko_ = folder;
    }
}

bool Ausgabeordner::enthaelt(const std::string& folder) const {
    for (const std::string& f : ordner_)
        if (ordner_enthaelt(f, folder)) return true;
    return false;
}

bool Ausgabeordner::in_dekoordner(const std::string& folder) const {
    return !deko_.empty() && ordner_enthaelt(deko_, folder);
}

bool haelt_bildordner(const std::string& folder, const std::string& base, const std::string& root, int level) {
    if (level < 1 || level > 2) return false;  // level 0: the base folder itself, tested by the caller
    const Ausgabeordner output(base, root);
    const std::vector<ExtensionEntry> patterns = musterliste_bilden();
    std::vector<std::string> candidates = sub_folders(base);
    if (level == 2) {
        std::vector<std::string> below;
        for (const std::string& group : candidates)
            for (std::string& sub : sub_folders(group)) below.push_back(std::move(sub));
        candidates = std::move(below);
    }
    for (const std::string& candidate : candidates) {
        if (!ordner_enthaelt(folder, candidate) || output.in_dekoordner(candidate)) continue;
        if (bilddateien_zaehlen(candidate, patterns, false) > 0) return true;
    }
    return false;
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
