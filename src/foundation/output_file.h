#pragma once
// A file being written: the bytes go to a temporary file beside the target,
// which replaces the target only when commit() succeeds. A write that
// fails part-way therefore leaves whatever the target held before. Work done
// ahead of its turn on a worker thread (worker_threads.h) renames its file
// into place only in its turn, and fails when that never comes.
#include <cstdio>
#include <string>

namespace galvora {

class OutputFile {
public:
    // Creates the temporary file; is_open() tells whether that worked.
    // With sync_each_file the data reaches the disk before the rename (the
    // user's own files); without, the rename alone guards against partial
    // files, and a whole run of generated files is flushed at its end by
    // flush_file_system (a sync per file costs milliseconds each on disk).
    explicit OutputFile(const std::string& target_path, bool sync_each_file = true);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool is_open() const { return file_ != nullptr; }
    FILE* file() { return file_; }
    const std::string& temp_path() const { return temp_path_; }

    // Flushes, syncs (see the constructor) and closes the temporary file and
    // renames it onto the target. False (and the temporary removed) when any
    // of that fails.
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
    bool sync_each_file_ = true;
    int error_ = 0;
};

// Writes everything the file system holding folder has in its caches to
// disk; false when the folder cannot be opened or the flush fails.
bool flush_file_system(const std::string& folder);

}  // namespace galvora
