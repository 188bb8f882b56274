#pragma once
// Help: the program's own HTML pages below the program folder, opened in the
// browser at their contents or at a topic.
#include <string>

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

// The help menu: "ErrHelpMissing" with the expected path when no help file
// is set, else the contents.
void hilfe_menue();

}  // namespace galvora
