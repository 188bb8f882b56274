#include "foundation/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "foundation/error.h"
#include "foundation/ole_date.h"
#include "foundation/output_file.h"
#include "foundation/program_info.h"
#include "foundation/string_helpers.h"
#include "platform/trash.h"

namespace galvora {

namespace fs = std::filesystem;

long error_number_from_system(const std::error_code& ec) {
    switch (ec.value()) {
        case ENOENT: return 53;
        case ENOTDIR: return 76;
        case EEXIST: return 58;
        case ENOSPC:
        case EDQUOT: return 61;
        case EACCES:
        case EPERM:
        case EROFS: return 70;
        default: return 75;
    }
}

std::vector<Verzeichnissatz> verzeichnis_einlesen(std::string_view folder) {
    std::vector<Verzeichnissatz> found;
    std::error_code ec;
    fs::directory_iterator it(fs::path(std::string(folder)), ec);
    if (ec) return found;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        std::error_code type_ec;
        if (!entry.is_directory(type_ec)) continue;  // follows links to folders
        Verzeichnissatz record;
        record.name = entry.path().filename().string();
        if (record.name == "." || record.name == "..") continue;
        std::error_code time_ec;
        const auto written = fs::last_write_time(entry.path(), time_ec);
        if (!time_ec) record.zeitstempel = ole_from_file_time(written);
        found.push_back(std::move(record));
    }
    std::sort(found.begin(), found.end(), [](const Verzeichnissatz& a, const Verzeichnissatz& b) {
        const int c = utf8_compare_nocase(a.name, b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return found;
}

bool datei_uebernehmen_wenn_geaendert(std::string_view target, std::string_view new_file) {
    const fs::path target_path{std::string(target)};
    const fs::path new_path{std::string(new_file)};
    std::error_code ec;
    const bool target_exists = fs::exists(target_path, ec);
    if (!target_exists || !same_file_contents(target_path.string(), new_path.string())) {
        // rename() replaces the target in one step: a failure leaves the old file in place.
        const int refused = replace_guard_check(target_path.string(), new_path.string());
        if (refused == 0 && ::rename(new_path.c_str(), target_path.c_str()) == 0) return true;
        const std::error_code rename_ec(refused != 0 ? refused : errno, std::generic_category());
        fs::remove(new_path, ec);
        throw GalvoraError(error_number_from_system(rename_ec), "datei_uebernehmen_wenn_geaendert",
                           rename_ec.message());
    }
    fs::remove(new_path, ec);
    return false;
}

bool dateizeit_setzen(std::string_view file, double when) {
    const auto seconds = ole_to_time_t(when);
    if (!seconds) return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = *seconds;
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, std::string(file).c_str(), times, 0) == 0;
}

bool verzeichnis_loeschen(std::string_view folder, int flags) {
    // An empty name would mean the current folder: never empty that by accident.
    if (folder.empty()) return false;
    const fs::path dir{std::string(folder)};
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return false;
    std::error_code canonical_ec;
    if (fs::canonical(dir, canonical_ec) == fs::path("/")) return false;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        entries.push_back(it->path());
    }
    if (ec) return false;
    bool all_gone = true;
    for (const fs::path& entry : entries) {
        std::error_code item_ec;
        if ((flags & kDeleteToTrash) != 0) {
            if (!move_to_trash(entry, item_ec)) all_gone = false;
        } else {
            // remove_all does not follow symbolic links: a link is removed, never its target.
            fs::remove_all(entry, item_ec);
            if (item_ec) all_gone = false;
        }
    }
    return all_gone;
}

std::string dateiversion(std::string_view file) {
    // Linux programs and libraries carry no version resource; only this program
    // knows its own version.
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !file.empty() && fs::equivalent(fs::path(std::string(file)), self, ec) && !ec) {
        return std::to_string(program_major()) + "." + std::to_string(program_minor()) + ".0." +
               std::to_string(program_revision());
    }
    return "NV";
}

}  // namespace galvora
