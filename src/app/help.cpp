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

std::string hilfedatei_erwartet() { return (program_folder() / "help" / kHilfeInhalt).string(); }

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

void HtmlHelpContext(int kontext) {
    const std::string seite = hilfeseite(kontext);
    if (!seite.empty()) HtmlHelpTopic(seite);
}

void hilfe_menue() {
    if (HelpFilePath.empty()) {
        meldung(program_title(), MB_ICON_INFORMATION, "ErrHelpMissing", {hilfedatei_erwartet()});
        return;
    }
    HtmlHelpContents();
}

const std::vector<std::pair<int, const char*>>& hilfekontexte() {
    // The options dialog gives each page box its number; the effect editors,
    // the script editor and the include file have theirs for links and F1.
    static const std::vector<std::pair<int, const char*>> kontexte = {
        {1001, "options-profile.html"},
        {1002, "options-zantoscript.html"},
        {1003, "options-file-filter.html"},
        {1004, "options-index-page.html"},
        {1005, "options-html.html"},
        {1006, "layout-picture-page.html"},
        {1007, "layout-thumbnail-page.html"},
        {1008, "layout-index-page.html"},
        {1009, "options-thumbnail-pages.html"},
        {1010, "options-picture-pages.html"},
        {1011, "options-thumbnails.html"},
        {1012, "options-clones.html"},
        {1013, "effect-text-stamp.html"},
        {1014, "effect-image-stamp.html"},
        {1015, "options-decoration.html"},
        {1016, "options-clone-renaming.html"},
        {1017, "options-general.html"},
        {1018, "effect-frame.html"},
        {1019, "effect-picture-effect.html"},
        {1020, "options-start-page.html"},
        {1021, "layout-start-page.html"},
        {1022, "script-editor.html"},
        {1023, "options-clone-effects.html"},
        {1024, "options-include-file.html"},
        {1025, "options-sorting.html"},
    };
    return kontexte;
}

std::string hilfeseite(int kontext) {
    for (const auto& [nummer, seite] : hilfekontexte())
        if (nummer == kontext) return seite;
    return {};
}

std::string skript_hilfethema(const std::string& wort) {
    std::string anker = wort;
    for (char& c : anker)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return std::string(kSkriptHilfeSeite) + "#" + anker;
}

}  // namespace galvora
