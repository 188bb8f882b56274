#pragma once
// Text bound for a terminal or the plain-text log often carries names from a
// picture tree or a profile. A control character in such a name would move
// the terminal's cursor, clear its screen or start a forged line; here every
// control character but the line breaks of the text itself is shown as a
// visible escape instead: ESC as "\x1b", a C1 control as "\u009b".
#include <string>
#include <string_view>

namespace galvora {

// The text with its control characters escaped. Line feeds and CR LF pairs
// stay; a lone CR, which would send the cursor back over the line, is
// escaped. Applying it twice changes nothing more.
std::string steuerzeichen_maskiert(std::string_view text);

}  // namespace galvora
