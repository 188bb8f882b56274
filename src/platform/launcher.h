#pragma once
// Hands a page, a file or a link (http:, https:, mailto:, file:) to the
// desktop's opener, the way a user double-clicks it: the browser, the mail
// program or the viewer the desktop has chosen for it. The program never
// waits for what the opener starts.
#include <functional>
#include <string>

namespace galvora {

// True when a display is there to show what is opened (DISPLAY or WAYLAND_DISPLAY).
bool desktop_vorhanden();

// Opens the target; false when there is no display, the target is empty or
// the opener could not be started. Nothing is reported to the user: a
// desktop without a registered browser or mail program simply shows nothing.
bool launcher_oeffnen(const std::string& target);

// Replaces the opener (tests record what would be opened); an empty function
// goes back to the desktop's opener.
void set_launcher(std::function<bool(const std::string&)> opener);

}  // namespace galvora
