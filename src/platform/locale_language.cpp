#include "platform/locale_language.h"

#include <cstdlib>

namespace galvora {

std::string locale_language() {
    const char* locale = nullptr;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    if (locale == nullptr) return {};
    // language[_territory][.codeset][@modifier]
    std::string language;
    for (const char* c = locale; *c != '\0' && *c != '_' && *c != '.' && *c != '@'; ++c) {
        const char ch = *c;
        language += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    }
    if (language == "c" || language == "posix") return {};
    return language;
}

}  // namespace galvora
