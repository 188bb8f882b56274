#pragma once
// The include script file of the options dialog (page box 17): the path box
// `ZNSDatei` with the profile's ZANTOSCRIPT_FILE and the buttons open, save,
// save as and reset. The modules read from the file form the include-module
// list (ScriptFileModules()), which the include-file script page shows. The
// box's background says whether the file could be read or written: light
// green after a load or store, light red when the file is missing or failed,
// the window colour when the box is empty. Every change of the path reloads
// the list at once; nothing waits for OK.
#include <string>

namespace galvora {

class Optionen;

class IncludeFile {
public:
    explicit IncludeFile(Optionen& dialog);

    // Places the include line into box 17 and wires its controls.
    void build();

    // Runs on every change of the box's text, typed or set by a button.
    void ZNSDatei_Change();
    void ZNSDateiButton_Click();        // open
    void ZNSDateiSaveButton_Click();    // save
    void ZNSDateiSaveAsButton_Click();  // save as
    void ZNSDateiResetAsButton_Click(); // reset

    // Sets the box's text (its change handler runs when the text differs).
    void set_path(const std::string& path);
    const std::string& path() const;

private:
    Optionen& dialog_;
};

}  // namespace galvora
