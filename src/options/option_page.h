#pragma once
// The option page: the base every page of the options dialog is built on.
// How to add a page is told in src/options/ADDING_A_PAGE.md.
//
// A page is a model without any toolkit. Its controls are PageControl records
// (page_control.h) holding all a view shows: value, text, caption, enabled,
// visible, colour, place. A view builds one widget per control, shows the
// state with its widgets' signals blocked, and forwards what the user did to
// the user_* calls below; no rule lives in a view.
//
// The protocol the dialog relies on:
//   InitDialog()    fills every control from the working settings (or from
//                   the edited object) and applies the enable rules;
//   InitLanguage()  records the design captions as the built-in German texts
//                   and takes every caption from the current language
//                   (section = Name(), key = the control's tag);
//   Name()          the page's class name, the section of its texts;
//   Width(), Height(), Left(), Top(), Move()  its natural size in twips;
//   BottomBorderHeight()  only on the pages that embed the script editor.
// Log lines "<Name> InitDialog START/END" and "<Name> InitLaguage START/END"
// are written around the two when a log is open.
//
// Controls report a value set by the page's own code as they report a user's
// edit, as the pages were designed for: setting a text from code runs its
// Change handlers when the text changes, ticking a check box runs its Click
// handlers, choosing an option button runs the Click handlers of the button
// that becomes chosen, moving a slider runs its Change handlers. Filling a
// page therefore writes the loaded values back (which changes nothing: the
// setter stores only a differing text) and runs the other effects of the
// handlers as well. While any page is being filled, messages are not shown:
// loading a profile never puts up a box; the effects a page's own text says
// a load has on purpose are listed in that page's header.
//
// Every edit goes straight into the working settings table through
// profilwert_setzen (or into the edited object), in the encodings of
// value_encodings.h. The bind_* calls wire a control to its value with the
// common rules (check box, free text, name box, number box, option group,
// slider, colour button, bit set, folder button, master switch).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/window_controls.h"
#include "options/page_control.h"

namespace galvora {

// Events a page raises to its host. A page declares at most two of them; the
// dialog knows them by their number in declaration order (1 and 2).
enum class PageEvent {
    BaumAnpassen,           // the dialog rebuilds its page tree (OptionenBaumAufbauen)
    AuswerteebeneGeändert,  // the evaluation level changed: the thumbnail-pages page reloads
    ClonenVerändert,        // cloning was switched: the thumbnail page reloads
    VerteilungVerändert,    // the thumbnail distribution changed: the index page reloads
    TextStampChanged,       // the effect editors' change events, handled by the
    ImageStampChanged,      // clone-effect list page (it redraws its preview)
    BorderChanged,
    BildEffekteChanged,
    SyntaxTest,             // the script editor asks its host for a syntax test
    SyntaxStatusReset,      // the script editor's text was changed by the user
};

// What the model asks of a view that only the widget can do.
enum class ViewRequest {
    Focus,      // give the control the input focus
    Undo,       // undo the last edit of the text box, when it can
    ResetUndo,  // the text box holds a new text: forget what could be undone
    DropDown,   // open the combo box's list
    EditLabel,  // start editing the label of the list's chosen row
    PopupMenu,  // show the menu (a control whose items are its entries) at the mouse
    Beep,       // the system's warning sound
};

// The events of a control, as the page's handlers see them.
enum class ControlEvent { Click, DblClick, Change, GotFocus, LostFocus, KeyDown, KeyUp, MouseUp };

// Key codes and shift bits of the key events.
inline constexpr int kKeyBack = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF2 = 113;
inline constexpr int kKeyF3 = 114;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;
// Mouse buttons of MouseUp.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

struct ControlEventArgs {
    ControlEvent event;
    PageControl& control;
    int key = 0;      // KeyDown, KeyUp
    int shift = 0;    // KeyDown, KeyUp, MouseUp
    int button = 0;   // MouseUp
    bool consumed = false;  // a KeyDown handler that sets it keeps the key from the control
};
using ControlHandler = std::function<void(ControlEventArgs&)>;

// Where a bound control's value lives: an entry of the working settings
// table (profile pages) or a property of the edited object (effect editors).
class ValueTarget {
public:
    static ValueTarget entry(int index);
    static ValueTarget property(std::function<std::string()> read, std::function<void(const std::string&)> write);

