#pragma once
// Fuzzer input as a file: the readers under test take file names, so each
// input is written to a scratch folder below the system's temporary folder
// that belongs to this process and goes away when it ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace galvora::fuzz {

inline const std::filesystem::path& scratch_folder() {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("galvora-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratch_folder(), ec);
        });
        return p;
    }();
    return folder;
}

// Points the per-user folders (settings, data, state) into the scratch folder,
// so a target that stores a choice or writes the log leaves the user's alone.
inline void use_scratch_home() {
    const auto& home = scratch_folder();
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
}

// Writes the input to <scratch>/<name> and returns the path.
inline std::filesystem::path input_file(const std::uint8_t* data, std::size_t size, const std::string& name) {
    auto path = scratch_folder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace galvora::fuzz
