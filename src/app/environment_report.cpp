#include "app/environment_report.h"

#include <string>

#include "foundation/log.h"
#include "foundation/program_info.h"
#include "platform/os_info.h"

namespace galvora {

std::string tausender_gruppiert(unsigned long long number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

void umgebung_protokollieren(const OperatingSystem& system) {
    if (global_log() == nullptr) return;
    log_line("Determinating Versioninfo START");
    log_line("Galvora Version " + version_kurz(programmversion()));
    if (const std::string description = dateibeschreibung(); !description.empty())
        log_line("Galvora additional Information " + description);
    log_line("Galvora Location " + program_folder().string());
    log_line("Operating System " + system.Name() + " (" + system.ToString() + ", " + std::to_string(system.Major()) +
             "." + std::to_string(system.Minor()) + "." + std::to_string(system.Revision()) + ")");
    // One line per processor package; a package without a known clock ends
    // the processor lines, as a query that lacks a value does.
    for (const ProcessorPackage& package : system.Processors()) {
        if (package.name.empty() || package.clock_mhz.empty()) break;
        log_line("Processor " + package.name + " ClockSpeed " + package.clock_mhz);
    }
    if (system.MemoryBytes() != 0) log_line("Memory " + tausender_gruppiert(system.MemoryBytes()) + " Bytes");
    for (const auto& [name, version] : bibliotheksversionen()) {
        log_line("Determinating Versioninfo " + name + " START");
        log_line("Determinating Versioninfo " + name + " " + version);
    }
    log_line("Determinating Versioninfo END");
}

void umgebung_protokollieren() {
    if (global_log() == nullptr) return;
    umgebung_protokollieren(OperatingSystem());
}

}  // namespace galvora
