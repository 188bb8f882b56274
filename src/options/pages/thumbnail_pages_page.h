#pragma once
// The page "Thumbnail-Seite": whether thumbnail pages are made, their
// file-name base, thumbnails per line, all thumbnails on one page or a new
// page after a number of lines (with the digits of the page number), the
// link sequence, extended navigation, where the navigation links stand, the
// creation date line and whether script in the document head is off.
//
// Master switch `mit_HTML_Thumbnailfestlegung` (GENERATE_THUMBPAGES); its
// Click raises BaumAnpassen. A click on a distribution button raises
// VerteilungVerändert, on which the dialog reloads the index page. The
// file-name base is only used while the base directory alone is evaluated
// (DIR_LEVEL 0); the dialog reloads this page when the level changes.
// A load changes state on purpose in these ways: a profile that splits its
// pages sets TreeRebuildRequested when the split button was not chosen, and a
// distribution other than the one shown reloads the index page.
#include "options/option_page.h"

namespace galvora {

class CHTMLThumbnails : public OptionPage {
public:
    CHTMLThumbnails();

protected:
    void narrower_rules() override;
};

}  // namespace galvora
