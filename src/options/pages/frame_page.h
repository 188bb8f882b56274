#pragma once
// The frame editor "CRahmen": one frame of the clone-effect list, an inner
// frame (rectangular bands on chosen sides with edge offsets, or an ellipse;
// colour and opacity), an outer frame on chosen sides (a colour or one fitted
// to the picture) or a picture frame (a picture file tiled or stretched). It
// sits in the clone-effect list page, which hands it the frame with
// InitDialog(frame) and redraws its preview on BorderChanged.
//
// The page shows the settings of the frame's kind only, stacked below the
// width. The sides are eight boxes around an empty centre: four sides, each a
// bit of Position, and four corners, on exactly when both their sides are; a
// corner's click sets both its sides. A small preview shows the frame picture
// alone on a checkerboard.
//
// Every edit goes into the frame at once and raises BorderChanged (a number
// box also when its value did not change). Showing a frame changes nothing in
// it: the controls take the stored values without writing them back.
#include <array>

#include "options/option_page.h"
#include "profile/border.h"

namespace galvora {

class CRahmen : public OptionPage {
public:
    CRahmen();

    // Lays the page out for the frame's kind.
    void ResetDialog();
    void InitDialog(CBorder& border);
    void InitDialog() override;
    CBorder* rahmen() const { return border_; }

    // The preview of the frame picture (empty when there is none).
    const PictureBuffer& vorschau() const { return preview_; }
    // The preview box's drawing area in pixels.
    int32_t vorschau_breite() const;
    int32_t vorschau_hoehe() const;
    // The on/off flags of the eight side and corner boxes.
    const std::array<bool, 8>& seiten() const { return flags_; }

private:
    void position_clicked(int box);
    void show_flags();
    void choose_picture();
    void RahmenBildAnzeigen();
    ValueTarget property(int32_t (CBorder::*get)() const, void (CBorder::*set)(int32_t));
    void changed_event() { raise(PageEvent::BorderChanged); }

    CBorder* border_ = nullptr;
    std::array<bool, 8> flags_{};
    PictureBuffer backdrop_;
    PictureBuffer preview_;
};

}  // namespace galvora
