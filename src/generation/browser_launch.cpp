#include "generation/browser_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <vector>

#include "platform/display.h"

extern char** environ;

namespace galvora {

namespace {

std::function<void(const std::string&)>& opener_slot() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

void desktop_open(const std::string& page_path) {
    if (!has_desktop()) return;
    // xdg-open returns once the browser is started; the run does not wait
    // for the browser itself.
    std::string program = "xdg-open";
    std::vector<char*> argv{program.data(), const_cast<char*>(page_path.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return;
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

void browser_oeffnen(const std::string& page_path) {
    if (page_path.empty()) return;
    if (opener_slot()) {
        opener_slot()(page_path);
        return;
    }
    desktop_open(page_path);
}

void set_browser_opener(std::function<void(const std::string&)> opener) { opener_slot() = std::move(opener); }

}  // namespace galvora
