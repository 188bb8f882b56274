#include "foundation/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "foundation/worker_threads.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

constexpr char kTempPrefix[] = ".galvora-";
constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempRandom = 6;  // random letters between prefix and suffix

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

// A temporary that is in its place or gone is no longer one of ours.
void forget_live(const std::pair<dev_t, ino_t>& id) {
    LiveTemporaries& all = live_temporaries();
    const std::lock_guard lock(all.mutex);
    all.files.erase(id);
}

ReplaceGuard& replace_guard() {
    static ReplaceGuard guard;
    return guard;
}

std::mutex& root_mutex() {
    static std::mutex m;
    return m;
}

std::string& output_root_path() {
    static std::string root;
    return root;
}

// The part of `folder` below `root` ("" for root itself); false when the
// folder does not lie below it as text.
bool relative_below(const std::string& root, const std::string& folder, std::string& rel) {
    if (root.empty() || folder.compare(0, root.size(), root) != 0) return false;
    if (folder.size() == root.size()) {
        rel.clear();
        return true;
    }
    if (root.back() != '/' && folder[root.size()] != '/') return false;
    rel = folder.substr(root.size());
    while (!rel.empty() && rel.front() == '/') rel.erase(0, 1);
    return true;
}

// Walks rel below dir_fd one folder at a time, never through a link and
// never up: for kernels without openat2.
int walk_beneath(int dir_fd, const std::string& rel) {
    int fd = ::fcntl(dir_fd, F_DUPFD_CLOEXEC, 0);
    size_t start = 0;
    while (fd >= 0 && start < rel.size()) {
        size_t end = rel.find('/', start);
        if (end == std::string::npos) end = rel.size();
        const std::string part = rel.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            ::close(fd);
            errno = EXDEV;
            return -1;
        }
        const int next = ::openat(fd, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int err = errno;
        ::close(fd);
        fd = next;
        errno = err;
    }
    return fd;
}

}  // namespace

// The folder part of a path, "." for a bare name.
std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file-name part of a path.
std::string name_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void set_output_root(const std::string& root) {
    std::lock_guard<std::mutex> lock(root_mutex());
    output_root_path() = root;
    while (output_root_path().size() > 1 && output_root_path().back() == '/') output_root_path().pop_back();
}

int open_folder_for_writing(const std::string& folder) {
    std::string root;
    {
        std::lock_guard<std::mutex> lock(root_mutex());
        root = output_root_path();
    }
    std::string rel;
    if (!relative_below(root, folder, rel)) return ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    // The root itself is the folder the user (or the profile) chose; below
    // it the kernel resolves the path: no link, dangling or not, and no ".."
    // leads out of it.
    const int root_fd = ::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (root_fd < 0 || rel.empty()) return root_fd;
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    int fd = static_cast<int>(::syscall(SYS_openat2, root_fd, rel.c_str(), &how, sizeof how));
    if (fd < 0 && errno == ENOSYS) fd = walk_beneath(root_fd, rel);
    const int err = errno;
    ::close(root_fd);
    errno = err;
    return fd;
}

