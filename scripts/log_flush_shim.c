/* Preloaded into a batch run by scripts/bench-log.sh: every write() to the
 * log file named by $GALVORA_LOG_FLUSH_FILE is followed by fdatasync(), so
 * that each line is on the disk before the program goes on. The program
 * writes one line with one write(), so this is a flush per line; the run
 * without the shim is the program as it is. The log's descriptor is found
 * when the program opens the file. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static int log_fd = -1;

typedef int (*open_call)(const char*, int, ...);

/* Opens through the real call of that name and notes the log's descriptor. */
static int open_noting(open_call* real, const char* name, const char* path, int flags, mode_t mode) {
    if (!*real) *real = (open_call)dlsym(RTLD_NEXT, name);
    const int fd = (*real)(path, flags, mode);
    const char* log = getenv("GALVORA_LOG_FLUSH_FILE");
    if (fd >= 0 && log && strcmp(path, log) == 0) log_fd = fd;
    return fd;
}

/* The mode argument, which follows the flags only when a file may be made. */
#define MODE_OF(flags, mode)                                                       \
    do {                                                                           \
        va_list ap;                                                                \
        va_start(ap, flags);                                                       \
        if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) mode = va_arg(ap, int); \
        va_end(ap);                                                                \
    } while (0)

int open(const char* path, int flags, ...) {
    static open_call real;
    mode_t mode = 0;
    MODE_OF(flags, mode);
    return open_noting(&real, "open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    static open_call real;
    mode_t mode = 0;
    MODE_OF(flags, mode);
    return open_noting(&real, "open64", path, flags, mode);
}

int close(int fd) {
    static int (*real)(int);
    if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
    if (fd == log_fd) log_fd = -1;
    return real(fd);
}

ssize_t write(int fd, const void* data, size_t n) {
    static ssize_t (*real)(int, const void*, size_t);
    if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    const ssize_t done = real(fd, data, n);
    if (fd >= 0 && fd == log_fd) fdatasync(fd);
    return done;
}
