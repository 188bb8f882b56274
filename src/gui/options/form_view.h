#pragma once
// The view of one option page (or of the options dialog's own controls): it
// builds one widget per control of the page model, shows the controls' state
// with the widgets' signals blocked, and forwards what the user does to the
// page's user_* calls. It holds no rule; every decision is the model's.
//
// Kinds and widgets: Label QLabel, CheckBox QCheckBox, OptionButton
// QRadioButton (exclusivity is the model's), TextBox QLineEdit,
// MultiLineTextBox QPlainTextEdit (no wrapping: lines are the model's
// lines), Button QPushButton (never a default button), Frame QGroupBox,
// PictureBox PictureWidget, ComboBox QComboBox, ListBox QListWidget, Slider
// QSlider, ScrollBar QScrollBar, Custom a plain widget unless the owner's
// factory makes one. Places are the controls' twips, widened where a caption
// needs more room in the desktop's font (what stands to the right moves
// along; see extra_width). A Custom control whose widget is itself a
// FormView (an editor embedded in a page) is shown with its owner and
// forwards through it.
#include <QLabel>
#include <QWidget>

#include <functional>
#include <map>

namespace galvora {

class OptionPage;
class PageControl;
// options/option_page.h (kept out of here: moc reads this header).
enum class ViewRequest;
class WindowControl;

// A label that reports a click.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A widget a page's widget factory makes for a control the standard widgets
// cannot show (a preview, a list with label editing, a nested page). The
// form view positions, enables and shows it like any other; the widget shows
// the rest of the control's state itself (with its signals blocked) and takes
// the model's requests the form view does not handle (a drop-down, a label
// edit, a pop-up menu). It forwards what the user did through
// FormView::forward of the view it sits in.
class CustomControl {
public:
    virtual ~CustomControl() = default;
    virtual void show_control(PageControl& control) = 0;
    virtual void view_request(PageControl& control, ViewRequest request) {
        (void)control;
        (void)request;
    }
    // How many pixels wider than its place the widget needs to be to show
    // all it holds (a nested page whose captions grew).
    virtual int extra_width() const { return 0; }
};

class FormView : public QWidget {
    Q_OBJECT
public:
    // Makes the widget of a control itself, or returns nullptr for the default one.
    using WidgetFactory = std::function<QWidget*(PageControl& control, QWidget* parent)>;
    // Runs what the user did against the model and shows the result; the
    // dialog's view passes one that shows every page afterwards.
    using Forwarder = std::function<void(const std::function<void()>& action)>;

    FormView(OptionPage& page, QWidget* parent, WidgetFactory factory = {});

    void set_forwarder(Forwarder forwarder) { forwarder_ = std::move(forwarder); }
    // Runs after every showing of the state (a view of its own that shows
    // what the generic widgets cannot, such as a text's colours).
    void set_after_show(std::function<void()> after) { after_show_ = std::move(after); }
    // Shows the model's state, then does what the model asked of the widgets
    // (focus, undo).
    void refresh();
    QWidget* widget_of(const PageControl& control) const;
    PageControl* control_of(const QObject* widget) const;
    OptionPage& page() const { return page_; }
    // The focusable widgets in the page's order.
    std::vector<QWidget*> focus_chain() const;
    // Runs what the user did against the model and shows the result (through
    // the forwarder when one is set).
    void forward(const std::function<void()>& action);
    // The form view a widget sits in (the nearest one above it), or nullptr.
    static FormView* of(QWidget* widget);

    // Twips per pixel of the screen the view is on (15 at 96 dots per inch).
    static int twips_per_pixel();
    // How many pixels wider than the page's own width the view needs to be:
    // the controls are placed at the page's positions, widened to their
    // captions in the desktop's font with what stands to their right moved
    // along.
    int extra_width() const { return extra_width_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const WidgetFactory& factory);
    void show_state();
    QWidget* make(PageControl& control, QWidget* parent);
    void apply(PageControl& control, QWidget* widget);
    void report_caret(PageControl& control, QWidget* widget);
    void watch(QWidget* widget, PageControl& control);
    void place_controls(int tpp);

    OptionPage& page_;
    Forwarder forwarder_;
    std::function<void()> after_show_;
    std::map<const WindowControl*, QWidget*> widgets_;
    std::map<const QObject*, PageControl*> controls_;
    std::vector<std::pair<PageControl*, QWidget*>> order_;
    int extra_width_ = 0;
    bool refreshing_ = false;
    bool refresh_again_ = false;
};

}  // namespace galvora
