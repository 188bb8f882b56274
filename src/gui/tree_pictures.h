#pragma once
// The sixteen-by-sixteen pictures of the selection tree's nodes, by key:
// "unchecked", "checked_alle", "checked_einige", the run's "checked_rot",
// "checked_gelb", "checked_grün", "checked_blau", and "VerzeichnisOffen".
#include <QIcon>
#include <map>
#include <string>

namespace galvora::gui {

// Every picture by its key; the tree view keeps its own set.
std::map<std::string, QIcon> baumbilder();

}  // namespace galvora::gui
