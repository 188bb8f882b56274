#pragma once
// Opens a generated page in the user's browser at the end of a run, through
// the desktop's document opener. Without a display nothing is opened.
#include <functional>
#include <string>

namespace galvora {

// Opens the page; an empty path, a missing display or a failing opener is
// ignored (the run reports nothing about it).
void browser_oeffnen(const std::string& page_path);

// Replaces the opener (tests); an empty function goes back to the desktop's.
void set_browser_opener(std::function<void(const std::string&)> opener);

}  // namespace galvora