bool append_to_file(const std::string& path, std::string_view bytes, std::error_code& ec) {
    ec.clear();
    // Asked like a replacement: the file as it will be is the target itself.
    if (const int refused = replace_guard_check(path, path); refused != 0) {
        ec = std::error_code(refused, std::generic_category());
        return false;
    }
    const int dir_fd = open_folder_for_writing(folder_of(path));
    if (dir_fd < 0) {
        ec = std::error_code(errno, std::generic_category());
        return false;
    }
    const std::string name = name_of(path);
    // The file itself is never a link: one that leads elsewhere is not followed.
    const int fd = ::openat(dir_fd, name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    int err = errno;
    ::close(dir_fd);
    if (fd < 0) {
        ec = std::error_code(err, std::generic_category());
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ec = std::error_code(n < 0 ? errno : EIO, std::generic_category());
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        ec = std::error_code(errno, std::generic_category());
        return false;
    }
    return true;
}

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
    // Looked at and removed under the lock a new temporary is made under:
    // one this program writes meanwhile on another thread is either not
    // there yet or already known as live.
    LiveTemporaries& live = live_temporaries();
    const std::lock_guard lock(live.mutex);
    for (const std::string& name : stale) {
        // Only files (and links, which go themselves): a folder of that name is someone else's.
        struct stat st {};
        if (::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
        // One of ours, still being written or held back for its place.
        if (live.files.count({st.st_dev, st.st_ino}) != 0) continue;
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
    // Asked before anything is made in the folder, and again (with the
    // finished file) before the file takes its place.
    if (const int refused = replace_guard_check(target_path, ""); refused != 0) {
        error_ = refused;
        return;
    }
    const std::string folder = folder_of(target_path);
    dir_fd_ = open_folder_for_writing(folder);
    if (dir_fd_ < 0) {
        error_ = errno;
        return;
    }
    target_name_ = name_of(target_path);
    // The temporary is made in the folder opened above, never through a link;
    // the mode of a new file follows the umask.
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    // Made and noted as live in one step under the lock that a clean-up of
    // stale temporaries takes too: a clean-up on another thread never finds
    // this file before it is known as live.
    int fd = -1;
    {
        LiveTemporaries& live = live_temporaries();
        const std::lock_guard lock(live.mutex);
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            std::string name = kTempPrefix;
            for (size_t i = 0; i < kTempRandom; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
            name += kTempSuffix;
            fd = ::openat(dir_fd_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) temp_name_ = name;
            else if (errno != EEXIST) break;
        }
        if (fd < 0) {
            error_ = errno;
            return;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0) {
            live.files.insert({st.st_dev, st.st_ino});
            temp_id_ = {st.st_dev, st.st_ino};
        }
    }
    file_ = fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        ::close(fd);
        ::unlinkat(dir_fd_, temp_name_.c_str(), 0);
        return;
    }
    temp_path_ = folder + "/" + temp_name_;
}

OutputFile::~OutputFile() {
    if (!committed_) discard();
    if (temp_id_) forget_live(*temp_id_);
    if (dir_fd_ >= 0) ::close(dir_fd_);
}

// The folder's descriptor, opened again (by the same rules) for a file that
// gave it up while it waited for its place.
int OutputFile::folder_fd() {
    if (dir_fd_ < 0 && !target_.empty()) dir_fd_ = open_folder_for_writing(folder_of(target_));
    return dir_fd_;
}

void OutputFile::remove_temporary() {
    if (!temp_name_.empty() && folder_fd() >= 0) ::unlinkat(dir_fd_, temp_name_.c_str(), 0);
    temp_name_.clear();
    temp_path_.clear();
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
    if (!ok) remove_temporary();
    closed_ = true;
    return ok;
}

bool OutputFile::close() {
    const bool ok = finish();
    // A run may hold thousands of closed pages until its end: none of them
    // keeps a descriptor open meanwhile.
    if (dir_fd_ >= 0) ::close(dir_fd_);
    dir_fd_ = -1;
    return ok;
}

bool OutputFile::replace_target() {
    int refused = replace_guard_check(target_, temp_path_);
    // Within the one folder opened at the start: a link put in the way since
    // is replaced itself, never followed.
    if (refused == 0 && folder_fd() >= 0 &&
        ::renameat(dir_fd_, temp_name_.c_str(), dir_fd_, target_name_.c_str()) == 0) {
        committed_ = true;
        return true;
    }
    error_ = refused != 0 ? refused : errno;
    remove_temporary();
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
        // Kept as it is, but asked all the same: the guard notes the file
        // as the run's own output.
        replace_guard_check(target_, temp_path_);
        remove_temporary();
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
    remove_temporary();
}

bool flush_file_system(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace galvora
