#pragma once
// Moving files and folders into the user's trash, the way the desktop's file
// managers do it (freedesktop.org trash): the item goes to Trash/files under a
// free name and a Trash/info/<name>.trashinfo records where it came from, so it
// can be restored from the desktop.
#include <filesystem>
#include <system_error>

namespace galvora {

// The home trash, $XDG_DATA_HOME/Trash.
std::filesystem::path home_trash_folder();

// Moves `item` (a file, folder or link; links are moved, never followed) into
// the home trash, or, when it lies on another file system, into that file
// system's $topdir/.Trash-$uid. False with ec set when it could not be moved;
// the item is then left where it was.
bool move_to_trash(const std::filesystem::path& item, std::error_code& ec);

}  // namespace galvora
