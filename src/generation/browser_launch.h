#pragma once
// Opens a generated page in the user's browser at the end of a run, or a
// help page, through the desktop's document opener. Without a display
// nothing is opened. A page that cannot be opened is said in a message that
// names the file, so the user can open it by hand.
#include <functional>
#include <string>

namespace galvora {

// Opens the page (a path or a file: address); false when it could not be
// opened, after the message. An empty path is ignored.
bool browser_oeffnen(const std::string& page_path);

// The message that a page or link could not be opened, with the file behind
// a file: address. The window program shows it; a batch run says nothing
// (no display is the rule there, and its end must not wait for a click).
void seite_nicht_geoeffnet(const std::string& target);

// Replaces the opener (tests); an empty function goes back to the desktop's.
void set_browser_opener(std::function<void(const std::string&)> opener);

}  // namespace galvora
