#include "generation/decoration_copy.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "foundation/dialog_helpers.h"
#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "generation/output_folders.h"
#include "generation/output_paths.h"
#include "generation/settings_access.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

bool copy_failed(const std::error_code& ec, const std::string& target) {
    meldung(program_title(), MB_ICON_EXCLAMATION, "ErrDecoCopy",
            {std::to_string(error_number_from_system(ec)), target});
    return false;
}

// Copies through a temporary file in the target folder, so an existing file
// is replaced only by a complete copy.
bool copy_whole(const fs::path& source, const fs::path& target, std::error_code& ec) {
    FILE* in = std::fopen(source.c_str(), "rb");
    if (in == nullptr) {
        ec = std::error_code(errno != 0 ? errno : ENOENT, std::generic_category());
        return false;
    }
    OutputFile out(target.string(), false);
    bool ok = out.is_open();
    char buffer[65536];
    while (ok) {
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
    if (ec) {
        meldung(program_title(), MB_ICON_EXCLAMATION, "ErrDecoMkDir",
                {std::to_string(error_number_from_system(ec)), target});
        return false;
    }

    // The names first, so a failing listing copies nothing.
    std::vector<std::string> names;
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        std::string name = it->path().filename().string();
        if (!name.empty() && name[0] == '.') continue;  // hidden files stay behind
        names.push_back(std::move(name));
    }
    if (ec) return copy_failed(ec, target + "/");

    const bool always = setting_is_one(kSetDecoCopyEver);
    for (const std::string& name : names) {
        const fs::path to = fs::path(target) / name;
        if (!always && fs::exists(to, ec)) continue;
        ec.clear();
        if (!copy_whole(fs::path(source) / name, to, ec)) return copy_failed(ec, to.string());
    }
    return true;
}

}  // namespace galvora
