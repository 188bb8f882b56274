#pragma once
// Whether the program has a screen for its windows.
namespace galvora {

// A desktop session: DISPLAY (X11) or WAYLAND_DISPLAY is set and not empty.
// Only then is there anything to hand a page or a link to.
bool desktop_vorhanden();
// Windows can be made: a desktop, or a window platform named explicitly
// through QT_QPA_PLATFORM (the tests run the windows offscreen that way).
bool has_display();

}  // namespace galvora
