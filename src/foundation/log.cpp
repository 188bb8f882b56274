#include "foundation/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
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

}  // namespace

LogClass::~LogClass() { CloseLogfile(); }

bool LogClass::CreateLogfile(const std::string& name) {
    // Only one file at a time: a second call closes the first.
    CloseLogfile();
    if (name.empty()) {
        file_name_ = (log_folder() / "Galvora.log").string();
    } else if (pfadname_gueltig(name)) {
        file_name_ = name;
    } else {
        file_name_ = (log_folder() / name).string();
    }
    fd_ = ::open(file_name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd_ >= 0;
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
    line.append(text);
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
