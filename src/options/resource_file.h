#pragma once
// Files the pages show from the program's folders (flag pictures of the
// languages, the default profile's sample picture). Shipped names are lower
// case while language files and profiles may name them in any case, so a
// name is found without regard to case when it does not exist as written.
#include <filesystem>
#include <string>
#include <string_view>

namespace galvora {

// The path of the file `name` in the folder: as written, else the one whose
// name differs only in case; "" when there is none (or it is a folder).
std::string resource_file(const std::filesystem::path& folder, std::string_view name);

}  // namespace galvora
