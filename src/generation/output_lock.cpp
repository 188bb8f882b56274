#include "generation/output_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "generation/run_port.h"

namespace galvora {

Ausgabesperre::~Ausgabesperre() {
    if (fd_ >= 0) ::close(fd_);  // closing the folder gives up its lock
}

bool Ausgabesperre::nehmen(const std::string& root) {
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    bool gemeldet = false;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return true;
        }
        if (!gemeldet) {
            run_port().log_line("Ein anderer Lauf schreibt in " + root + "; dieser Lauf wartet auf sein Ende");
            gemeldet = true;
        }
        run_port().process_events();
        if (CancelRequested) {
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    fd_ = fd;
    return true;
}

}  // namespace galvora
