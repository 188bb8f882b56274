/* Preloaded into the batch run when the test cannot mount a small file
 * system of its own: writes into files below $GALVORA_FULL_DISK_DIR fail with
 * ENOSPC once $GALVORA_FULL_DISK_FREE bytes have gone there, as on a disk that
 * runs full. It sits in front of write, writev, pwrite and fwrite, the calls
 * through which the program, libjpeg, libpng, libtiff and giflib write. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

static long long budget = -1;
static const char* folder;
static size_t folder_length;

static void setup(void) {
    static int done;
    if (done) return;
    done = 1;
    folder = getenv("GALVORA_FULL_DISK_DIR");
    const char* free_bytes = getenv("GALVORA_FULL_DISK_FREE");
    if (folder && free_bytes) {
        folder_length = strlen(folder);
        budget = atoll(free_bytes);
    } else {
        folder = NULL;
    }
}

static int below_folder(int fd) {
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = '\0';
    return strncmp(path, folder, folder_length) == 0 && (path[folder_length] == '/' || path[folder_length] == '\0');
}

/* How many of n bytes still fit. */
static size_t room_for(int fd, size_t n) {
    setup();
    if (!folder || n == 0 || !below_folder(fd)) return n;
    if (budget <= 0) return 0;
    if ((long long)n > budget) n = (size_t)budget;
    budget -= (long long)n;
    return n;
}

ssize_t write(int fd, const void* data, size_t n) {
    static ssize_t (*real)(int, const void*, size_t);
    if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    const size_t room = room_for(fd, n);
    if (n > 0 && room == 0) {
        errno = ENOSPC;
        return -1;
    }
    return real(fd, data, room);
}

ssize_t pwrite(int fd, const void* data, size_t n, off_t at) {
    static ssize_t (*real)(int, const void*, size_t, off_t);
    if (!real) real = (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, "pwrite");
    const size_t room = room_for(fd, n);
    if (n > 0 && room == 0) {
        errno = ENOSPC;
        return -1;
    }
    return real(fd, data, room, at);
}

ssize_t pwrite64(int fd, const void* data, size_t n, off_t at) { return pwrite(fd, data, n, at); }

ssize_t writev(int fd, const struct iovec* parts, int count) {
    static ssize_t (*real)(int, const struct iovec*, int);
    if (!real) real = (ssize_t(*)(int, const struct iovec*, int))dlsym(RTLD_NEXT, "writev");
    size_t total = 0;
    for (int i = 0; i < count; ++i) total += parts[i].iov_len;
    const size_t room = room_for(fd, total);
    if (room < total) {
        /* Whole or not at all: the rest of the budget is spent. */
        budget = 0;
        errno = ENOSPC;
        return -1;
    }
    return real(fd, parts, count);
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
    static size_t (*real)(const void*, size_t, size_t, FILE*);
    if (!real) real = (size_t(*)(const void*, size_t, size_t, FILE*))dlsym(RTLD_NEXT, "fwrite");
    if (size == 0 || count == 0) return real(data, size, count, stream);
    const size_t total = size * count;
    const size_t room = room_for(fileno(stream), total);
    if (room < total) {
        const size_t whole = room / size;
        const size_t done = whole > 0 ? real(data, size, whole, stream) : 0;
        errno = ENOSPC;
        return done;
    }
    return real(data, size, count, stream);
}
