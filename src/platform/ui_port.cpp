#include "platform/ui_port.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "platform/terminal_text.h"

namespace galvora {

namespace {

UiPort* g_port = nullptr;

}  // namespace

const std::vector<int>& message_box_buttons(int style) {
    static const std::vector<std::vector<int>> sets = {
        {1},         // OK
        {1, 2},      // OK, Cancel
        {3, 4, 5},   // Abort, Retry, Ignore
        {6, 7, 2},   // Yes, No, Cancel
        {6, 7},      // Yes, No
        {4, 2},      // Retry, Cancel
        {2, 10, 11}, // Cancel, Try again, Continue
    };
    size_t set = static_cast<size_t>(style & 0x0F);
    return set < sets.size() ? sets[set] : sets[0];
}

int default_button_answer(int style) {
    const std::vector<int>& buttons = message_box_buttons(style);
    size_t wanted = static_cast<size_t>((style >> 8) & 0x0F);  // 0x000 first, 0x100 second, 0x200 third
    return wanted < buttons.size() ? buttons[wanted] : buttons.front();
}

// Message texts hold CR LF line breaks; each line goes out on its own so the
// log keeps one text per line.
void HeadlessUiPort::report(std::string_view text) const {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        // Names in a message are shown with their control characters escaped.
        const std::string line =
            steuerzeichen_maskiert(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        std::cerr << line << '\n';
        if (sink_) sink_(line);
        if (end == std::string_view::npos) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    std::cerr.flush();
}

int escape_button_answer(int style) {
    const std::vector<int>& buttons = message_box_buttons(style);
    const auto has = [&](int answer) { return std::find(buttons.begin(), buttons.end(), answer) != buttons.end(); };
    if (has(2)) return 2;
    if (has(7)) return 7;
    return buttons.size() == 1 && buttons.front() == 1 ? 1 : 0;
}

int HeadlessUiPort::message_box(std::string_view title, std::string_view text, int style) {
    std::string line(title);
    line += ": ";
    line += text;
    report(line);
    return default_button_answer(style);
}

std::optional<std::string> HeadlessUiPort::input_box(std::string_view prompt, std::string_view preset) {
    std::string line(prompt);
    line += ": ";
    line += preset;
    report(line);
    return std::string(preset);
}

HeadlessUiPort& headless_ui_port() {
    static HeadlessUiPort port;
    return port;
}

UiPort& ui_port() { return g_port != nullptr ? *g_port : headless_ui_port(); }

void set_ui_port(UiPort* port) { g_port = port; }

}  // namespace galvora
