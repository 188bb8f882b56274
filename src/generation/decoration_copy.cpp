#include "generation/decoration_copy.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "foundation/bounded_read.h"
#include "foundation/dialog_helpers.h"
#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "generation/output_folders.h"
#include "generation/output_paths.h"
#include "generation/output_record.h"
#include "generation/settings_access.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

bool copy_failed(const std::error_code& ec, const std::string& target) {
    meldung(program_title(), MB_ICON_EXCLAMATION, "ErrDecoCopy",
            {std::to_string(error_number_from_system(ec)), target});
    return false;
}

// A decoration set holds what pages link to: pictures, style sheets,
// scripts, fonts and pages. Anything else in the folder (a key, a password
// file, a shell's start file) is no decoration and is never published.
bool ist_dekodatei(const std::string& name) {
    static const char* const endungen[] = {"gif", "jpg", "jpeg", "png", "bmp", "svg", "webp", "ico", "avif",
                                           "css", "js", "woff", "woff2", "ttf", "otf", "eot", "htm", "html"};
    if (name.empty() || name.front() == '.') return false;
    const size_t punkt = name.rfind('.');
    if (punkt == std::string::npos) return false;
    std::string endung = name.substr(punkt + 1);
    for (char& c : endung) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* e : endungen)
        if (endung == e) return true;
    return false;
}

// A profile may come from a stranger: the set it names is taken only from a
// decoration pool, the program's own or the user's (decopool in the per-user
// data folder), never from another folder of the user's (an absolute path,
// a path that climbs with "..", a link leading out of the pool). Such a set
// is refused like a set that is not there; the folder read is the resolved
// one.
bool quelle_gueltig(const std::string& source, fs::path& resolved) {
    for (const fs::path& part : fs::path(source))
        if (part == "..") return false;
    std::error_code ec;
    resolved = fs::canonical(source, ec);
    if (ec) return false;
    return liegt_unter(resolved.string(), (program_folder() / "decopool").string()) ||
           liegt_unter(resolved.string(), (fs::path(spezialordner_pfad(26)) / "decopool").string());
}

// Copies through a temporary file in the target folder, so an existing file
// is replaced only by a complete copy. The copy is readable by everyone at
// most as far as the source was, and never executable or writable by others.
bool copy_whole(const fs::path& source, const fs::path& target, std::error_code& ec) {
    FILE* in = open_regular_file(source, ec);
    if (in == nullptr) return false;
    struct stat st {};
    const mode_t mode = ::fstat(fileno(in), &st) == 0 ? (st.st_mode & 0644) : 0600;
    OutputFile out(target.string(), false);
    bool ok = out.is_open() && ::fchmod(fileno(out.file()), mode | 0600) == 0;
    char buffer[65536];
    while (ok) {
        if (read_interrupted()) {
            ok = false;
            errno = EINTR;
            break;
        }
        const size_t n = std::fread(buffer, 1, sizeof buffer, in);
        if (n == 0) break;
        ok = std::fwrite(buffer, 1, n, out.file()) == n;
    }
    int err = ok ? 0 : errno;
    if (std::ferror(in)) {
        ok = false;
        err = EIO;
    }
    std::fclose(in);
    if (ok && !out.commit()) {
        ok = false;
        err = out.error();
    }
    if (!ok) ec = std::error_code(err != 0 ? err : out.error() != 0 ? out.error() : EIO, std::generic_category());
    return ok;
}

}  // namespace

bool deko_kopieren(const std::string& output_root) {
    const std::string source = dekopool_pfad(setting_text(kSetDecoSource));
    const std::string target = output_root + "/" + setting_text(kSetDecoPath);

    std::error_code ec;
    if (!unterordner_gueltig(output_root, setting_text(kSetDecoPath))) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
    } else if (!ausgabeordner_pruefen(output_root, target)) {
        return false;
    } else if (fs::is_directory(target, ec)) {
        remove_stale_temporaries(target);
    } else {
        ec.clear();
        fs::create_directory(target, ec);
    }
    if (!ec) ausgabeaufzeichnung().ordner_einrichten(target);
    if (ec) {
        meldung(program_title(), MB_ICON_EXCLAMATION, "ErrDecoMkDir",
                {std::to_string(error_number_from_system(ec)), target});
        return false;
    }

    // The names first, so a failing listing copies nothing.
    std::vector<std::string> names;
    fs::path folder;
    if (!quelle_gueltig(source, folder))
        return copy_failed(std::make_error_code(std::errc::no_such_file_or_directory), target + "/");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // Links are not followed, hidden files and folders stay behind, and
        // special files (devices, FIFOs, sockets) are never opened.
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec) || it->is_symlink(type_ec)) continue;
        std::string name = it->path().filename().string();
        if (!ist_dekodatei(name)) continue;
        names.push_back(std::move(name));
    }
    if (ec) return copy_failed(ec, target + "/");

    const bool always = setting_is_one(kSetDecoCopyEver);
    for (const std::string& name : names) {
        const fs::path to = fs::path(target) / name;
        if (!always && fs::exists(to, ec)) continue;
        ec.clear();
        if (!copy_whole(folder / name, to, ec)) return copy_failed(ec, to.string());
    }
    return true;
}

}  // namespace galvora
