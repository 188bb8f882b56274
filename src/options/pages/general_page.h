#pragma once
// The page "Allgemeines": settings of the user and the machine, not of a
// profile. The language of the windows (applied at once to the main window
// and the whole options dialog), the folder of the user's own profiles, and
// three choices kept in the registry section "LastSession": remembering the
// last base directory of each profile, remembering the last selection of
// each profile and directory, and whether files a run cleans up go to the
// trash or are deleted. Each is written the moment it is changed; Cancel of
// the dialog takes back the language (the dialog does that), the rest stays.
//
// The registry choices are read once, when the page is made; the language
// list is filled by the first InitDialog. Choosing another profile folder
// rebuilds the profile list and raises BaumAnpassen.
// A load changes no state on purpose.
#include <vector>

#include "options/option_page.h"

namespace galvora {

class ZNLanguage;

class CAllgemeines : public OptionPage {
public:
    CAllgemeines();

protected:
    void fill() override;
    // The list shows the language now current, also after the dialog's
    // Cancel took a choice back.
    void language_texts() override;

private:
    void language_chosen();
    void choose_profile_folder();
    void select_current_language();
    void colour_profile_folder(PageControl& box);

    // The language of each list item, in the list's order.
    std::vector<ZNLanguage*> item_languages_;
};

}  // namespace galvora
