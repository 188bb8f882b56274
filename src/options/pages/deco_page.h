#pragma once
// The page "Deko-Angaben": the decoration files a run copies beside the
// pages. The name of the decoration folder in the output, whether decoration
// is copied, whether copies that exist are written again, and the source
// folder: a folder of the decoration pool beside the program (stored by its
// name, "standard") or any other folder (stored as its full path). The source
// box is light green while it names a folder, light red while it does not.
//
// A load changes state on purpose in these ways: a decoration folder name
// that differs from the box's sets TreeRebuildRequested, as typing does; the
// source controls are enabled exactly while the decoration is copied. A load
// never clears the stored source, also when the profile copies no
// decoration: only the user's unticking forgets it.
#include "options/option_page.h"

namespace galvora {

class CDeko : public OptionPage {
public:
    CDeko();

private:
    void source_changed(PageControl& box);
    void enable_source(bool on);
};

}  // namespace galvora
