#pragma once
// The program's icon, the one the install puts into the desktop's icon theme.
#include <QIcon>

namespace galvora::gui {

// The identifier of the launcher entry and the icon: the desktop finds both
// under it and matches the program's windows to its menu entry.
inline constexpr const char* kDesktopId = "org.mervadon.Galvora";

// The icon in each of its drawn sizes (16 to 256 pixels).
QIcon programm_symbol();

// Gives the application its icon and its launcher entry's name; every
// window made afterwards shows the icon.
void programm_symbol_setzen();

}  // namespace galvora::gui
