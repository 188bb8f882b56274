#include "platform/launcher.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace galvora {

namespace {

std::function<bool(const std::string&)>& opener_slot() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

// xdg-open usually returns at once, but with some desktops it stays until the
// browser ends. It is therefore started from a short-lived child that exits
// right away, so the opener belongs to init and the window stays responsive.
// Between fork and exec only async-signal-safe calls are made: the window
// program has threads.
bool start_detached(const std::string& target) {
    const char* program = "xdg-open";
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            execlp(program, program, target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool desktop_vorhanden() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

bool launcher_oeffnen(const std::string& target) {
    if (target.empty()) return false;
    if (opener_slot()) return opener_slot()(target);
    if (!desktop_vorhanden()) return false;
    return start_detached(target);
}

void set_launcher(std::function<bool(const std::string&)> opener) { opener_slot() = std::move(opener); }

}  // namespace galvora
