#pragma once
// The page "Clone umbenennen": whether clones get new file names and how they
// are built: a mask ("%" the directory, "$" the file name, "#" a running
// number), the number's digits, a case conversion, and texts replaced in the
// file name (only when the mask holds "$"). Two live examples show the names
// the settings give two sample pictures, made by the routine the run names
// its clones with.
//
// Master switch `CloneUmbenennen` (CLONE_RENAME); it raises no event. Typing
// in the mask refills the page, so the find and replace boxes follow at once
// whether the mask holds "$".
//
// A load changes state on purpose only as filling the controls runs their
// handlers: the examples follow the loaded settings.
#include <string>

#include "options/option_page.h"

namespace galvora {

class CClonenUmbenennen : public OptionPage {
public:
    CClonenUmbenennen();

protected:
    void narrower_rules() override;
    void language_texts() override;

private:
    void ZeigeBeispiele();

    std::string sample_directory_;
    std::string sample_file1_;
    std::string sample_file2_;
};

}  // namespace galvora
