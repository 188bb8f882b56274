#include "generation/browser_launch.h"

#include "platform/launcher.h"

namespace galvora {

namespace {

std::function<void(const std::string&)>& opener_slot() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

}  // namespace

void browser_oeffnen(const std::string& page_path) {
    if (page_path.empty()) return;
    if (opener_slot()) {
        opener_slot()(page_path);
        return;
    }
    launcher_oeffnen(page_path);
}

void set_browser_opener(std::function<void(const std::string&)> opener) { opener_slot() = std::move(opener); }

}  // namespace galvora
