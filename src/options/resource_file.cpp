#include "options/resource_file.h"

#include <system_error>

#include "foundation/string_helpers.h"

namespace galvora {

std::string resource_file(const std::filesystem::path& folder, std::string_view name) {
    // A name is one file of the folder, never a path leading elsewhere.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos) return {};
    std::error_code ec;
    const std::filesystem::path exact = folder / std::string(name);
    if (std::filesystem::is_regular_file(exact, ec)) return exact.string();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!utf8_equal_nocase(it->path().filename().string(), name)) continue;
        std::error_code type_ec;
        if (it->is_regular_file(type_ec)) return it->path().string();
    }
    return {};
}

}  // namespace galvora
