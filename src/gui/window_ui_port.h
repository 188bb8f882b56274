#pragma once
// The window program's message port: message boxes as Qt message boxes and
// the script's input box as the window "ZNSInputForm". The window program
// installs it with set_ui_port(&window_ui_port()); without it the headless
// port answers.
#include "platform/ui_port.h"

class QWidget;

namespace galvora {

class WindowUiPort : public UiPort {
public:
    int message_box(std::string_view title, std::string_view text, int style) override;
    std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) override;
};

WindowUiPort& window_ui_port();

// The window a box opens over: the active window, or none.
QWidget* box_owner();

}  // namespace galvora
