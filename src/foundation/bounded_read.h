#pragma once
// Opening and reading files that may come from anyone: only regular files
// are read (checked on the open descriptor, so a FIFO, a device or a folder
// never blocks or floods a run), a whole-file read is refused before it
// starts when the file is larger than the caller can hold, and a long read
// gives way to an interrupt between its pieces.
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

namespace galvora {

// The bound of files the program reads whole for itself (profiles, language,
// script and definition files, settings): far more than any of them holds.
inline constexpr size_t kComponentFileLimit = size_t{64} << 20;

// Opens path for reading without blocking (O_NONBLOCK, O_CLOEXEC) and keeps
// it only when the descriptor is a regular file; otherwise nullptr with ec
// set (a folder EISDIR, any other kind EACCES, like a file one may not read).
FILE* open_regular_file(const std::filesystem::path& path, std::error_code& ec);

// The path the kernel reached for an open descriptor (links resolved).
std::string descriptor_path(int fd);

// Reads a whole regular file of at most `limit` bytes. `allowed`, when given,
// sees the real path of the opened file and may refuse it (EACCES). A file
// above the limit gives EFBIG before anything is read; an interrupt between
// two pieces gives EINTR.
std::optional<std::string> read_file_bounded(const std::filesystem::path& path, size_t limit, std::error_code& ec,
                                             const std::function<bool(const std::string&)>& allowed = {});

// The test a long read asks between its pieces; true stops it.
void set_read_interrupt_check(bool (*check)());
bool read_interrupted();

}  // namespace galvora
