#pragma once
// Script files (*.zsf): further script modules of a profile, kept in a file
// of their own. "!*name" starts a module, "!+text" is one line of it, "*" a
// comment; empty lines are skipped.
#include <string>

namespace galvora {

// Replaces the script-file modules with the file's and test-compiles each of
// them on its own; false after a message.
bool ZNSLoad(const std::string& file_name);
// Writes the script-file modules to the file; false after a message. The
// file is replaced in one step, so a failed write leaves the old one.
bool ZNSStore(const std::string& file_name);

}  // namespace galvora
