#pragma once
// The picture effect editor "CBildEffekte": the kind of one picture effect of
// the clone-effect list (a kind chooser of 21 kinds; 6 to 10 are not offered)
// and that kind's parameters in its own frame of sliders, number boxes,
// colour fields, check boxes and option buttons. It sits in the clone-effect
// list page, which hands it the effect with InitDialog(effect) and redraws its
// preview on BildEffekteChanged.
//
// Every edit goes into the effect at once and raises BildEffekteChanged.
// Choosing a kind (also the one already set) loads that kind's defaults into
// the parameters; the effect counts as changed when that changed anything, so
// a restore of the defaults is never lost on OK.
//
// Showing an effect changes nothing in it: the controls take the stored
// values (a slider the nearest position it has, a value label the stored
// value with "." as decimal point) without writing them back. An effect of a
// kind without an item (6 to 10) shows no kind and no parameters, bound to
// that effect.
#include <string>
#include <vector>

#include "options/option_page.h"
#include "profile/picture_effect.h"

namespace galvora {

class CBildEffekte : public OptionPage {
public:
    CBildEffekte();

    // Shows the bound effect: every control enabled, the frame of its kind
    // with the stored parameters.
    void ResetDialog();
    // Binds the page to the effect and shows it.
    void InitDialog(CBildEffekt& effect);
    // Shows the bound effect again (nothing before the first binding).
    void InitDialog() override;
    CBildEffekt* effekt() const { return effect_; }

    // The kinds the chooser lists, in its order.
    struct Kind {
        int32_t kind;
        const char* key;
        const char* german;
        PageControl* frame;  // nullptr for the kinds without parameters
    };
    const std::vector<Kind>& kinds() const { return kinds_; }

protected:
    void language_texts() override;

private:
    // A slider of Table 2: its slot is L(slot) or D(slot) = position / divisor.
    struct SliderSlot {
        PageControl* slider;
        PageControl* label;  // nullptr: the percent label of the diffusion slider
        int32_t kind;
        int slot;
        bool is_double;
        double divisor;
        int decimals;
    };

    void add_kind(int32_t kind, const char* key, const char* german);
    void kind_chosen();
    void slider_moved(const SliderSlot& slot);
    void show_value_label(const SliderSlot& slot);
    ValueTarget long_slot(int slot);

    PageControl& frame_of(int32_t kind);
    PageControl& slider_row(int32_t kind, double top, const char* caption_tag, const char* caption, const char* slider,
                            const char* label, int32_t minimum, int32_t maximum, int slot, bool is_double,
                            double divisor, int decimals);
    PageControl& range_row(int32_t kind, double top, const char* caption_tag, const char* caption, const char* box,
                           int slot, int32_t minimum, int32_t maximum, const char* key);
    void colour_row(int32_t kind, double top, const char* caption_tag, const char* caption, const char* field,
                    const char* button, int slot, const char* title_key);

    CBildEffekt* effect_ = nullptr;
    bool initialising_ = false;
    std::vector<Kind> kinds_;
    std::vector<SliderSlot> sliders_;
    int labels_ = 0;
};

}  // namespace galvora
