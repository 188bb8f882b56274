#include "foundation/program_info.h"

#include <system_error>

#ifndef GALVORA_VERSION_MAJOR
#error "GALVORA_VERSION_MAJOR, _MINOR and _PATCH come from the project version"
#endif

namespace galvora {

namespace fs = std::filesystem;

namespace {

fs::path& folder_override() {
    static fs::path folder;
    return folder;
}

fs::path find_program_folder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    const fs::path beside = exe.parent_path();
    if (fs::is_directory(beside / "languages", ec)) return beside;
    const fs::path installed = (beside / ".." / "share" / "galvora").lexically_normal();
    if (fs::is_directory(installed, ec)) return installed;
    return beside;
}

}  // namespace

fs::path program_folder() {
    if (!folder_override().empty()) return folder_override();
    static const fs::path found = find_program_folder();
    return found;
}

void set_program_folder(const fs::path& folder) { folder_override() = folder; }

std::string product_name() { return "Galvora"; }

int program_major() { return GALVORA_VERSION_MAJOR; }
int program_minor() { return GALVORA_VERSION_MINOR; }
int program_revision() { return GALVORA_VERSION_PATCH; }

std::string programmversion() {
    auto two_digits = [](int n) {
        std::string text = std::to_string(n);
        return text.size() < 2 ? "0" + text : text;
    };
    return std::to_string(program_major()) + "." + two_digits(program_minor()) + "." + two_digits(program_revision());
}

std::string version_kurz(std::string_view version) {
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t punkt = version.find('.', start);
        std::string_view teil = version.substr(start, punkt == std::string_view::npos ? std::string_view::npos
                                                                                      : punkt - start);
        const bool ziffern = !teil.empty() && teil.find_first_not_of("0123456789") == std::string_view::npos;
        if (ziffern) {
            const size_t erste = teil.find_first_not_of('0');
            teil = erste == std::string_view::npos ? std::string_view("0") : teil.substr(erste);
        }
        out += teil;
        if (punkt == std::string_view::npos) return out;
        out += '.';
        start = punkt + 1;
    }
}

std::string copyright_text() { return "Copyright \u00A9 2002-2024 Mervadon"; }

std::string dateibeschreibung() { return {}; }

bool kompiliert_laeuft() { return true; }

}  // namespace galvora
