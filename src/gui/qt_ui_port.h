#pragma once
// Message boxes and the input box of the window program: modal Qt dialogs
// over the active window. Esc gives the box's Cancel answer (OK in a box
// with OK alone, No in a Yes/No box) and does nothing where the box has
// none of these.
#include "platform/ui_port.h"

namespace galvora::gui {

class QtUiPort : public UiPort {
public:
    int message_box(std::string_view title, std::string_view text, int style) override;
    std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) override;
    std::optional<std::string> titled_input_box(std::string_view title, std::string_view prompt,
                                                std::string_view preset) override;
};

}  // namespace galvora::gui
