#pragma once
// Keyboard access to the menu bar: each caption gets an accelerator ("&"
// before a character) so every entry is reached with Alt and one key.
#include <string>
#include <vector>

namespace galvora {

// For each caption in order: "&" before its first ASCII letter or digit that
// no earlier caption took (letter case ignored); a caption whose characters
// are all taken gets none. An "&" already in a caption is doubled, so it
// shows as written.
std::vector<std::string> menue_kuerzel(const std::vector<std::string>& captions);

}  // namespace galvora
