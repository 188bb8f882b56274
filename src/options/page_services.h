#pragma once
// What the option pages ask of the rest of the program beyond the settings:
// the three small dialogs they open (a new profile, a new script module, the
// extension list of a picture type), the help page of a word in the script
// editor, and the main window's captions after a language switch.
//
// The options dialog's window puts the small windows in here when it is made.
// Without a window each service has a plain stand-in: the small dialogs ask
// through the input box of the message port and apply the small windows' own
// rules (app/small_dialogs.h), the help opens its topic when there is a help
// file, and the main window does nothing.
#include <functional>
#include <memory>
#include <string>

namespace galvora {

class ZNModul;
class ZNModule;

struct PageServices {
    // "ProfilNeu": asks for a name, checks it, creates a user profile from the
    // current settings, saves and loads it. The name, "" when the user
    // cancelled or the profile could not be made.
    std::function<std::string()> profil_neu;
    // "modulneu": asks for a name, checks it and adds an empty module with
    // status 2 to the list (a module of that name is replaced after Yes). The
    // module, nullptr when cancelled.
    std::function<std::shared_ptr<ZNModul>(ZNModule&)> modul_neu;
    // "Dateiarten": shows and edits the extension list of one picture type,
    // settings entry 15 to 26; a changed list is written to the entry.
    std::function<void(int entry)> dateiarten;
    // Opens a help topic: a page of the help, "#" and an anchor
    // ("zng_doc703.htm#exif"). Nothing while the program has no help file.
    std::function<void(const std::string& topic)> help_topic;
    // Applies the current language to the main window again.
    std::function<void()> main_window_language;
};

// The services in use.
PageServices& page_services();
// Puts the stand-ins back.
void page_services_reset();
// The stand-ins, for a window that put its own services in and goes away.
PageServices page_service_stand_ins();

}  // namespace galvora
