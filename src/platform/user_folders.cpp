#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace galvora {

namespace {

std::filesystem::path absolute_from_env(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') return {};
    return std::filesystem::path(value);
}

std::filesystem::path xdg_folder(const char* variable, const char* below_home) {
    std::filesystem::path from_env = absolute_from_env(variable);
    if (!from_env.empty()) return from_env;
    return home_folder() / below_home;
}

}  // namespace

std::filesystem::path home_folder() {
    std::filesystem::path from_env = absolute_from_env("HOME");
    if (!from_env.empty()) return from_env;
    // No usable HOME (a service or a stripped environment): ask the password database.
    struct passwd pwd {};
    struct passwd* result = nullptr;
    std::string buffer(16384, '\0');
    if (::getpwuid_r(::getuid(), &pwd, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr && result->pw_dir[0] == '/') {
        return std::filesystem::path(result->pw_dir);
    }
    return std::filesystem::path("/tmp");
}

std::filesystem::path xdg_config_home() { return xdg_folder("XDG_CONFIG_HOME", ".config"); }
std::filesystem::path xdg_data_home() { return xdg_folder("XDG_DATA_HOME", ".local/share"); }
std::filesystem::path xdg_state_home() { return xdg_folder("XDG_STATE_HOME", ".local/state"); }

}  // namespace galvora
