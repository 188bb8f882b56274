#include "platform/launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace galvora {

namespace {

std::function<bool(const std::string&)>& opener_slot() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

// The reporter is called from the thread that waits for an opener; it is
// set and cleared from the window's thread. Both hold the lock, so once a
// window clears it no report comes any more. Neither is ever destroyed: a
// waiting thread may outlive the program's statics.
std::mutex& reporter_lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::function<void(const std::string&)>& reporter_slot() {
    static auto* reporter = new std::function<void(const std::string&)>;
    return *reporter;
}

void report_failure(const std::string& target) {
    std::lock_guard<std::mutex> hold(reporter_lock());
    if (reporter_slot()) reporter_slot()(target);
}

// xdg-open usually returns at once, but with some desktops it stays until the
// browser ends. The window never waits for it: a thread of its own does, and
// reports an opener that ends with an error (no browser, no program for the
// file). That it could not be started at all is known at once: the child
// tells through a pipe that closes on a successful exec. Between fork and
// exec only async-signal-safe calls are made: the window program has threads.
bool start_watched(const std::string& target) {
    const char* program = "xdg-open";
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return false;
    }
    if (child == 0) {
        close(pipe_ends[0]);
        setsid();
        execlp(program, program, target.c_str(), static_cast<char*>(nullptr));
        const int error = errno;
        ssize_t written = write(pipe_ends[1], &error, sizeof error);
        (void)written;
        _exit(127);
    }
    close(pipe_ends[1]);
    int error = 0;
    ssize_t got = 0;
    do {
        got = read(pipe_ends[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(pipe_ends[0]);
    if (got > 0) {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        return false;
    }
    std::thread([child, target] {
        int status = 0;
        pid_t ended = 0;
        do {
            ended = waitpid(child, &status, 0);
        } while (ended < 0 && errno == EINTR);
        if (ended == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) report_failure(target);
    }).detach();
    return true;
}

}  // namespace

bool launcher_oeffnen(const std::string& target) {
    if (target.empty()) return false;
    if (opener_slot()) return opener_slot()(target);
    if (!desktop_vorhanden()) return false;
    return start_watched(target);
}

void set_launcher(std::function<bool(const std::string&)> opener) { opener_slot() = std::move(opener); }

void set_launch_failure_reporter(std::function<void(const std::string& target)> reporter) {
    std::lock_guard<std::mutex> hold(reporter_lock());
    reporter_slot() = std::move(reporter);
}

}  // namespace galvora
