#pragma once
// The page "Dateifilter": which files and folders a run looks at. The
// picture types taken (a right click on a type edits its file extensions),
// the Photo CD resolution, how deep below the base directory folders are
// evaluated, the file-name mask, and the picture oracle: script that decides
// for each picture, edited in the embedded script editor and tested as the
// template "_oracle".
//
// Every edit asks the main window for a new directory tree. A change of the
// evaluation level raises AuswerteebeneGeändert, on which the dialog reloads
// the thumbnail-pages page. The JP2 type is never offered.
// A load changes state on purpose in these ways: the directory tree is asked
// for again when a loaded value differs from the one shown, the thumbnail
// pages page is reloaded when the level differs, and the Photo CD resolution
// is available exactly while Photo CD pictures are taken.
#include "options/option_page.h"
#include "options/pages/script_editor.h"

namespace galvora {

class CDateifilter : public OptionPage {
public:
    CDateifilter();

    bool has_bottom_border() const override { return true; }
    void BottomBorderHeight(int32_t twips) override;
    CZantoScriptModul& editor() { return editor_; }

    // The settings entry of a type box's switch (3 to 14); its extensions are
    // at that entry + 12.
    static int type_entry(int box);

protected:
    void language_texts() override;
    void resized() override;

private:
    void oracle_test();
    void store_oracle();

    CZantoScriptModul editor_;
};

}  // namespace galvora
