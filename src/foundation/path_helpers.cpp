#include "foundation/path_helpers.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "foundation/error.h"
#include "foundation/file_helpers.h"
#include "foundation/program_info.h"
#include "foundation/string_helpers.h"
#include "platform/user_folders.h"

namespace galvora {

PathParts pfad_zerlegen(std::string_view path) {
    PathParts parts;
    std::string_view rest = path;
    const auto slash = rest.rfind('/');
    if (slash != std::string_view::npos) {
        std::string_view dir = rest.substr(0, slash);
        if (!dir.empty() && dir.front() == '/') dir.remove_prefix(1);
        parts.directory = std::string(dir);
        rest = rest.substr(slash + 1);
    }
    const auto dot = rest.rfind('.');
    if (dot != std::string_view::npos) {
        parts.name = std::string(rest.substr(0, dot));
        parts.extension = std::string(rest.substr(dot + 1));
    } else {
        parts.name = std::string(rest);
    }
    return parts;
}

bool dateiname_gueltig(std::string_view name) {
    if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
    if (name.front() == '$') return false;
    if (name == "." || name == "..") return false;
    if (utf8_length(name) > 255) return false;
    for (char c : name) {
        switch (c) {
            case '"': case '/': case '\\': case ':': case '|': case '<': case '>': case '*': case '?':
            case '\0':
                return false;
            default: break;
        }
    }
    return true;
}

bool pfadname_gueltig(std::string_view path) {
    if (path.empty() || utf8_length(path) > 255) return false;
    if (path.front() != '/') return false;
    for (char c : path) {
        switch (c) {
            case '"': case '|': case '<': case '>': case '*': case '?': case '\0':
                return false;
            default: break;
        }
    }
    return true;
}

bool verzeichnis_existiert(std::string_view path, int mode) {
    if (path.empty()) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(std::string(path)), ec);
    if (ec || !std::filesystem::exists(status)) return false;
    const bool is_dir = std::filesystem::is_directory(status);
    if (mode == 1) return !is_dir;
    if (mode == 2) return is_dir;
    return true;
}

std::string MakeFullDir(std::string_view path, std::string* reached) {
    const std::string trimmed(trim_blanks(path));
    if (reached != nullptr) *reached = trimmed;
    if (trimmed.empty() || trimmed.front() != '/') {
        throw GalvoraError(1001, "MakeFullDir", "No valid Pathname");
    }
    auto create = [reached](const std::string& dir) {
        if (reached != nullptr) *reached = dir;
        if (::mkdir(dir.c_str(), 0777) == 0) return;
        const int err = errno;
        // An existing folder is passed over; anything else must still end as a
        // folder, or the creation failed (access denied is not success).
        if (verzeichnis_existiert(dir, 2)) return;
        const std::error_code ec(err == EEXIST ? ENOTDIR : err, std::generic_category());
        throw GalvoraError(error_number_from_system(ec), "MakeFullDir", ec.message());
    };
    for (std::size_t pos = trimmed.find('/', 1); pos != std::string::npos; pos = trimmed.find('/', pos + 1)) {
        if (pos > 0 && trimmed[pos - 1] == '/') continue;  // "//" names no new folder
        create(trimmed.substr(0, pos));
    }
    if (trimmed.size() > 1 && trimmed.back() != '/') create(trimmed);
    if (!verzeichnis_existiert(trimmed, 2)) {
        if (reached != nullptr) *reached = trimmed;
        const std::error_code ec(ENOTDIR, std::generic_category());
        throw GalvoraError(error_number_from_system(ec), "MakeFullDir", ec.message());
    }
    return trimmed;
}

std::string spezialordner_pfad(int folder_number) {
    switch (folder_number) {
        case 26: return (xdg_data_home() / "galvora").string();
        case 43: return program_folder().string();
        default: return {};
    }
}

}  // namespace galvora
