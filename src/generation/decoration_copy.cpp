#include "generation/decoration_copy.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "foundation/dialog_helpers.h"
#include "foundation/file_helpers.h"
#include "foundation/messages.h"
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

// Copies through a side file in the target folder, so an existing file is
// replaced only by a complete copy.
bool copy_whole(const fs::path& source, const fs::path& target, std::error_code& ec) {
    fs::path side = target;
    side += ".galvora-part";
    // A link left under the side file's name would lead the copy elsewhere.
    if (!fs::is_directory(fs::symlink_status(side, ec))) fs::remove(side, ec);
    ec.clear();
    fs::copy_file(source, side, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(side, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(side, ignored);
        return false;
    }
    return true;
}

}  // namespace

bool deko_kopieren(const std::string& output_root) {
    const std::string source = dekopool_pfad(setting_text(kSetDecoSource));
    const std::string target = output_root + "/" + setting_text(kSetDecoPath);

    std::error_code ec;
    if (!unterordner_gueltig(output_root, setting_text(kSetDecoPath))) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
    } else if (!fs::is_directory(target, ec)) {
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
