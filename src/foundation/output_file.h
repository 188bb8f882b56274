#pragma once
// A file being written: the bytes go to a temporary file beside the target,
// which replaces the target only when commit() succeeds. A write that
// fails part-way therefore leaves whatever the target held before. Work done
// ahead of its turn on a worker thread (worker_threads.h) puts its file into
// place only in its turn, and fails when that never comes.
//
// The temporary file has a short name of its own (".galvora-XXXXXX.tmp"), so
// a target whose name alone nearly fills the 255 bytes a file name may have
// can still be written; a folder can be cleared of the temporaries a killed
// program left behind (remove_stale_temporaries).
#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

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
    const std::string& target_path() const { return target_; }

    // Flushes, syncs (see the constructor) and closes the temporary file
    // but leaves it beside the target; commit() or commit_if_changed() put it
    // in place later (a page held back until the files it links to are
    // written). False (and the temporary removed) when any step fails.
    bool close();
    // Flushes, syncs (see the constructor) and closes the temporary file and
    // renames it onto the target. False (and the temporary removed) when any
    // of that fails or the replace guard refuses the target.
    bool commit();
    // As commit, but a target that already holds the same bytes stays as it
    // is (the temporary is removed); `replaced` tells which happened.
    bool commit_if_changed(bool& replaced);
    // Closes and removes the temporary file without touching the target.
    void discard();
    // The system error number of the step that failed (0 when none did).
    int error() const { return error_; }

private:
    bool finish();
    bool replace_target();
    void remove_temporary();
    int folder_fd();

    std::string target_;
    std::string target_name_;
    std::string temp_path_;
    std::string temp_name_;
    int dir_fd_ = -1;
    FILE* file_ = nullptr;
    bool committed_ = false;
    bool closed_ = false;
    std::optional<std::pair<dev_t, ino_t>> temp_id_;  // the temporary file, while this program holds it
    bool sync_each_file_ = true;
    int error_ = 0;
};

// Asked before a committed file replaces its target (also when the target
// does not exist yet): 0 lets it, an error number (EPERM, EEXIST ...) refuses
// it, and the commit then fails with that error. `new_file` is the finished
// temporary file; it is empty when an OutputFile is about to be opened and the
// target itself before an append. Installed by the generation run for its length; none by
// default.
using ReplaceGuard = std::function<int(const std::string& target, const std::string& new_file)>;
void set_replace_guard(ReplaceGuard guard);
// 0 without a guard.
int replace_guard_check(const std::string& target, const std::string& new_file);

// The folder a run writes below (empty: none). A file whose folder lies below
// it is written in that folder as the kernel resolves it from the root's
// descriptor, so no link and no ".." leads out of it.
void set_output_root(const std::string& root);

// The folder part of a path ("." for a bare name, "/" for a name in the
// root) and its last name.
std::string folder_of(const std::string& path);
std::string name_of(const std::string& path);
// A descriptor (O_PATH) of the folder files are written into, opened as
// described above; -1 with errno when it cannot be.
int open_folder_for_writing(const std::string& folder);
// Appends bytes to the file at path (made when missing) in the folder opened
// so; a link at the file's place is not followed.
bool append_to_file(const std::string& path, std::string_view bytes, std::error_code& ec);

// True when both files can be read and hold the same bytes.
bool same_file_contents(const std::string& a, const std::string& b);

// True when `name` (a file name without folder) is the name of one of our
// temporary files.
bool is_temporary_name(const std::string& name);
// Removes the temporary files left in `folder` (not below it) by a program
// that was killed while writing; returns how many went.
int remove_stale_temporaries(const std::string& folder);

// Writes everything the file system holding folder has in its caches to
// disk; false when the folder cannot be opened or the flush fails.
bool flush_file_system(const std::string& folder);

}  // namespace galvora
