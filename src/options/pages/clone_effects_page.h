#pragma once
// The page "Clone-Effekte": the profile's ordered list of clone effects (text
// stamps, image stamps, frames and picture effects), which the run applies to
// every clone in list order. It edits the working clone-effect list directly,
// no settings entry.
//
// Two faces: in chooser mode a combo box lists the effects and the editor of
// the chosen one (CTextStempel, CBildStempel, CRahmen, CBildEffekte, nested in
// this page) shows it; in list-editor mode ("..." button) a list with New
// (a menu of the four kinds), Delete, Up and Down takes the editors' place,
// and F2 renames the chosen effect. Beside both a preview shows the dialog's
// sample picture with all effects or only the current one applied, redrawn on
// every change an editor reports. The preview runs the very code the run
// uses for a clone: the picture object's clone-effect step over the sample,
// captured at the preview box's size; only a text stamp's text is drawn as it
// stands instead of running it as a script. The result is fitted into the
// box keeping its proportions and drawn at its top-left corner.
//
// "Show all effects" lives in the registry (LastSession/showallcloneeffects,
// ticked when missing). A deleted effect is no longer previewed: the preview
// is redrawn at once without it.
#include <memory>
#include <string>

#include "image/picture/picture_box_port.h"
#include "options/option_page.h"
#include "options/pages/clone_effect_editors.h"
#include "profile/clone_effect_list.h"

namespace galvora {

class CClonenEffekte : public OptionPage {
public:
    CClonenEffekte();
    ~CClonenEffekte() override;

    void ResetDialog();
    void InitDialog() override;

    // A label edit of a list row accepted by the user (0-based row).
    void user_label_edit(int32_t row, const std::string& text);

    // The nested editors, by their control names "CTextStempel1",
    // "CBildStempel1", "CRahmen1", "CBildEffekte1"; nullptr for other names.
    OptionPage* editor(std::string_view name) const;
    CTextStempel& text_editor() const { return *text_; }
    CBildStempel& image_editor() const { return *image_; }
    CRahmen& border_editor() const { return *border_; }
    CBildEffekte& effect_editor() const { return *effect_; }

    // 1-based position of the shown effect, 0 for none; the effect itself.
    long position() const { return position_; }
    const std::shared_ptr<CCloneEffekt>& aktueller_effekt() const { return current_; }

    // The preview: the sample with the effects applied, at the size they
    // left it, and as it is drawn into the box (fitted, top-left).
    const PictureBuffer& vorschau_bild() const { return picture_; }
    const PictureBuffer& vorschau() const { return shown_; }
    int32_t vorschau_breite() const;
    int32_t vorschau_hoehe() const;
    // How many times the preview was drawn (a change event drew it again).
    int vorschau_zaehler() const { return draws_; }

    // The dialog's sample picture as a picture box, and the sample as the
    // preview captures it at a size.
    static PictureBoxPort& beispielbild_box();
    static PictureBuffer beispiel_aufnehmen(int32_t width, int32_t height);

protected:
    void language_texts() override;

private:
    void FuelleEffektCombo();
    void FuelleEffektListe();
    void ZeigeEffekt();
    void SetzeListenStatus();
    void ZeichneVorschau();
    void new_effect(int kind);
    void delete_effect();
    void move(int direction);
    void select_row();

    std::unique_ptr<CTextStempel> text_;
    std::unique_ptr<CBildStempel> image_;
    std::unique_ptr<CRahmen> border_;
    std::unique_ptr<CBildEffekte> effect_;
    long position_ = 0;
    std::shared_ptr<CCloneEffekt> current_;
    bool initialising_ = false;
    PictureBuffer picture_;
    PictureBuffer shown_;
    int draws_ = 0;
};

}  // namespace galvora
