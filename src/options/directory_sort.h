#pragma once
// The order of the main window's directory tree, as the options dialog takes
// it from the working settings.
namespace galvora {

// DirSortKind and DirSortDirection (app/main_window.h) := DIR_SORT and
// DIR_SORTDIRECTION as integers while GENERATE_HTML is on, name (1) and
// ascending (0) otherwise. A value that is no number counts as 1 or 0.
void apply_directory_sort();

}  // namespace galvora