    std::string read() const;
    // Writes through profilwert_setzen, or through the property's setter.
    void write(const std::string& value) const;
    // The settings index, -1 for a property.
    int index() const { return index_; }

private:
    int index_ = -1;
    std::function<std::string()> read_;
    std::function<void(const std::string&)> write_;
};

// When a free text box writes.
enum class WriteOn { Change, LostFocus, ChangeAndLostFocus };

// A name box: a file or folder name that becomes part of an output path.
// While typing, an invalid non-empty name shows `invalid_key` and is written
// all the same. On leaving the box, an invalid or empty name is replaced by
// the default name, which is written, with a message.
struct NameRule {
    std::string default_name;
    std::string invalid_key;
    std::string missing_key;
    // On leaving: true shows `missing_key` for an empty text and `invalid_key`
    // for another invalid one; false shows `missing_key` for both.
    bool missing_key_only_when_empty = false;
    // On leaving: true shows the message before the default is put back.
    bool message_first = false;
    // Typing and the replacement on leaving ask the main window for a new
    // directory tree (TreeRebuildRequested).
    bool requests_tree_rebuild = false;
};

// The number box rule of profile pages: on leaving, a text that is no whole
// number or a number below the minimum becomes the fallback, which is
// written, with the message of the key. No upper bound.
struct MinimumRule {
    int32_t minimum = 0;
    int32_t fallback = 0;
    std::string key;
};

// The number box rule of the effect editors: on Enter and on leaving, a text
// that is no whole number or lies outside minimum..maximum puts the old value
// back and shows the key's message with the minimum as "%1" and the maximum
// as "%2"; then the value is written (also when unchanged).
struct RangeRule {
    int32_t minimum = 0;
    int32_t maximum = 0;
    std::string key;
};

// A folder button: the folder chooser starts at the box's text; a chosen
// folder becomes the box's text, whose own Change handler writes it. The
// prompt and the caption are language texts of the page.
struct FolderRule {
    int32_t root = 0;
    int32_t flags = 0;
    std::string prompt_key;
    std::string caption_key;
};

class OptionPage : public ControlWindow {
public:
    // `name` is the page's class name ("CHTML"); width and height are its
    // natural size in twips.
    OptionPage(std::string name, double width, double height);
    ~OptionPage() override;
    OptionPage(const OptionPage&) = delete;
    OptionPage& operator=(const OptionPage&) = delete;

    // ---- the page protocol
    virtual void InitDialog();
    virtual void InitLanguage();
    const std::string& Name() const { return name_; }
    std::vector<WindowControl*> Controls() { return controls(); }
    double Width() const { return width_; }
    double Height() const { return height_; }
    double Left() const { return left_; }
    double Top() const { return top_; }
    // Places the page; resized() runs afterwards.
    void Move(double left, double top, double width, double height);
    // Pages that embed the script editor keep this much room (twips) free below it.
    virtual bool has_bottom_border() const { return false; }
    virtual void BottomBorderHeight(int32_t) {}

    // ---- events to the host
    const std::vector<PageEvent>& declared_events() const { return events_; }
    // 1 or 2 by declaration order; 0 when the page does not declare it.
    int event_number(PageEvent event) const;
    // The host's reaction; one handler per event.
    void connect(PageEvent event, std::function<void()> handler);

    // ---- controls
    PageControl* find(std::string_view name, int index = -1) const;
    // The control; throws std::out_of_range when the page has no such control.
    PageControl& control(std::string_view name, int index = -1) const;
    const std::vector<std::unique_ptr<PageControl>>& all_controls() const { return controls_; }
    // The page itself as the container of its top-level controls.
    const WindowControl& root() const { return root_; }

