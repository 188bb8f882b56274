#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/percent_encoding.h"
#include "platform/user_folders.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

std::error_code last_error() { return std::error_code(errno, std::generic_category()); }

std::string deletion_date() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &local);
    return buf;
}

bool make_dir(const fs::path& dir, mode_t mode, std::error_code& ec) {
    if (::mkdir(dir.c_str(), mode) == 0) return true;
    if (errno == EEXIST) {
        struct stat st {};
        if (::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
        ec = std::error_code(ENOTDIR, std::generic_category());
        return false;
    }
    ec = last_error();
    return false;
}

// Creates files/ and info/ below the trash folder.
bool prepare_trash(const fs::path& trash, std::error_code& ec) {
    return make_dir(trash, 0700, ec) && make_dir(trash / "files", 0700, ec) && make_dir(trash / "info", 0700, ec);
}

// Reserves a free name with an exclusively created info file, then renames the
// item into files/. `info_path` is what Path= records.
bool move_into(const fs::path& trash, const fs::path& item, const std::string& info_path, std::error_code& ec) {
    if (!prepare_trash(trash, ec)) return false;
    const std::string base = item.filename().string();
    const std::string contents =
        "[Trash Info]\nPath=" + percent_encode(info_path, "~") + "\nDeletionDate=" + deletion_date() + "\n";
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        const fs::path info = trash / "info" / (name + ".trashinfo");
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            ec = last_error();
            return false;
        }
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        const bool wrote_all = written == static_cast<ssize_t>(contents.size());
        if (::close(fd) != 0 || !wrote_all) {
            ec = wrote_all ? last_error() : std::error_code(EIO, std::generic_category());
            ::unlink(info.c_str());
            return false;
        }
        const fs::path target = trash / "files" / name;
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0) {
            // A stray file without its info file: keep it, take the next name.
            continue;
        }
        if (::rename(item.c_str(), target.c_str()) == 0) return true;
        ec = last_error();
        ::unlink(info.c_str());
        return false;
    }
    ec = std::error_code(EEXIST, std::generic_category());
    return false;
}

// The mount point that holds `path`: the highest ancestor on the same device.
fs::path mount_point_of(const fs::path& path, dev_t device) {
    fs::path current = path;
    while (current.has_parent_path() && current.parent_path() != current) {
        const fs::path parent = current.parent_path();
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 || st.st_dev != device) break;
        current = parent;
    }
    return current;
}

}  // namespace

fs::path home_trash_folder() { return xdg_data_home() / "Trash"; }

bool move_to_trash(const fs::path& item, std::error_code& ec) {
    ec.clear();
    std::error_code abs_ec;
    fs::path full = fs::absolute(item, abs_ec).lexically_normal();
    if (abs_ec) {
        ec = abs_ec;
        return false;
    }
    if (!full.has_filename()) full = full.parent_path();
    struct stat item_st {};
    if (::lstat(full.c_str(), &item_st) != 0) {
        ec = last_error();
        return false;
    }
    // The item's folder, links resolved, so the device and mount point are the real ones.
    std::error_code canon_ec;
    const fs::path folder = fs::canonical(full.parent_path(), canon_ec);
    if (canon_ec) {
        ec = canon_ec;
        return false;
    }
    const fs::path real_item = folder / full.filename();

    const fs::path home_trash = home_trash_folder();
    std::error_code home_ec;
    fs::create_directories(home_trash.parent_path(), home_ec);
    struct stat home_st {};
    if (::stat(home_trash.parent_path().c_str(), &home_st) == 0 && home_st.st_dev == item_st.st_dev) {
        return move_into(home_trash, real_item, real_item.string(), ec);
    }
    // Another file system: its own trash below the mount point, with a path relative to it.
    const fs::path top = mount_point_of(folder, item_st.st_dev);
    const fs::path top_trash = top / (".Trash-" + std::to_string(::getuid()));
    const fs::path relative = real_item.lexically_relative(top);
    return move_into(top_trash, real_item, relative.string(), ec);
}

}  // namespace galvora
