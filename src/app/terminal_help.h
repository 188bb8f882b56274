#pragma once
// What the program says in a terminal before anything else: its usage and
// its version, asked for with the switches every command-line user tries.
#include <optional>
#include <ostream>
#include <string>

namespace galvora {

// The short usage: how to start the window and a batch run, the batch
// switches, the exit statuses and where the manual is.
std::string usage_text();
// The program's name and version, and the copyright line.
std::string version_text();

// Answers "--help"/"-h" (the usage) and "--version"/"-v" (the version),
// given alone, on `out`; the exit status then. Nothing for any other command
// line, which goes to the batch switches.
std::optional<int> answer_terminal_question(int argc, const char* const* argv, std::ostream& out);

}  // namespace galvora
