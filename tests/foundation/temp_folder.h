#pragma once
// A folder below the system's temporary folder that lives as long as the
// object, and environment variables that are restored when the object goes.
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace galvora::testing {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() /
                ("galvora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                 std::to_string(device()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        // Folders a test made read-only must become writable again to go.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets environment variables for the life of the object.
class ScopedEnv {
public:
    void set(const std::string& name, const std::string& value) {
        remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string& name) {
        remember(name);
        ::unsetenv(name.c_str());
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }

private:
    void remember(const std::string& name) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Points the per-user folders into a temporary folder.
class ScopedUserFolders {
public:
    explicit ScopedUserFolders(const std::filesystem::path& root) {
        env_.set("XDG_CONFIG_HOME", (root / "config").string());
        env_.set("XDG_DATA_HOME", (root / "data").string());
        env_.set("XDG_STATE_HOME", (root / "state").string());
    }

private:
    ScopedEnv env_;
};

}  // namespace galvora::testing
