#pragma once
// Copying a decoration image set (the buttons and pictures the page
// templates link to) into the decoration folder below the output root.
#include <string>

namespace galvora {

// Copies every file of the set DECO_SOURCE (a name in the program's decopool
// folder, or a full path) into output_root/DECO_PATH, making that folder (one
// level) when it is missing. With DECO_COPY_EVER 1 every file is copied, else
// only files the target does not hold yet. Each copy goes to a side file that
// replaces the target only when complete. A failure shows "ErrDecoMkDir" or
// "ErrDecoCopy" and gives false; files copied before it stay.
bool deko_kopieren(const std::string& output_root);

}  // namespace galvora
