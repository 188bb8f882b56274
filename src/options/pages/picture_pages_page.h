#pragma once
// The page "Bild-Seite": whether a page is made for every picture, extended
// navigation, where the navigation links stand, the link sequence, the
// creation date line and whether script in the document head is off.
//
// Master switch `mit_HTML_Bildfestlegung` (GENERATE_PICPAGE); its Click
// raises BaumAnpassen. A load changes no state on purpose beyond the controls.
#include "options/option_page.h"

namespace galvora {

class CHTMLBildseite : public OptionPage {
public:
    CHTMLBildseite();
};

}  // namespace galvora
