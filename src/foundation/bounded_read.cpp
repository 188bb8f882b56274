#include "foundation/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace galvora {

namespace {

bool (*interrupt_check)() = nullptr;

constexpr size_t kPiece = size_t{1} << 20;

}  // namespace

void set_read_interrupt_check(bool (*check)()) { interrupt_check = check; }

bool read_interrupted() { return interrupt_check != nullptr && interrupt_check(); }

FILE* open_regular_file(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        ec = std::error_code(errno, std::generic_category());
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ec = std::error_code(S_ISDIR(st.st_mode) ? EISDIR : EACCES, std::generic_category());
        ::close(fd);
        return nullptr;
    }
    // A regular file never blocks; later reads go the ordinary way.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FILE* f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        ec = std::error_code(errno, std::generic_category());
        ::close(fd);
    }
    return f;
}

std::string descriptor_path(int fd) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    std::error_code ec;
    auto target = std::filesystem::read_symlink(link, ec);
    return ec ? std::string() : target.string();
}

std::optional<std::string> read_file_bounded(const std::filesystem::path& path, size_t limit, std::error_code& ec,
                                             const std::function<bool(const std::string&)>& allowed) {
    FILE* f = open_regular_file(path, ec);
    if (f == nullptr) return std::nullopt;
    auto fail = [&](int err) -> std::optional<std::string> {
        std::fclose(f);
        ec = std::error_code(err, std::generic_category());
        return std::nullopt;
    };
    if (allowed && !allowed(descriptor_path(fileno(f)))) return fail(EACCES);
    struct stat st {};
    if (::fstat(fileno(f), &st) != 0) return fail(errno);
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > limit) return fail(EFBIG);
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    // A file that grows while it is read (or reports no size) is still held
    // to the limit.
    for (;;) {
        if (read_interrupted()) return fail(EINTR);
        const size_t room = limit - data.size();
        const size_t want = room < kPiece ? room + 1 : kPiece;
        const size_t old = data.size();
        data.resize(old + want);
        const size_t got = std::fread(data.data() + old, 1, want, f);
        data.resize(old + got);
        if (data.size() > limit) return fail(EFBIG);
        if (got < want) break;
    }
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) {
        ec = std::make_error_code(std::errc::io_error);
        return std::nullopt;
    }
    return data;
}

}  // namespace galvora
