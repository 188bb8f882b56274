#include "platform/display.h"

#include <cstdlib>

namespace galvora {

namespace {

bool set_and_not_empty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool desktop_vorhanden() { return set_and_not_empty("DISPLAY") || set_and_not_empty("WAYLAND_DISPLAY"); }

bool has_display() { return desktop_vorhanden() || set_and_not_empty("QT_QPA_PLATFORM"); }

}  // namespace galvora