    // ---- what the user did, forwarded by a view
    // A click: a check box toggles (0 and 2 become 1, 1 becomes 0), an option
    // button becomes the chosen one of its group; then the Click handlers run.
    void user_click(PageControl& control);
    void user_double_click(PageControl& control);
    // Typing: the new text; the Change handlers run when it differs.
    void user_text(PageControl& control, const std::string& text);
    // A slider or scroll bar moved: its Change handlers run when the value differs.
    void user_value(PageControl& control, int32_t value);
    // An item of a combo box or list was chosen (0-based): its Click handlers run.
    void user_choose(PageControl& control, int32_t position);
    void user_focus_in(PageControl& control);
    void user_focus_out(PageControl& control);
    // KeyDown or KeyUp; true when a handler consumed the key.
    bool user_key(PageControl& control, ControlEvent event, int key, int shift);
    void user_mouse_up(PageControl& control, int button, int shift);
    // The caret or selection of a text box moved (characters); no handler runs.
    void user_caret(PageControl& control, int32_t selection_start, int32_t selection_length);

    // Requests for the view, taken (and so cleared) by the view after it has
    // shown the state.
    std::vector<std::pair<PageControl*, ViewRequest>> take_view_requests();

    // ---- views watch the page
    // Called after every change of the page's state (one listener, the view).
    void set_listener(std::function<void()> listener) { listener_ = std::move(listener); }
    void changed() const;

    // True while any page is being filled by its InitDialog: no message is shown.
    static bool filling();

    // ControlWindow
    std::string name() const override { return name_; }
    std::string caption() const override { return {}; }
    void set_caption(const std::string&) override {}
    std::vector<WindowControl*> controls() override;

protected:
    // ---- building a page (in its constructor)
    PageControl& add(PageControlKind kind, std::string name, std::string tag, std::string caption, TwipRect place,
                     const WindowControl* container = nullptr, int index = -1);
    void declare_events(std::initializer_list<PageEvent> events);
    void on(PageControl& control, ControlEvent event, ControlHandler handler);
    void raise(PageEvent event);

    // ---- changing state from code, reported as the controls report it
    // Check box: Click when the value changes. Option button set to 1: the
    // other buttons of its group (same name) go to 0 and its Click runs when
    // it was not chosen. Slider, scroll bar: Change when the value changes.
    // Combo box, list: Click when the position changes.
    void set_value(PageControl& control, int32_t value);
    // Change when the text changes.
    void set_text(PageControl& control, const std::string& text);
    friend class PageControl;

