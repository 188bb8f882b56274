#include "foundation/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "platform/terminal_text.h"
#include "platform/user_folders.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<LogClass>& global_log_slot() {
    static std::unique_ptr<LogClass> log;
    return log;
}

// Beside the program, unless the program lives in a folder the user cannot
// write to (an installed program): then the user's state folder.
fs::path log_folder() {
    const fs::path program = program_folder();
    if (::access(program.c_str(), W_OK) == 0) return program;
    const fs::path state = xdg_state_home() / "galvora";
    std::error_code ec;
    fs::create_directories(state, ec);
    return state;
}

// The first bytes of the file open as fd, read through a descriptor of its
// own (the log is opened for writing only); nullopt when it cannot be read.
std::optional<std::string> first_bytes(int fd) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int in = ::open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (in < 0) return std::nullopt;
    std::string bytes(4096, '\0');
    ssize_t n;
    do {
        n = ::read(in, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    ::close(in);
    if (n < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(n));
    return bytes;
}

}  // namespace

LogClass::~LogClass() { CloseLogfile(); }

bool LogClass::CreateLogfile(const std::string& name, const BinaryTest& is_binary) {
    // Only one file at a time: a second call closes the first.
    CloseLogfile();
    refused_binary_ = false;
    if (name.empty()) {
        file_name_ = (log_folder() / "Galvora.log").string();
    } else if (pfadname_gueltig(name)) {
        file_name_ = name;
    } else {
        file_name_ = (log_folder() / name).string();
    }
    // Opened without truncating: what is there is looked at first, on the
    // file actually opened, and emptied only when it may be replaced.
    const int fd = ::open(file_name_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    if (S_ISREG(st.st_mode)) {
        if (st.st_size > 0 && is_binary) {
            const std::optional<std::string> head = first_bytes(fd);
            if (!head || is_binary(*head)) {
                ::close(fd);
                refused_binary_ = true;
                return false;
            }
        }
        if (::ftruncate(fd, 0) != 0) {
            ::close(fd);
            return false;
        }
    }
    fd_ = fd;
    return true;
}

void LogClass::CloseLogfile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool LogClass::WriteLog(std::string_view text) {
    if (fd_ < 0) return false;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%d.%m.%Y %H:%M:%S", &local);
    std::string line(stamp);
    line += ' ';
    // Names from a picture tree or profile reach the log; their control
    // characters are shown escaped, so that viewing the log is safe too.
    line += steuerzeichen_maskiert(text);
    line += "\r\n";
    // One unbuffered write per line: the line is with the system when WriteLog
    // returns, so a crash of the program loses nothing that was logged.
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;  // a failing write is not reported
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

LogClass* global_log() { return global_log_slot().get(); }

void set_global_log(std::unique_ptr<LogClass> log) { global_log_slot() = std::move(log); }

void log_line(std::string_view text) {
    if (LogClass* log = global_log()) log->WriteLog(text);
}

CStopWatch::CStopWatch() : start_(std::chrono::steady_clock::now()) {}

int32_t CStopWatch::Elapsed() const {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    if (ms > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (ms < 0) return 0;
    return static_cast<int32_t>(ms);
}

void CStopWatch::reset() { start_ = std::chrono::steady_clock::now(); }

}  // namespace galvora
