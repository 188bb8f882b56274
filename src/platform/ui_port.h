#pragma once
// Where message boxes and the input box go. The window program installs a
// port of its own; without one the headless port answers at once.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

class UiPort {
public:
    virtual ~UiPort() = default;
    // Shows a modal message box; returns the code of the button pressed
    // (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    virtual int message_box(std::string_view title, std::string_view text, int style) = 0;
    // Asks for a line of text; nullopt when the user cancelled.
    virtual std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) = 0;
    // The same with a title of its own above the prompt; a port without
    // titles asks as above.
    virtual std::optional<std::string> titled_input_box(std::string_view title, std::string_view prompt,
                                                        std::string_view preset) {
        (void)title;
        return input_box(prompt, preset);
    }
};

// The answer of a box's default button: the first button of the button set
// in the low four bits of the style, or the second or third when the
// default-button bits 0x100 or 0x200 ask for it.
int default_button_answer(int style);
// The answer codes of the box's buttons, in the order they stand.
const std::vector<int>& message_box_buttons(int style);
// What Esc answers: Cancel where the box has it, else No (a question left
// unanswered changes nothing), else OK in a box with OK alone; 0 where Esc
// does nothing (Abort/Retry/Ignore).
int escape_button_answer(int style);

// Headless: the text goes to stderr and to the line sink (the log), and the
// default answer is given without waiting.
class HeadlessUiPort : public UiPort {
public:
    int message_box(std::string_view title, std::string_view text, int style) override;
    std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) override;

    void set_line_sink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }

private:
    void report(std::string_view line) const;
    std::function<void(std::string_view)> sink_;
};

HeadlessUiPort& headless_ui_port();
// The port in use; the headless one until another is set.
UiPort& ui_port();
// Installs a port the caller keeps alive; nullptr goes back to the headless port.
void set_ui_port(UiPort* port);

}  // namespace galvora
