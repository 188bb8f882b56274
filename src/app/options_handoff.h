#pragma once
// The Options menu of the main window: shows the options dialog and takes
// back what it changed (level, a profile switch with that profile's last base
// directory, a requested tree rebuild, the clone directory).
#include <functional>

namespace galvora {

struct Startdialog;

// Set by option pages whose change needs a new selection tree.
extern bool TreeRebuildRequested;
// Set by the profile page when it made another profile current.
extern bool ProfileSwitched;

// The click on the Options menu item. `dialog_zeigen` shows the options
// dialog modally and returns when it is hidden (OK or Cancel); without one
// only the hand-off runs.
void MenueOptionenClick(Startdialog& window, const std::function<void()>& dialog_zeigen);

}  // namespace galvora
