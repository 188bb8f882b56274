#pragma once
// The page "Index-Seite": whether the index page over all directories is
// made, its file name and folder, the entries per line, whether an entry
// links only the first of a directory's thumbnail pages, directory grouping,
// the creation date line, and whether script in its document head is off.
//
// Master switch `mit_HTML_Indexfestlegung` (GENERATE_INDEX); its Click
// raises BaumAnpassen. While all thumbnails of a directory stand on one page
// (HTML_SPLIT 0), "only the first thumbnail page" means nothing: the box is
// disabled and unticked. The dialog reloads this page whenever the thumbnail
// distribution changes.
// A load changes state on purpose in one way: with HTML_SPLIT 0 and the page
// on, HTML_INDEX_FIRST_THUMBPAGE becomes "0".
#include "options/option_page.h"

namespace galvora {

class CHTMLIndex : public OptionPage {
public:
    CHTMLIndex();

protected:
    void narrower_rules() override;
};

}  // namespace galvora
