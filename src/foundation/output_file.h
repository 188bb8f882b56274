#pragma once
// A file being written: the bytes go to a temporary file beside the target,
// which replaces the target only when commit() succeeds. A write that
// fails part-way therefore leaves whatever the target held before.
#include <cstdio>
#include <string>

namespace galvora {

class OutputFile {
public:
    // Creates the temporary file; is_open() tells whether that worked.
    explicit OutputFile(const std::string& target_path);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool is_open() const { return file_ != nullptr; }
    FILE* file() { return file_; }
    const std::string& temp_path() const { return temp_path_; }

    // Flushes, syncs and closes the temporary file and renames it onto the
    // target. False (and the temporary removed) when any of that fails.
    bool commit();
    // Closes and removes the temporary file without touching the target.
    void discard();
    // The system error number of the step that failed (0 when none did).
    int error() const { return error_; }

private:
    std::string target_;
    std::string temp_path_;
    FILE* file_ = nullptr;
    bool committed_ = false;
    int error_ = 0;
};

}  // namespace galvora
