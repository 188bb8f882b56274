#include "foundation/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "foundation/worker_threads.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

constexpr char kTempPrefix[] = ".galvora-";
constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempRandom = 6;  // the XXXXXX of mkstemps

// The temporary files this program has open or holds back for their place
// (by device and inode): a clean-up of a folder never takes them for the
// leftovers of a killed run. Worker threads make files too.
struct LiveTemporaries {
    std::mutex mutex;
    std::set<std::pair<dev_t, ino_t>> files;
};

LiveTemporaries& live_temporaries() {
    static LiveTemporaries live;
    return live;
}

void note_live(const struct stat& st, bool live) {
    LiveTemporaries& all = live_temporaries();
    const std::lock_guard lock(all.mutex);
    if (live) {
        all.files.insert({st.st_dev, st.st_ino});
    } else {
        all.files.erase({st.st_dev, st.st_ino});
    }
}

bool is_live(const struct stat& st) {
    LiveTemporaries& all = live_temporaries();
    const std::lock_guard lock(all.mutex);
    return all.files.count({st.st_dev, st.st_ino}) != 0;
}

ReplaceGuard& replace_guard() {
    static ReplaceGuard guard;
    return guard;
}

// The folder part of a path, "." for a bare name.
std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

void set_replace_guard(ReplaceGuard guard) { replace_guard() = std::move(guard); }

int replace_guard_check(const std::string& target, const std::string& new_file) {
    const ReplaceGuard& guard = replace_guard();
    return guard ? guard(target, new_file) : 0;
}

bool same_file_contents(const std::string& a_name, const std::string& b_name) {
    const fs::path a(a_name);
    const fs::path b(b_name);
    std::error_code ec;
    const auto size_a = fs::file_size(a, ec);
    if (ec) return false;
    const auto size_b = fs::file_size(b, ec);
    if (ec || size_a != size_b) return false;
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    char buf_a[65536];
    char buf_b[65536];
    for (;;) {
        fa.read(buf_a, sizeof buf_a);
        fb.read(buf_b, sizeof buf_b);
        const std::streamsize na = fa.gcount();
        const std::streamsize nb = fb.gcount();
        if (na != nb) return false;
        if (na == 0) return fa.eof() && fb.eof();
        if (std::memcmp(buf_a, buf_b, static_cast<std::size_t>(na)) != 0) return false;
    }
}

bool is_temporary_name(const std::string& name) {
    const size_t prefix = sizeof kTempPrefix - 1;
    const size_t suffix = sizeof kTempSuffix - 1;
    if (name.size() != prefix + kTempRandom + suffix) return false;
    return name.compare(0, prefix, kTempPrefix) == 0 && name.compare(name.size() - suffix, suffix, kTempSuffix) == 0;
}

int remove_stale_temporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        if (is_temporary_name(entry->d_name)) stale.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    int removed = 0;
    const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0) return 0;
    for (const std::string& name : stale) {
        // Only files (and links, which go themselves): a folder of that name is someone else's.
        struct stat st {};
        if (::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
        if (is_live(st)) continue;  // one of ours, still being written or held back
        if (::unlinkat(dir_fd, name.c_str(), 0) == 0) ++removed;
    }
    ::close(dir_fd);
    return removed;
}

OutputFile::OutputFile(const std::string& target_path, bool sync_each_file)
    : target_(target_path), sync_each_file_(sync_each_file) {
    if (target_path.empty() || target_path.back() == '/') {
        error_ = ENOENT;
        return;
    }
    // Work done ahead of its turn writes into a folder that the run makes
    // in an earlier turn only then.
    if (TurnGate* gate = current_turn_gate()) {
        std::error_code ec;
        if (!fs::is_directory(fs::path(target_path).parent_path(), ec) && !gate->wait_for_turn()) {
            error_ = ECANCELED;
            return;
        }
    }
    std::string pattern = folder_of(target_path) + "/" + kTempPrefix + std::string(kTempRandom, 'X') + kTempSuffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), static_cast<int>(sizeof kTempSuffix - 1));
    if (fd < 0) {
        error_ = errno;
        return;
    }
    // mkstemps creates the file readable by the owner only; pictures and
    // pages get the usual permissions of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        note_live(st, true);
        temp_id_ = {st.st_dev, st.st_ino};
    }
    file_ = fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        ::close(fd);
        ::unlink(name.data());
        return;
    }
    temp_path_.assign(name.data());
}

OutputFile::~OutputFile() {
    if (!committed_) discard();
    if (temp_id_) {
        struct stat st {};
        st.st_dev = temp_id_->first;
        st.st_ino = temp_id_->second;
        note_live(st, false);
    }
}

// Flushes and closes the temporary file; every step is checked, so a full
// disk seen only when the last buffer goes out still counts.
bool OutputFile::finish() {
    if (closed_) return !temp_path_.empty();  // closed before, still waiting for its place
    if (!file_) return false;
    errno = 0;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    ok = ok && (!sync_each_file_ || fsync(fileno(file_)) == 0);
    if (!ok) error_ = errno ? errno : EIO;
    errno = 0;
    if (std::fclose(file_) != 0 && ok) {
        error_ = errno ? errno : EIO;
        ok = false;
    }
    file_ = nullptr;
    // Work done ahead of its turn puts its file in place (or compares it with
    // the target) only in its turn, and not at all when that never comes.
    if (ok) {
        if (TurnGate* gate = current_turn_gate(); gate && !gate->wait_for_turn()) {
            ok = false;
            error_ = ECANCELED;
        }
    }
    if (!ok) {
        ::unlink(temp_path_.c_str());
        temp_path_.clear();
    }
    closed_ = true;
    return ok;
}

bool OutputFile::close() { return finish(); }

bool OutputFile::replace_target() {
    int refused = replace_guard_check(target_, temp_path_);
    if (refused == 0 && std::rename(temp_path_.c_str(), target_.c_str()) == 0) {
        committed_ = true;
        return true;
    }
    error_ = refused != 0 ? refused : errno;
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
    return false;
}

bool OutputFile::commit() {
    if (!finish()) return false;
    return replace_target();
}

bool OutputFile::commit_if_changed(bool& replaced) {
    replaced = false;
    if (!finish()) return false;
    if (same_file_contents(target_, temp_path_)) {
        ::unlink(temp_path_.c_str());
        temp_path_.clear();
        committed_ = true;
        return true;
    }
    replaced = replace_target();
    return replaced;
}

void OutputFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_path_.empty()) {
        ::unlink(temp_path_.c_str());
        temp_path_.clear();
    }
}

bool flush_file_system(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace galvora
