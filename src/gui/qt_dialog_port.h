#pragma once
// The common dialogs of the window program: Qt's file, folder and colour
// dialogs, modal over the active window and centred over it.
#include "platform/dialog_port.h"

namespace galvora::gui {

class QtDialogPort : public DialogPort {
public:
    std::string choose_file(const FileDialogRequest& request) override;
    std::string choose_folder(const std::string& start, const std::string& prompt, const std::string& title) override;
    std::optional<uint32_t> choose_colour(const std::string& title, uint32_t initial) override;
};

}  // namespace galvora::gui
