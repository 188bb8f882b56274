#pragma once
// One control of an option page as plain data: what it is, where it sits and
// everything a view shows of it. A page changes this state only; a view
// builds one widget per control and shows the state (see option_page.h).
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/dialog_helpers.h"
#include "foundation/window_controls.h"
#include "options/value_encodings.h"

namespace galvora {

// The kinds of control a page is made of. A view maps each to one widget.
enum class PageControlKind {
    Label,             // caption
    CheckBox,          // caption; value 0 unticked, 1 ticked (2 greyed)
    OptionButton,      // caption; value 1 for the chosen button of its group
    TextBox,           // text, one line
    MultiLineTextBox,  // text, lines ended by LF
    Button,            // caption
    Frame,             // caption; holds other controls
    PictureBox,        // back colour (a colour field) or a picture; may hold controls
    ComboBox,          // items; value = chosen position, -1 none
    ListBox,           // items; value = chosen position, -1 none
    Slider,            // value within minimum..maximum
    ScrollBar,         // value within minimum..maximum (used as a spinner)
    Custom,            // shown by a page's own view (an editor, a preview)
};

// A place in twips (1/1440 inch) relative to the control's container.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct ListItem {
    std::string text;
    std::string key;
    std::string image_key;  // the picture a view shows beside the text
};

// Everything a view shows of a control.
struct ControlState {
    std::string caption;
    std::string text;
    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    bool enabled = true;
    bool visible = true;
    bool bold = false;
    // Text alignment of labels: 0 left, 1 right, 2 centred.
    int alignment = 0;
    // 0x00BBGGRR, or a system colour; kNoColour keeps the view's own colour.
    uint32_t back_colour = kNoColour;
    uint32_t fore_colour = kNoColour;
    // Points; 0 keeps the view's own size.
    double font_size = 0;
    std::string tooltip;
    std::vector<ListItem> items;
    // The key of the picture a picture box shows ("BeispielImage"); tiled
    // pictures repeat over the whole box.
    std::string picture;
    bool tile_picture = false;
    // Text boxes: the selection in characters; the caret stands at its end.
    int32_t selection_start = 0;
    int32_t selection_length = 0;
    TwipRect place;

    static constexpr uint32_t kNoColour = 0xFFFFFFFF;
};

class OptionPage;

// A control of a page. It also answers the shared dialog routines through
// the interfaces of foundation/: enabling by container, captions by tag, the
// minimum rule of number boxes and the percent label over a slider.
class PageControl : public WindowControl, public TextField, public SliderControl, public LabelControl {
public:
    PageControl(OptionPage& page, std::string name, int index, PageControlKind kind, std::string tag,
                const WindowControl* container);

    // The name of the control, or of its control array.
    const std::string& name() const { return name_; }
    // The member index within a control array; -1 for a single control.
    int index() const { return index_; }
    // "Name" for a single control, "Name(3)" for a member of an array.
    std::string id() const;
    PageControlKind control_kind() const { return kind_; }
    OptionPage& page() const { return page_; }

    ControlState& state() { return state_; }
    const ControlState& state() const { return state_; }

    // WindowControl: what the language tables and steuerelemente_aktivieren use.
    ControlKind kind() const override;
    std::string tag() const override { return tag_; }
    std::optional<std::string> caption() const override;
    void set_caption(const std::string& text) override;
    const WindowControl* container() const override { return container_; }
    bool has_enabled() const override { return true; }
    void set_enabled(bool on) override { state_.enabled = on; }

    // TextField: setting the text from code reports a change, as in the page's
    // own filling (see OptionPage::set_text).
    std::string text() const override { return state_.text; }
    void set_text(const std::string& text) override;

    // SliderControl and LabelControl (twips).
    int value() const override { return state_.value; }
    int minimum() const override { return state_.minimum; }
    int maximum() const override { return state_.maximum; }
    double left() const override { return state_.place.left; }
    double width() const override { return state_.place.width; }
    void set_left(double left) override { state_.place.left = left; }

private:
    OptionPage& page_;
    std::string name_;
    int index_;
    PageControlKind kind_;
    std::string tag_;
    const WindowControl* container_;
    ControlState state_;
};

}  // namespace galvora
