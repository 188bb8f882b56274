#pragma once
// The program's help: HTML pages in the folder help/ beside the program,
// opened in the desktop's browser. The contents page stands where the help
// file stood; a topic is a page of that folder, optionally with an anchor
// ("zng_doc703.htm#exif"); a help context number names the page of one
// options page.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

// The full path of the help's contents page, or "" when it is missing; set
// by `hilfedatei_einstellen` when the main window applies its language.
extern std::string HelpFilePath;

// The application's help file: the help operations do nothing while it is
// empty. The script editor clears it while it has the focus.
const std::string& hilfedatei();
void set_hilfedatei(std::string pfad);

// HelpFilePath := the contents page when it exists, else ""; the application's
// help file follows it.
void hilfedatei_einstellen();

// The contents page (the help menu); nothing while the help file is empty.
void HtmlHelpContents();
// A page of the help with an optional anchor; nothing while the help file is
// empty. Anchors are looked up in lower case, the case of every anchor of the
// help (script names are case-insensitive). A page that does not exist opens
// the contents page instead.
void HtmlHelpTopic(std::string_view topic);
// The page of a help context number; nothing for an unknown number.
void HtmlHelpContext(int kontext);

// The help menu of the main window: "ErrHelpMissing" with the expected path
// when there is no help, else the contents page.
void hilfe_menue();

// The help context numbers of the options pages and their pages (1001 to 1025).
const std::vector<std::pair<int, const char*>>& hilfekontexte();
// The page of a context number, "" for an unknown one.
std::string hilfeseite(int kontext);
// The page the script editor's F1 opens, followed by "#" and the word.
inline constexpr const char* kSkriptHilfeSeite = "zng_doc703.htm";
// The contents page's file name in the help folder.
inline constexpr const char* kHilfeInhalt = "index.html";

// The URL a topic opens: "file://" with the page's path, and the anchor.
std::string hilfe_url(std::string_view topic);

}  // namespace galvora
