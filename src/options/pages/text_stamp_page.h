#pragma once
// The text stamp editor "CTextStempel": one text stamp of the clone-effect
// list. The stamp text is a ZantoScript template whose output is written onto
// every clone ("%\" breaks a line); the page edits it with a caret indicator
// and a syntax test, and sets the font (the installed families, through
// fontconfig), height, weight and style, the colour or a readable colour
// chosen by the drawing, the opacity, one of nine positions with offsets, the
// direction, the alignment of several lines, and an optional background box
// and outline. It sits in the clone-effect list page, which hands it the
// stamp with InitDialog(stamp) and redraws its preview on TextStampChanged.
//
// Every edit goes into the stamp at once and raises TextStampChanged; the
// number boxes are tested on Enter and on leaving. Showing a stamp changes
// nothing in it: the controls take the stored values without writing them
// back (a font that is not installed leaves the list's choice as it was). The
// text box shows lines ended by LF; the stamp keeps them ended by CR LF, as
// the profile file stores them.
#include <string>

#include "options/option_page.h"
#include "profile/text_stamp.h"

namespace galvora {

class CTextStempel : public OptionPage {
public:
    CTextStempel();

    void ResetDialog();
    void InitDialog(CTextStamp& stamp);
    void InitDialog() override;
    CTextStamp* stempel() const { return stamp_; }

protected:
    void language_texts() override;

private:
    void fill_fonts();
    void CursorpositionAnzeigen();
    void syntax_test();
    ValueTarget property(int32_t (CTextStamp::*get)() const, void (CTextStamp::*set)(int32_t));
    void changed_event() { raise(PageEvent::TextStampChanged); }

    CTextStamp* stamp_ = nullptr;
    bool fonts_listed_ = false;
    std::string row_word_;
    std::string column_word_;
};

}  // namespace galvora
