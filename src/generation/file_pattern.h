#pragma once
// File-name patterns of the picture filter: "*" any run of characters, "?"
// one character, "#" one digit, "[...]" one character of a list (ranges
// "a-z", "!" in front for "none of"). Letter case is ignored.
#include <string_view>

namespace galvora {

bool muster_passt(std::string_view name, std::string_view pattern);

}  // namespace galvora
