#pragma once
// The program's help: HTML pages in the folder help/ beside the program,
// opened in the desktop's browser. The contents page stands where the help
// file stood; a topic is a page of that folder, optionally with "#" and an
// anchor ("zng_doc703.htm#exif"); a help context number names the page of
// one options page.
#include <string>
#include <utility>
#include <vector>

namespace galvora {

// The help's contents page, or "" when it is missing. Set when the main
// window applies its language; the help menu and the topics use it.
extern std::string HelpFilePath;

// Where the contents page is expected ("help/index.html" in the program folder).
std::string hilfedatei_erwartet();
// The contents page when it exists, else "".
std::string hilfedatei_ermitteln();

// Opens the contents; nothing while no help file is set.
void HtmlHelpContents();
// Opens a topic: a page of the help folder, optionally with "#" and an
// anchor. A topic that names no page there (or reaches outside the folder)
// opens the contents instead. Nothing while no help file is set.
void HtmlHelpTopic(const std::string& topic);
// The address the browser gets for a topic, "" when the topic names no page.
std::string hilfethema_adresse(const std::string& topic);
// The page of a help context number (the options dialog's F1); nothing for
// an unknown number or while no help file is set.
void HtmlHelpContext(int kontext);

// The help menu: "ErrHelpMissing" with the expected path when no help file
// is set, else the contents.
void hilfe_menue();

// The help context numbers of the options pages and their pages (1001 to 1025).
const std::vector<std::pair<int, const char*>>& hilfekontexte();
// The page of a context number, "" for an unknown one.
std::string hilfeseite(int kontext);

// The script editor's F1: the language reference at the entry of a word.
// Every anchor of the help is in lower case, and script names are not
// case-sensitive, so the word is looked up in lower case ("EXIF" finds exif).
inline constexpr const char* kSkriptHilfeSeite = "zng_doc703.htm";
std::string skript_hilfethema(const std::string& wort);

// The contents page's file name in the help folder.
inline constexpr const char* kHilfeInhalt = "index.html";

}  // namespace galvora