    // ---- bindings: the control shows and writes its value with the common
    // rule; `after` runs after every write the rule makes.
    using After = std::function<void()>;
    // "0"/"1" on Click; filled with the value read as a 16-bit integer.
    void bind_check_box(PageControl& box, ValueTarget target, After after = {});
    // The text as typed; filled with the value unchanged.
    void bind_text(PageControl& box, ValueTarget target, WriteOn when = WriteOn::Change, After after = {});
    void bind_name_box(PageControl& box, ValueTarget target, NameRule rule, After after = {});
    // The text as typed on Change; the minimum rule on leaving.
    void bind_number_box(PageControl& box, ValueTarget target, MinimumRule rule, After after = {});
    // The range rule on Enter and on leaving (effect editors).
    void bind_range_box(PageControl& box, ValueTarget target, RangeRule rule, After after = {});
    // The option buttons of the control array `name`: each button (by its
    // index) stands for a code; a Click writes the code. Filled by choosing
    // the button whose code equals the value read as a 16-bit integer; a
    // value no button stands for chooses none and writes nothing.
    void bind_option_group(std::string_view name, ValueTarget target, std::vector<std::pair<int, int32_t>> codes,
                           After after = {});
    // The same with every button's index as its code.
    void bind_option_group(std::string_view name, ValueTarget target, After after = {});
    // The same for buttons of one group given one by one with their codes.
    // With `by_text` a button is chosen when its code, written as text,
    // equals the stored text ("1.0" then chooses none).
    void bind_option_group(std::vector<std::pair<PageControl*, int32_t>> buttons, ValueTarget target,
                           After after = {}, bool by_text = false);
    // Makes option buttons of different names one group (buttons that share
    // a frame in the design but not a name).
    void join_option_group(const std::string& group, std::initializer_list<PageControl*> buttons);
    // A slider or scroll bar: its value as an integer on every change. A value
    // it cannot show is shown at the nearest end without being written.
    void bind_slider(PageControl& slider, ValueTarget target, After after = {});
    // A colour button and its colour field: the colour chooser (title: the
    // page's text of `title_key`) starts at the field's colour; a new colour
    // becomes the field's background and is written. Cancel or the same
    // colour writes nothing. The field is filled with the stored colour.
    void bind_colour_button(PageControl& button, PageControl& field, ValueTarget target, std::string title_key,
                            After after = {});
    // Check boxes that together make a bit set: any click writes the sum of
    // the ticked boxes' bits. Filled all at once, so no half-filled sum is
    // ever written.
    void bind_bit_set(std::vector<std::pair<PageControl*, int32_t>> boxes, ValueTarget target, After after = {});
    void bind_folder_button(PageControl& button, PageControl& box, FolderRule rule);
    // A step of the page's own in the fill order (a control filled by a rule
    // of the page, an enabled state that follows what was just filled).
    void fill_step(std::function<void()> step);
    // The master switch (a check box): a Click writes "0"/"1", raises
    // `raises` in order (BaumAnpassen by default, when the page declares it)
    // and fills the page again. Filling applies the master rule: when the
    // value is on, every control is enabled and narrower_rules() runs;
    // otherwise every control is disabled but the master box.
    void bind_master_switch(PageControl& box, ValueTarget target, std::vector<PageEvent> raises = {},
                            After after = {});

    // ---- the parts of InitDialog a page may change
    // Runs the bindings' fills in the order they were bound.
    virtual void fill();
    // The master rule (when there is a master switch), then narrower_rules().
    virtual void apply_rules();
    virtual void narrower_rules() {}
    // After Move: a page that lays out its controls by its size.
    virtual void resized() {}
    // After the design captions and the current language's captions are set:
    // the texts a page reads in code.
    virtual void language_texts() {}

    // ---- shared services
    // A message of section "Msg" under the program title; nothing while pages
    // are being filled. Returns the button pressed (1 OK when not shown).
    int message(std::string_view key, int style = 48, const std::vector<std::string>& arguments = {}) const;
    // The page's text of a key in the current language (section Name()).
    std::string text_of(std::string_view key) const;
    // The main window rebuilds its directory tree after the dialog closes.
    static void request_tree_rebuild();
    // Asks the view for what only the widget can do.
    void request(PageControl& control, ViewRequest request);

    // Marks the page as filling for its lifetime; nests.
    class FillScope {
    public:
        FillScope();
        ~FillScope();
        FillScope(const FillScope&) = delete;
        FillScope& operator=(const FillScope&) = delete;
    };

private:
    struct RootControl : WindowControl {
        ControlKind kind() const override { return ControlKind::PictureBox; }
    };
    struct Handler {
        PageControl* control;
        ControlEvent event;
        ControlHandler handler;
    };

    void run(PageControl& control, ControlEvent event);
    void run(ControlEventArgs& args);
    void fill_check_box(PageControl& box, const ValueTarget& target);

    std::string name_;
    double width_;
    double height_;
    double left_ = 0;
    double top_ = 0;
    RootControl root_;
    std::vector<std::unique_ptr<PageControl>> controls_;
    std::vector<Handler> handlers_;
    std::vector<PageEvent> events_;
    std::vector<std::pair<PageEvent, std::function<void()>>> connections_;
    std::vector<std::function<void()>> fills_;
    PageControl* master_ = nullptr;
    ValueTarget master_target_;
    std::function<void()> listener_;
    std::vector<std::pair<PageControl*, ViewRequest>> requests_;
};

}  // namespace galvora
