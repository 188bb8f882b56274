#include "app/help.h"

#include <filesystem>
#include <system_error>

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "generation/browser_launch.h"
#include "platform/percent_encoding.h"

namespace galvora {

std::string HelpFilePath;

namespace {

std::string file_address(const std::filesystem::path& file, const std::string& anchor) {
    std::string address = "file://" + percent_encode(file.string());
    if (!anchor.empty()) address += "#" + percent_encode(anchor);
    return address;
}

}  // namespace

std::string hilfedatei_erwartet() { return (program_folder() / "help" / "index.html").string(); }

std::string hilfedatei_ermitteln() {
    const std::string expected = hilfedatei_erwartet();
    std::error_code ec;
    return std::filesystem::is_regular_file(expected, ec) ? expected : std::string();
}

void HtmlHelpContents() {
    if (HelpFilePath.empty()) return;
    browser_oeffnen(file_address(HelpFilePath, ""));
}

std::string hilfethema_adresse(const std::string& topic) {
    if (HelpFilePath.empty()) return {};
    const size_t hash = topic.find('#');
    const std::string page = topic.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? std::string() : topic.substr(hash + 1);
    // A topic is a page of the help folder itself: no folder part, so that a
    // topic can never open a file elsewhere.
    if (page.empty() || page.find('/') != std::string::npos || page == "." || page == "..") return {};
    const std::filesystem::path file = std::filesystem::path(HelpFilePath).parent_path() / page;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {};
    return file_address(file, anchor);
}

void HtmlHelpTopic(const std::string& topic) {
    if (HelpFilePath.empty()) return;
    const std::string address = hilfethema_adresse(topic);
    if (address.empty()) {
        HtmlHelpContents();
        return;
    }
    browser_oeffnen(address);
}

void hilfe_menue() {
    if (HelpFilePath.empty()) {
        meldung(program_title(), MB_ICON_INFORMATION, "ErrHelpMissing", {hilfedatei_erwartet()});
        return;
    }
    HtmlHelpContents();
}

}  // namespace galvora
