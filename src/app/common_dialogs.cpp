#include "app/common_dialogs.h"

#include "foundation/program_info.h"
#include "platform/dialog_port.h"

namespace galvora {

std::vector<std::pair<std::string, std::string>> dateifilter_zerlegen(std::string_view filter) {
    std::vector<std::string> parts;
    size_t at = 0;
    while (at < filter.size()) {
        const size_t nul = filter.find('\0', at);
        const size_t end = nul == std::string_view::npos ? filter.size() : nul;
        // Two NULs in a row end the list, as they do for the system's dialog.
        if (end == at) break;
        parts.emplace_back(filter.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

std::string dialogtitel(const std::string& caption) {
    return caption.empty() ? std::string() : product_name() + " - " + caption;
}

std::string ShowFileDialog(bool save, std::string_view filter, const std::string& preset,
                           const std::string& default_extension, const std::string& title, int32_t flags) {
    FileDialogRequest request;
    request.save = save;
    request.filters = dateifilter_zerlegen(filter);
    request.preset = preset;
    request.default_suffix = default_extension;
    request.title = product_name() + " - " + title;
    request.confirm_overwrite = (flags & kDateiUeberschreibenFragen) != 0;
    return dialog_port().choose_file(request);
}

std::string BrowseForFolder(int32_t root, const std::string& start, const std::string& prompt,
                            const std::string& caption, int32_t flags) {
    // Every folder of the file system can be reached from the desktop and
    // from the drive list alike; only file-system folders can be chosen.
    (void)root;
    (void)flags;
    return dialog_port().choose_folder(start, prompt, dialogtitel(caption));
}

int32_t ShowColorDialog(const std::string& caption, int32_t initial) {
    // A field that shows a system colour (top bit set) opens the chooser at
    // the colour the field shows; the port resolves it.
    const auto colour = dialog_port().choose_colour(dialogtitel(caption), static_cast<uint32_t>(initial));
    return colour ? static_cast<int32_t>(*colour & 0xFFFFFF) : -1;
}

}  // namespace galvora
