#pragma once
// The image stamp editor "CBildStempel": the stamp picture of one image stamp
// of the clone-effect list, where it goes (one of nine cells with offsets, or
// stretched over the clone), its opacity, and a transparent colour with a
// tolerance, chosen by the colour chooser or picked from the preview with the
// mouse. It sits in the clone-effect list page, which hands it the stamp with
// InitDialog(stamp) and redraws its preview on ImageStampChanged.
//
// The page's own preview shows the stamp picture alone, fitted into its box
// and centred over a checkerboard, drawn with the stamp's opacity and
// transparent colour exactly as the run draws the stamp; every redraw raises
// ImageStampChanged. The eyedropper maps the mouse through the drawn
// rectangle to the stamp picture's own pixel, so the colour picked is the
// picture's, not the blended one shown.
//
// Every edit goes into the stamp at once. Showing a stamp changes nothing in
// it: the controls take the stored values (the tolerance slider the nearest
// whole percent) without writing them back. Without a loaded picture only the
// path box and its button are shown.
#include "options/option_page.h"
#include "options/pages/effect_editor_support.h"
#include "profile/image_stamp.h"

namespace galvora {

class CBildStempel : public OptionPage {
public:
    CBildStempel();

    void ResetDialog();
    void InitDialog(CImageStamp& stamp);
    void InitDialog() override;
    CImageStamp* stempel() const { return stamp_; }

    // The mouse on the preview (pixels of its drawing area): a press sets the
    // mouse-down flag and picks, a move picks while the flag is set, a release
    // clears it.
    void user_mouse_down(float x, float y);
    void user_mouse_move(float x, float y);
    void user_mouse_release();

    // The preview (empty when nothing is drawn) and the rectangle the stamp
    // picture was drawn into.
    const PictureBuffer& vorschau() const { return preview_; }
    const Einpassung& gezeichnet() const { return drawn_; }
    int32_t vorschau_breite() const;
    int32_t vorschau_hoehe() const;

private:
    void VorschauZeichnen();
    void FarbeAufnehmen(float x, float y);
    void choose_picture();
    void show_transparency(bool on);
    ValueTarget property(int32_t (CImageStamp::*get)() const, void (CImageStamp::*set)(int32_t));

    CImageStamp* stamp_ = nullptr;
    PictureBuffer backdrop_;
    PictureBuffer preview_;
    Einpassung drawn_;
    bool mouse_down_ = false;
};

}  // namespace galvora
