#pragma once
// The page "Thumbnails": whether thumbnails are made and how: the thumbnail
// folder's name, whether it is emptied first, whether thumbnails are made
// from the clone, the size and how it is measured (longest side, width,
// height, or fitted into a box), the frame fill of a box that the thumbnail
// does not fill (a colour, or one matching the picture), the JPEG quality and
// whether small pictures are enlarged.
//
// Master switch `ThumbnailsErstellen` (THUMBNAILS); it raises no event. Only
// the size boxes of the chosen measure are shown, and the frame fill options
// only in box mode. Thumbnails from the clone are offered only while clones
// are made; the dialog reloads this page when cloning is switched.
// A load changes no state on purpose beyond the controls.
#include "options/option_page.h"

namespace galvora {

class CThumbnails : public OptionPage {
public:
    CThumbnails();

protected:
    void apply_rules() override;
    void narrower_rules() override;
};

}  // namespace galvora
