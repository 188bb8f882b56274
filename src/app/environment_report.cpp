#include "app/environment_report.h"

#include <curl/curlver.h>
#include <fontconfig/fontconfig.h>
#include <gif_lib.h>
#include <jconfig.h>
#include <libraw/libraw_version.h>
#include <png.h>
#include <tiffvers.h>

#include <string>

#include "app/main_window.h"
#include "foundation/log.h"
#include "foundation/program_info.h"
#include "platform/os_info.h"

namespace galvora {

namespace {

#define GALVORA_STRINGIFY2(x) #x
#define GALVORA_STRINGIFY(x) GALVORA_STRINGIFY2(x)

std::string fontconfig_version() {
    const int v = FcGetVersion();
    return std::to_string(v / 10000) + "." + std::to_string(v / 100 % 100) + "." + std::to_string(v % 100);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> bibliotheksversionen() {
    return {
        {"libjpeg-turbo", GALVORA_STRINGIFY(LIBJPEG_TURBO_VERSION)},
        {"libpng", png_get_libpng_ver(nullptr)},
        {"libtiff", std::to_string(TIFFLIB_MAJOR_VERSION) + "." + std::to_string(TIFFLIB_MINOR_VERSION) + "." +
                        std::to_string(TIFFLIB_MICRO_VERSION)},
        {"giflib", std::to_string(GIFLIB_MAJOR) + "." + std::to_string(GIFLIB_MINOR) + "." +
                       std::to_string(GIFLIB_RELEASE)},
        {"LibRaw", LIBRAW_VERSION_STR},
        {"fontconfig", fontconfig_version()},
        {"libcurl", LIBCURL_VERSION},
    };
}

std::string tausender_gruppiert(unsigned long long number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

void umgebung_protokollieren(const OperatingSystem& system) {
    if (global_log() == nullptr) return;
    log_line("Determinating Versioninfo START");
    log_line("Galvora Version " + versionstext());
    log_line("Galvora Location " + program_folder().string());
    log_line("Operating System " + system.Name() + " (" + system.ToString() + ", " + std::to_string(system.Major()) +
             "." + std::to_string(system.Minor()) + "." + std::to_string(system.Revision()) + ")");
    if (!system.Processor().empty())
        log_line("Processor " + system.Processor() + " Count " + std::to_string(system.ProcessorCount()));
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
