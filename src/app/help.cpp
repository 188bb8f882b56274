#include "app/help.h"

#include <algorithm>
#include <filesystem>

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "platform/launcher.h"
#include "platform/percent_encoding.h"

namespace galvora {

std::string HelpFilePath;

namespace {

std::string& anwendungs_hilfedatei() {
    static std::string pfad;
    return pfad;
}

std::filesystem::path hilfeordner() { return program_folder() / "help"; }

std::string klein(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

}  // namespace

const std::string& hilfedatei() { return anwendungs_hilfedatei(); }

void set_hilfedatei(std::string pfad) { anwendungs_hilfedatei() = std::move(pfad); }

void hilfedatei_einstellen() {
    std::error_code ec;
    const std::filesystem::path inhalt = hilfeordner() / kHilfeInhalt;
    HelpFilePath = std::filesystem::is_regular_file(inhalt, ec) ? inhalt.string() : std::string();
    set_hilfedatei(HelpFilePath);
}

std::string hilfe_url(std::string_view topic) {
    const size_t raute = topic.find('#');
    std::string seite(topic.substr(0, raute));
    std::string anker = raute == std::string_view::npos ? std::string() : klein(std::string(topic.substr(raute + 1)));
    const std::filesystem::path ordner = std::filesystem::path(hilfedatei()).parent_path();
    std::filesystem::path pfad = seite.empty() ? std::filesystem::path(hilfedatei()) : ordner / seite;
    std::error_code ec;
    // A topic names a page of the help folder and nothing outside it.
    const bool im_ordner = seite.find('/') == std::string::npos && seite != "." && seite != "..";
    if (!im_ordner || !std::filesystem::is_regular_file(pfad, ec)) {
        pfad = hilfedatei();
        anker.clear();
    }
    std::string url = "file://" + percent_encode(pfad.string());
    if (!anker.empty()) url += "#" + percent_encode(anker);
    return url;
}

void HtmlHelpContents() {
    if (hilfedatei().empty()) return;
    launcher_oeffnen(hilfe_url(""));
}

void HtmlHelpTopic(std::string_view topic) {
    if (hilfedatei().empty()) return;
    launcher_oeffnen(hilfe_url(topic));
}

void HtmlHelpContext(int kontext) {
    const std::string seite = hilfeseite(kontext);
    if (seite.empty()) return;
    HtmlHelpTopic(seite);
}

void hilfe_menue() {
    if (hilfedatei().empty()) {
        meldung(program_title(), MB_ICON_INFORMATION, "ErrHelpMissing", {(hilfeordner() / kHilfeInhalt).string()});
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

}  // namespace galvora
