#pragma once
// The common dialogs of the window program: Qt's colour chooser, file
// dialogs and folder chooser behind the DialogPort of platform/. Installed
// by the options dialog's view when it is made, unless a port is installed
// already.
#include "platform/dialog_port.h"

namespace galvora {

class QtDialogPort : public DialogPort {
public:
    int32_t ShowColorDialog(std::string_view title, int32_t initial) override;
    std::string ShowFileDialog(bool save, std::string_view filter, std::string_view proposed_name,
                               std::string_view start_folder, std::string_view title, int32_t flags) override;
    std::string BrowseForFolder(int32_t root, std::string_view start_folder, std::string_view prompt,
                                std::string_view caption, int32_t flags) override;
};

// The program's Qt dialog port.
QtDialogPort& qt_dialog_port();

}  // namespace galvora
