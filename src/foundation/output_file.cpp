#include "foundation/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "foundation/worker_threads.h"

namespace galvora {

OutputFile::OutputFile(const std::string& target_path, bool sync_each_file)
    : target_(target_path), sync_each_file_(sync_each_file) {
    if (target_path.empty() || target_path.back() == '/') return;
    // Work done ahead of its turn writes into a folder that the run makes
    // in an earlier turn only then.
    if (TurnGate* gate = current_turn_gate()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(std::filesystem::path(target_path).parent_path(), ec) &&
            !gate->wait_for_turn()) {
            error_ = ECANCELED;
            return;
        }
    }
    std::string pattern = target_path + ".tmpXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error_ = errno;
        return;
    }
    // mkstemp creates the file readable by the owner only; pictures get the
    // usual permissions of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
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
}

bool OutputFile::commit() {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    ok = ok && (!sync_each_file_ || fsync(fileno(file_)) == 0);
    if (!ok) error_ = errno ? errno : EIO;
    if (std::fclose(file_) != 0 && ok) {
        error_ = errno;
        ok = false;
    }
    file_ = nullptr;
    // Work done ahead of its turn puts its file in place only in its turn,
    // and not at all when that never comes.
    if (ok) {
        if (TurnGate* gate = current_turn_gate(); gate && !gate->wait_for_turn()) {
            ok = false;
            error_ = ECANCELED;
        }
    }
    if (ok && std::rename(temp_path_.c_str(), target_.c_str()) == 0) {
        committed_ = true;
        return true;
    }
    if (ok) error_ = errno;
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
    return false;
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
