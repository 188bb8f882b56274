#pragma once
// Where the common dialogs go: the colour chooser, the open and save dialogs
// and the folder chooser. The window program installs a port that shows Qt's
// dialogs; without one every dialog answers as if the user had cancelled, so
// code that asks runs unchanged in a program without windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

class DialogPort {
public:
    virtual ~DialogPort() = default;

    // The colour chooser, fully opened, with `initial` (0x00BBGGRR) chosen and
    // the caption "<program title> - <title>". The chosen colour, or -1 when
    // the user cancelled.
    virtual int32_t ShowColorDialog(std::string_view title, int32_t initial) = 0;

    // The open dialog (save false) or the save dialog. `filter` holds pairs of
    // description and pattern, each item followed by a NUL character ("Script
    // files\0*.zsf\0All\0*.*\0"); the first pair is chosen. Flag 2 asks before
    // an existing file is overwritten. The chosen path, or "" when cancelled.
    virtual std::string ShowFileDialog(bool save, std::string_view filter, std::string_view proposed_name,
                                       std::string_view start_folder, std::string_view title, int32_t flags) = 0;

    // The folder chooser with the prompt inside it, the caption
    // "<program title> - <caption>" and the start folder chosen. A root of 17
    // starts at the computer's drives, a root below 1 at the desktop; flag 512
    // hides the button for new folders. The chosen folder, or "" when cancelled.
    virtual std::string BrowseForFolder(int32_t root, std::string_view start_folder, std::string_view prompt,
                                        std::string_view caption, int32_t flags) = 0;
};

// Flags of the dialogs as the callers pass them.
inline constexpr int32_t kFileDialogOverwritePrompt = 2;
inline constexpr int32_t kFolderDialogNoNewFolderButton = 512;
inline constexpr int32_t kFolderRootDrives = 17;

// Answers every dialog as cancelled.
class HeadlessDialogPort : public DialogPort {
public:
    int32_t ShowColorDialog(std::string_view, int32_t) override { return -1; }
    std::string ShowFileDialog(bool, std::string_view, std::string_view, std::string_view, std::string_view,
                               int32_t) override {
        return {};
    }
    std::string BrowseForFolder(int32_t, std::string_view, std::string_view, std::string_view, int32_t) override {
        return {};
    }
};

// The port in use; the headless one until another is set.
DialogPort& dialog_port();
// Installs a port the caller keeps alive; nullptr goes back to the headless port.
void set_dialog_port(DialogPort* port);

}  // namespace galvora
