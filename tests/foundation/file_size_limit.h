#pragma once
// Lets files of this process grow to a few bytes only, as long as the object
// lives: a write past the limit fails with EFBIG, as on a disk that is full,
// while the file itself can still be made. The signal the kernel sends for it
// is ignored meanwhile.
#include <sys/resource.h>

#include <csignal>

namespace galvora::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*old_handler_)(int) = SIG_DFL;
};

}  // namespace galvora::testing
