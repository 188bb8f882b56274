#include "foundation/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "foundation/log.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "platform/ini_store.h"
#include "platform/user_folders.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

enum class LoadResult { kLoaded, kMissing, kBroken };

// Tells the log about a broken store, once for each distinct problem.
void report(const std::string& text) {
    static std::string last_reported;
    if (text == last_reported) return;
    last_reported = text;
    log_line(text);
}

// Reads the store. A missing file is an empty store.
LoadResult load(IniStore& store, int& error_code) {
    error_code = 0;
    const fs::path file = registry_datei();
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        if (ec) {
            error_code = ec.value();
            return LoadResult::kBroken;
        }
        return LoadResult::kMissing;
    }
    auto bytes = read_file_bytes(file, ec);
    if (!bytes) {
        error_code = ec ? ec.value() : EIO;
        report("Registry file " + file.string() + " cannot be read: " + ec.message());
        return LoadResult::kBroken;
    }
    if (!store.parse(decode_text(*bytes))) {
        error_code = kRegistryCorrupt;
        report("Registry file " + file.string() + " is not a valid settings file; it is left as it is");
        return LoadResult::kBroken;
    }
    return LoadResult::kLoaded;
}

int save(const IniStore& store) {
    const fs::path file = registry_datei();
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) return ec.value();
    if (!write_file_atomic(file, store.serialize(), ec)) return ec ? ec.value() : EIO;
    return 0;
}

// Holds an exclusive lock beside the store from reading to replacing it, so two
// running copies of the program that write at once do not lose a value.
class WriteLock {
public:
    WriteLock() {
        const fs::path file = registry_datei();
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        fd_ = ::open((file.parent_path() / ".registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriteLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace

fs::path registry_datei() { return xdg_config_home() / "galvora" / "registry.ini"; }

std::string registry_lesen(std::string_view section, std::string_view name, std::string_view default_text) {
    IniStore store;
    int error = 0;
    if (load(store, error) != LoadResult::kLoaded) return std::string(default_text);
    const auto value = store.get(section, name);
    if (!value) return std::string(default_text);
    return bis_nullzeichen(*value);
}

int registry_schreiben(std::string_view section, std::string_view name, std::string_view value) {
    const WriteLock lock;
    IniStore store;
    int error = 0;
    if (load(store, error) == LoadResult::kBroken) return error;
    if (!store.set(section, name, value)) return EINVAL;
    return save(store);
}

std::optional<std::vector<std::pair<std::string, std::string>>> registry_alle_lesen(std::string_view section) {
    IniStore store;
    int error = 0;
    if (load(store, error) != LoadResult::kLoaded) return std::nullopt;
    const IniStore::Values* values = store.values(section);
    if (values == nullptr || values->empty()) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> table;
    table.reserve(values->size());
    for (const auto& [value_name, text] : *values) table.emplace_back(bis_nullzeichen(value_name), bis_nullzeichen(text));
    return table;
}

int registry_schluessel_loeschen(std::string_view section) {
    const WriteLock lock;
    IniStore store;
    int error = 0;
    const LoadResult result = load(store, error);
    if (result == LoadResult::kBroken) return error;
    if (result == LoadResult::kMissing || !store.remove_section(section)) return 0;
    return save(store);
}

}  // namespace galvora
