#pragma once
// Hands a page, a file or a link (http:, https:, mailto:, file:) to the
// desktop's opener, the way a user double-clicks it: the browser, the mail
// program or the viewer the desktop has chosen for it. The program never
// waits for what the opener starts.
#include <functional>
#include <string>

#include "platform/display.h"

namespace galvora {

// Opens the target; false when there is no display, the target is empty or
// the opener could not be started. An opener that started but ends with an
// error (a desktop without a browser or mail program) is told to the
// failure reporter later, from a thread of its own.
bool launcher_oeffnen(const std::string& target);

// Replaces the opener (tests record what would be opened); an empty function
// goes back to the desktop's opener.
void set_launcher(std::function<bool(const std::string&)> opener);

// Who hears of an opener that ended with an error, with the target it was
// given; called on the thread that waited for the opener. An empty function:
// nobody (the program without windows).
void set_launch_failure_reporter(std::function<void(const std::string& target)> reporter);

}  // namespace galvora
