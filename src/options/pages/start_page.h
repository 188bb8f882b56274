#pragma once
// The page "Startseite": whether the frame start page is made, its file name
// (without extension), whether it is written into the base folder, and
// whether script in its document head is switched off.
//
// Master switch `mit_HTML_Frameseite` (GENERATE_FRAME); its Click raises
// BaumAnpassen, so the dialog shows or hides the start page's template node.
// A load changes no state on purpose beyond the controls.
#include "options/option_page.h"

namespace galvora {

class CHTMLStartseite : public OptionPage {
public:
    CHTMLStartseite();
};

}  // namespace galvora
