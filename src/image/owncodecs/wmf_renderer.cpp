#include "image/owncodecs/wmf_renderer.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "image/codecs/png_codec.h"
#include "image/imaging_error.h"

namespace galvora {

namespace {

// libwmf trusts the files it plays: damaged records can make it loop for
// ever, ask for huge blocks or crash. It therefore runs in a child process
// with a CPU limit, and hands back the size and a PNG through a pipe; the
// program only ever sees the bytes or a read error.
constexpr rlim_t kChildCpuSeconds = 20;
constexpr int kParentWaitMilliseconds = 40'000;

// What the child reports: the drawing's size, then (when asked) its PNG.
struct Drawing {
    int32_t width = 0;
    int32_t height = 0;
    std::string png;
};

// One libwmf session over a file held in memory; runs inside the child.
bool play(const std::vector<uint8_t>& file, bool draw, Drawing& out) {
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None || !api) return false;
    bool ok = false;
    // libwmf reads but does not change the bytes.
    if (wmf_mem_open(api, const_cast<unsigned char*>(file.data()), static_cast<long>(file.size())) == wmf_E_None) {
        wmfD_Rect bbox{};
        unsigned int w = 0, h = 0;
        if (wmf_scan(api, 0, &bbox) == wmf_E_None && wmf_display_size(api, &w, &h, 96, 96) == wmf_E_None &&
            w > 0 && h > 0 && w <= INT32_MAX && h <= INT32_MAX) {
            out.width = static_cast<int32_t>(w);
            out.height = static_cast<int32_t>(h);
            ok = true;
            if (draw && dimensions_allowed(w, h)) {
                char* bytes = nullptr;
                size_t length = 0;
                FILE* sink = open_memstream(&bytes, &length);
                ok = sink != nullptr;
                if (sink) {
                    wmf_gd_t* device = WMF_GD_GetData(api);
                    device->type = wmf_gd_png;
                    device->flags |= WMF_GD_OUTPUT_FILE;
                    device->file = sink;
                    device->width = w;
                    device->height = h;
                    device->bbox = bbox;
                    ok = wmf_play(api, 0, &bbox) == wmf_E_None;
                    wmf_mem_close(api);
                    wmf_api_destroy(api);
                    api = nullptr;
                    std::fclose(sink);
                    if (ok) out.png.assign(bytes, length);
                    std::free(bytes);
                }
            }
        }
        if (api) wmf_mem_close(api);
    }
    if (api) wmf_api_destroy(api);
    return ok;
}

bool write_all(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

[[noreturn]] void child(int fd, const std::vector<uint8_t>& file, bool draw) {
    const rlimit cpu{kChildCpuSeconds, kChildCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    Drawing d;
    bool ok = play(file, draw, d);
    if (ok) {
        const int32_t size[2] = {d.width, d.height};
        ok = write_all(fd, size, sizeof size) && write_all(fd, d.png.data(), d.png.size());
    }
    ::close(fd);
    _exit(ok ? 0 : 1);
}

Drawing run_child(const std::vector<uint8_t>& file, bool draw) {
    int fds[2];
    if (::pipe(fds) != 0) throw ImagingFailure(ImagingFault::general);
    std::fflush(nullptr);  // nothing buffered is written twice by the child
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw ImagingFailure(ImagingFault::general);
    }
    if (pid == 0) {
        ::close(fds[0]);
        child(fds[1], file, draw);
    }
    ::close(fds[1]);
    std::string bytes;
    bool timed_out = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kParentWaitMilliseconds);
    char block[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timed_out = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timed_out = ready == 0;
            if (ready < 0) break;
            continue;
        }
        const ssize_t n = ::read(fds[0], block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(block, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    if (timed_out) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timed_out || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || bytes.size() < 8)
        throw ImagingFailure(ImagingFault::bad_data);
    Drawing d;
    std::memcpy(&d.width, bytes.data(), 4);
    std::memcpy(&d.height, bytes.data() + 4, 4);
    d.png = bytes.substr(8);
    return d;
}

}  // namespace

void wmf_render_size(const std::vector<uint8_t>& file, int32_t& width, int32_t& height) {
    const Drawing d = run_child(file, false);
    width = d.width;
    height = d.height;
}

PictureBuffer wmf_render(const std::vector<uint8_t>& file) {
    Drawing d = run_child(file, true);
    if (!dimensions_allowed(d.width, d.height)) throw ImagingFailure(ImagingFault::too_large);
    if (d.png.empty()) throw ImagingFailure(ImagingFault::bad_data);
    FILE* png = fmemopen(d.png.data(), d.png.size(), "rb");
    if (!png) throw ImagingFailure(ImagingFault::out_of_memory);
    try {
        PictureBuffer out = png_read(png, nullptr);
        std::fclose(png);
        return out;
    } catch (...) {
        std::fclose(png);
        throw;
    }
}

}  // namespace galvora
