#pragma once
// The page "HTML": whether HTML pages are made at all, the HTML folder's name
// in the output, the pages' file extension, clean-up, write-only-if-changed,
// the browser start after a run, and the document type line and the html
// tag's attributes that every page carries.
//
// Master switch `HTML` (GENERATE_HTML); its Click raises BaumAnpassen, so the
// dialog adds or removes the HTML branches of its tree.
// A load changes state on purpose in one way: a profile whose HTML_BASE or
// HTML_EXTENSION differs from what the boxes showed sets
// TreeRebuildRequested, as typing there does.
#include "options/option_page.h"

namespace galvora {

class CHTML : public OptionPage {
public:
    CHTML();
};

}  // namespace galvora
