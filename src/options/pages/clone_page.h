#pragma once
// The page "Clonen": whether clones are made and how: the clone directory,
// the target size and how it is measured, the resampling filter, the JPEG
// quality (or a maximum file size with a minimum quality) and progressive
// saving, the TIFF compression, and the switches for new pictures only,
// emptying the clone directory, metadata and the file date.
//
// Master switch `CloneErzeugen` (GENERATE_CLONES); its Click raises
// BaumAnpassen (the renaming and effect pages appear or go) and then
// ClonenVerändert (the thumbnail page reloads).
//
// One slider shows the quality, or the minimum quality while a maximum file
// size is set, and writes the entry it shows. The file-format options show
// the frame of the type chosen in `BildtypOptionen`, which writes nothing.
//
// A load changes state on purpose only as filling the controls runs their
// handlers (writing back the loaded values changes nothing). The
// progressive-saving box is filled like every other box.
#include "options/option_page.h"

namespace galvora {

class CClonen : public OptionPage {
public:
    CClonen();

protected:
    void fill() override;
    void narrower_rules() override;
    void language_texts() override;

private:
    void max_size_clicked();
    void max_size_captions(bool on);
    // The quality slider shows the entry (quality or minimum quality).
    void show_quality(int index);
    void show_format_options();
};

}  // namespace galvora
