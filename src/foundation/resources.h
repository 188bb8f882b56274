#pragma once
// The in-memory form of a language file: sections of "key = value" entries.
// Section names and entry keys compare without regard to letter case, and the
// first definition of a key always wins.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace galvora {

struct CResource {
    std::string key;
    std::string value;
};

class CResourceSection {
public:
    explicit CResourceSection(std::string key) : key_(std::move(key)) {}

    // Note the order: text first, key second. An existing key is left alone.
    CResource& add(std::string_view text, std::string_view key);
    CResource* item(std::string_view key);
    const CResource* item(std::string_view key) const;
    void remove(std::string_view key);
    long count() const { return static_cast<long>(entries_.size()); }

    const std::string& key() const { return key_; }
    void key(std::string name) { key_ = std::move(name); }
    bool init() const { return init_; }
    void init(bool value) { init_ = value; }

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::string key_;
    bool init_ = false;
    std::vector<std::unique_ptr<CResource>> entries_;
    std::unordered_map<std::string, CResource*> index_;
};

class CResources {
public:
    // Reads a language file into this object. Throws GalvoraError: the open
    // error, 1001 "Section missing", 1002 "Value missing" or a read error.
    // An empty file name does nothing.
    void ReadFile(const std::string& filename);

    CResourceSection& add(std::string_view name);
    CResourceSection* item(std::string_view name);
    const CResourceSection* item(std::string_view name) const;
    long count() const { return static_cast<long>(sections_.size()); }

    auto begin() const { return sections_.begin(); }
    auto end() const { return sections_.end(); }

private:
    std::vector<std::unique_ptr<CResourceSection>> sections_;
    std::unordered_map<std::string, CResourceSection*> index_;
};

}  // namespace galvora
