#pragma once
// Message boxes with texts by key, placeholder filling, and the batch flags
// that a message box clears.
#include <string>
#include <string_view>
#include <vector>

#include "foundation/error.h"

namespace galvora {

// Message-box styles and answers as the program uses them.
enum : int {
    MB_OK_STYLE = 0,
    MB_OKCANCEL_STYLE = 1,
    MB_YESNOCANCEL_STYLE = 3,
    MB_YESNO_STYLE = 4,
    MB_ICON_STOP = 16,
    MB_ICON_QUESTION = 32,
    MB_ICON_EXCLAMATION = 48,
    MB_ICON_INFORMATION = 64,
};
enum : int { ID_OK = 1, ID_CANCEL = 2, ID_YES = 6, ID_NO = 7 };

// Set while a batch run is going; a message box clears it and sets batch_unterbrochen.
extern bool batchmodus;
extern bool batch_unterbrochen;

// The program's title, the title of its message boxes.
std::string program_title();

// Text of section "Msg" by key, placeholders filled, shown through the UiPort.
int meldung(std::string_view title, int style, std::string_view key,
            const std::vector<std::string>& arguments = {});
// The same with a literal text.
int meldung_text(std::string_view title, int style, std::string_view text,
                 const std::vector<std::string>& arguments = {});
// An error record that stops what the user asked for: number, source and
// description in a box with the program's title.
void fehler_melden(const ErrorInfo& error);
// "%1", "%2" ... by the arguments and "%n" by CR LF, in one pass over the
// original text: "%1" never eats the start of "%10", and an argument's own
// text is never searched for placeholders. A placeholder without argument
// stays as written.
std::string platzhalter_ersetzen(std::string_view text, const std::vector<std::string>& arguments);

}  // namespace galvora
