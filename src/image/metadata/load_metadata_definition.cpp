#include <filesystem>
#include <system_error>

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "image/metadata/metadata_definition.h"
#include "image/metadata/metadata_text.h"

namespace galvora {

// The program's load: metadata.def beside the program, messages through the
// message box. Kept apart from the tables so that the readers need nothing of
// the user interface.
bool LoadMetadataDefinition() {
    if (metadata_definition().loaded()) return true;
    const std::filesystem::path folder = program_folder();
    std::filesystem::path file = folder / "metadata.def";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (metadata_text::iequals(it->path().filename().string(), "metadata.def")) {
            file = it->path();
            break;
        }
    }
    return LoadMetadataDefinition(file, [](const std::string& title, const std::string& text) {
        meldung_text(title, MB_OK_STYLE | MB_ICON_EXCLAMATION, text, {});
    });
}

}  // namespace galvora
