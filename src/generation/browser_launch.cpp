#include "generation/browser_launch.h"

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "platform/display.h"
#include "platform/launcher.h"
#include "platform/percent_encoding.h"

namespace galvora {

namespace {

std::function<void(const std::string&)>& opener_slot() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

// What the user opens by hand: the file behind a file: address, without
// its anchor; any other target as it stands.
std::string shown_target(const std::string& target) {
    constexpr std::string_view kFile = "file://";
    if (target.compare(0, kFile.size(), kFile) != 0) return target;
    const std::string address = target.substr(kFile.size());
    return percent_decode(address.substr(0, address.find('#')));
}

}  // namespace

bool browser_oeffnen(const std::string& page_path) {
    if (page_path.empty()) return false;
    if (opener_slot()) {
        opener_slot()(page_path);
        return true;
    }
    if (launcher_oeffnen(page_path)) return true;
    seite_nicht_geoeffnet(page_path);
    return false;
}

void seite_nicht_geoeffnet(const std::string& target) {
    if (batchmodus || !has_display()) return;
    meldung(program_title(), MB_ICON_EXCLAMATION, "ErrOpenFailed", {shown_target(target)});
}

void set_browser_opener(std::function<void(const std::string&)> opener) { opener_slot() = std::move(opener); }

}  // namespace galvora
