#pragma once
// The environment report at the head of the log: the program's version and
// place, the system, processor and memory, and the versions of the libraries
// the program works with.
#include <string>

#include "app/library_versions.h"

namespace galvora {

class OperatingSystem;

// "1,234,567" for 1234567.
std::string tausender_gruppiert(unsigned long long number);
// Writes the report into the log (nothing without a log).
void umgebung_protokollieren(const OperatingSystem& system);
void umgebung_protokollieren();

}  // namespace galvora
