#pragma once
// Where the common dialogs go (file open and save, folder, colour). The
// window program installs a port with the toolkit's dialogs; without one
// every dialog is cancelled at once, as nobody could answer it.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace galvora {

struct FileDialogRequest {
    bool save = false;
    // Description and patterns ("*.zsf;*.txt"), in the order offered; the first is preselected.
    std::vector<std::pair<std::string, std::string>> filters;
    std::string preset;          // file name (with or without folder) the dialog starts with
    std::string default_suffix;  // appended to a name typed without one
    std::string title;
    bool confirm_overwrite = false;
};

class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The chosen file, "" when cancelled.
    virtual std::string choose_file(const FileDialogRequest& request) = 0;
    // The chosen folder, "" when cancelled. `prompt` stands above the folders.
    virtual std::string choose_folder(const std::string& start, const std::string& prompt, const std::string& title) = 0;
    // The chosen colour (red + 256 * green + 65536 * blue), nullopt when cancelled.
    virtual std::optional<uint32_t> choose_colour(const std::string& title, uint32_t initial) = 0;
};

// The port in use; one that cancels every dialog until another is set.
DialogPort& dialog_port();
// Installs a port the caller keeps alive; nullptr goes back to the cancelling one.
void set_dialog_port(DialogPort* port);

}  // namespace galvora
