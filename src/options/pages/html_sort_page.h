#pragma once
// The page "Sortierung": the order of the directories (kind and direction)
// and the order of the pictures within a directory (kind and direction).
// Each is an option group whose button index is the stored code.
//
// The directory order is also the order of the main window's tree: a click
// on a directory button sets DirSortKind or DirSortDirection and
// TreeRebuildRequested. A load changes state on purpose in the same way: a
// profile whose directory order differs from the chosen buttons sets the
// main window's order and TreeRebuildRequested.
//
// The main window's order follows the same rule as the page tree's rebuild
// (apply_directory_sort): the stored order while HTML pages are made, name
// ascending otherwise. The page is only reachable while HTML pages are made,
// so a click always gives the clicked order; a load with HTML off cannot
// leave an order behind that depends on what was loaded before.
#include "options/option_page.h"

namespace galvora {

class CHTMLSortierung : public OptionPage {
public:
    CHTMLSortierung();
};

}  // namespace galvora
