#include "foundation/messages.h"

#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/program_info.h"
#include "platform/ui_port.h"

namespace galvora {

bool batchmodus = false;
bool batch_unterbrochen = false;

std::string program_title() { return product_name(); }

namespace {

// Without a window program the boxes go to stderr; they belong in the log too.
void route_headless_boxes_to_log() {
    static bool done = false;
    if (done) return;
    done = true;
    headless_ui_port().set_line_sink([](std::string_view line) { log_line(line); });
}

}  // namespace

std::string platzhalter_ersetzen(std::string_view text, const std::vector<std::string>& arguments) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '%' || i + 1 >= text.size()) {
            out += c;
            ++i;
            continue;
        }
        char next = text[i + 1];
        if (next == 'n') {
            out += "\r\n";
            i += 2;
            continue;
        }
        if (next >= '1' && next <= '9') {
            // The whole run of digits names the argument.
            size_t end = i + 1;
            size_t number = 0;
            bool too_big = false;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
                if (number > arguments.size()) too_big = true;
                else number = number * 10 + static_cast<size_t>(text[end] - '0');
                ++end;
            }
            if (!too_big && number >= 1 && number <= arguments.size()) {
                out += arguments[number - 1];
                i = end;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

int meldung_text(std::string_view title, int style, std::string_view text, const std::vector<std::string>& arguments) {
    route_headless_boxes_to_log();
    const std::string filled = platzhalter_ersetzen(text, arguments);
    const int answer = ui_port().message_box(title, filled, style);
    // A batch run that had to show a box is no longer a batch run: the
    // program stays open afterwards.
    if (batchmodus) {
        batchmodus = false;
        batch_unterbrochen = true;
    }
    return answer;
}

void fehler_melden(const ErrorInfo& error) {
    meldung_text(program_title(), MB_ICON_EXCLAMATION, "Fehler %1%n%n%2%n%3",
                 {std::to_string(error.number), error.source, error.description});
}

int meldung(std::string_view title, int style, std::string_view key, const std::vector<std::string>& arguments) {
    return meldung_text(title, style, inq("Msg", key), arguments);
}

}  // namespace galvora
