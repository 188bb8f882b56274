#include "options/dialog_layout.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/registry.h"
#include "options/options_dialog.h"
#include "profile/number_text.h"

namespace galvora {

namespace {

int32_t nearest(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// The boxes whose height counts as it is, in the order the load step takes them.
constexpr int kPlainBoxes[] = {16, 0, 12, 18, 13, 1, 11, 17, 14, 2, 3, 4, 6, 19, 7, 5};
constexpr int kLayoutBoxes[] = {15, 8, 9, 10};

// A stored size; nullopt when missing or no number.
std::optional<int32_t> stored_size(const char* name) {
    const std::string text = registry_lesen("Administration", name, "");
    int32_t value = 0;
    if (text.empty() || !text_to_int32(text, value)) return std::nullopt;
    return value;
}

void set_width(PageControl& control, double width) { control.state().place.width = std::max(0.0, width); }
void set_height(PageControl& control, double height) { control.state().place.height = std::max(0.0, height); }

}  // namespace

DialogLayout::DialogLayout(Optionen& dialog) : dialog_(dialog) {}

void DialogLayout::messen() {
    const TwipRect tree = dialog_.control("Optionen_Baum").state().place;
    const TwipRect heading = dialog_.control("Überschrift_Box").state().place;
    tree_right_ = nearest(tree.left + tree.width);
    page_top_ = nearest(tree.top + heading.height);

    int32_t max_width = 0;
    for (int b = 0; b < kPageBoxCount; ++b) max_width = std::max(max_width, nearest(dialog_.box(b).state().place.width));
    int32_t max_height = nearest(tree.height);
    for (int b : kPlainBoxes) max_height = std::max(max_height, nearest(dialog_.box(b).state().place.height));
    const double editor = dialog_.control("Frame_Tagdefinition").state().place.height +
                          dialog_.control("Tag_Info_Bezeichnung").state().place.height;
    for (int b : kLayoutBoxes)
        max_height = std::max(max_height, nearest(dialog_.box(b).state().place.height + editor));

    baum_links = nearest(tree.left);
    // The widest box keeps the gap to the tree on its left and the same margin
    // on its right, which the resize step keeps too; a fixed 45 twips here
    // cut the widest page at the smallest size.
    mindestbreite = nearest(tree_right_ + baum_links + max_width + baum_links);
    mindesthoehe = nearest(dialog_.control("Frame_Button").state().place.height + page_top_ + 180 + max_height);

    for (int b = 0; b < kPageBoxCount; ++b) {
        TwipRect& place = dialog_.box(b).state().place;
        place.left = baum_links + tree_right_;
        place.top = page_top_ + 180;
    }
}

StartSize DialogLayout::startgroesse(const ScreenInfo& screen) {
    log_line("Optionen LOAD Resize START");
    StartSize size;
    double w = stored_size("owidth").value_or(mindestbreite);
    if (w < mindestbreite) w = mindestbreite;
    if (screen.width < w) w = nearest(screen.width);
    double h = stored_size("oheigth").value_or(mindesthoehe);
    if (h < mindesthoehe) h = mindesthoehe;
    if (screen.height < h) h = nearest(screen.height);
    size.maximised = screen.width == w && screen.height == h;
    size.width = w;
    size.height = h;
    const int tx = std::max(1, screen.twips_per_pixel_x);
    const int ty = std::max(1, screen.twips_per_pixel_y);
    size.min_width_px = mindestbreite / tx;
    size.min_height_px = mindesthoehe / ty;
    size.max_width_px = nearest(screen.width) / tx;
    size.max_height_px = nearest(screen.height) / ty;
    twips_per_pixel = tx;
    width = w;
    height = h;
    log_line("Optionen LOAD Resize to " + number_to_text(static_cast<float>(w)) + ":" +
             number_to_text(static_cast<float>(h)) + "   " + std::to_string(mindestbreite) + ":" +
             std::to_string(mindesthoehe));
    log_line("Optionen LOAD Resize END");
    return size;
}

std::optional<std::pair<double, double>> DialogLayout::take_requested_size() { return std::exchange(requested_, {}); }

bool DialogLayout::Form_Resize(double scale_width, double scale_height, bool minimised) {
    if (minimised) return true;
    if (!subclassing && (scale_width < mindestbreite || scale_height < mindesthoehe)) {
        scale_width = std::max<double>(scale_width, mindestbreite);
        scale_height = std::max<double>(scale_height, mindesthoehe);
        requested_ = std::make_pair(scale_width, scale_height);
    }
    // A failure keeps every control where it was.
    std::vector<TwipRect> before;
    before.reserve(dialog_.all_controls().size());
    for (const auto& control : dialog_.all_controls()) before.push_back(control->state().place);
    try {
        place(scale_width, scale_height);
        width = scale_width;
        height = scale_height;
        dialog_.changed();
        return true;
    } catch (const std::exception& error) {
        size_t i = 0;
        for (const auto& control : dialog_.all_controls()) control->state().place = before[i++];
        log_line(std::string("Optionen Resize ERROR ") + error.what());
        // The dialog stays usable at its old layout: no stored setting is
        // removed and the program goes on.
        if (!failure_shown_) {
            failure_shown_ = true;
            meldung(program_title(), MB_ICON_STOP, "ErrOptiondialogResize");
        }
        return false;
    }
}

void DialogLayout::place(double scale_width, double scale_height) {
    const double m = baum_links;
    PageControl& heading = dialog_.control("Überschrift_Box");
    set_width(heading, scale_width - heading.state().place.left - m);
    const double w = heading.state().place.width;
    set_width(dialog_.control("Überschrift_Titel"), w);
    heading_colours_ = Farbverlauf(nearest(w / std::max(1, twips_per_pixel)), kHeadingGradientStart, kHeadingGradientEnd);

    PageControl& tree = dialog_.control("Optionen_Baum");
    PageControl& buttons = dialog_.control("Frame_Button");
    const double button_height = buttons.state().place.height;
    set_height(tree, scale_height - m - button_height - m);
    const double tree_bottom = tree.state().place.top + tree.state().place.height;
    buttons.state().place.top = tree_bottom + m;

    // A page box that stretches with the window, and the page in it.
    auto stretch = [&](int b, PageSlot slot, bool minus_own_top) {
        PageControl& box = dialog_.box(b);
        set_width(box, w);
        set_height(box, scale_height - box.state().place.top);
        if (OptionPage* page = dialog_.seite(slot)) {
            page->BottomBorderHeight(nearest(scale_height - tree_bottom));
            const TwipRect& place = box.state().place;
            page->Move(page->Left(), page->Top(), place.width,
                       std::max(0.0, place.height - (minus_own_top ? page->Top() : 0.0)));
        }
    };

    PageControl& editor = dialog_.control("Frame_Tagdefinition");
    if (dialog_.box(kBoxIncludeFile).state().visible) {
        stretch(kBoxIncludeFile, PageSlot::CZantoScript1, true);
        // The path box takes the line's whole width.
        set_width(dialog_.control("ZNSDatei"), dialog_.box(kBoxIncludeFile).state().place.width);
    } else if (editor.state().visible) {
        set_width(editor, w);
        set_height(editor, scale_height - editor.state().place.top - m - button_height);
        PageControl& input = dialog_.control("Tag_Input");
        set_width(input, w - edge_px * twips_per_pixel);
        set_height(input, editor.state().place.height - input.state().place.top);
        PageControl& caret = dialog_.control("tag_input_pos");
        caret.state().place.left = input.state().place.width - caret.state().place.width - m;
        set_width(dialog_.control("Tag_Info_Bezeichnung"), caret.state().place.left);
        PageControl& test = dialog_.control("FrameSyntaxTest");
        test.state().place.left =
            editor.state().place.left + (editor.state().place.width - test.state().place.width) / 2;
        test.state().place.top = buttons.state().place.top;
    } else if (dialog_.box(11).state().visible) {
        stretch(11, PageSlot::CZantoScript2, false);
    } else if (dialog_.box(kBoxProfile).state().visible) {
        PageControl& box = dialog_.box(kBoxProfile);
        set_width(box, w);
        set_height(box, scale_height - box.state().place.top -
                            dialog_.control("FrameSyntaxTest").state().place.height - m);
    } else if (dialog_.box(0).state().visible) {
        stretch(0, PageSlot::CDateifilter1, true);
    }
}

}  // namespace galvora
