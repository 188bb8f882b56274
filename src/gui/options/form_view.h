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
// factory makes one. Places are the controls' twips.
#include <QLabel>
#include <QWidget>

#include <functional>
#include <map>

namespace galvora {

class OptionPage;
class PageControl;
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
    // Shows the model's state, then does what the model asked of the widgets
    // (focus, undo).
    void refresh();
    QWidget* widget_of(const PageControl& control) const;
    PageControl* control_of(const QObject* widget) const;
    OptionPage& page() const { return page_; }
    // The focusable widgets in the page's order.
    std::vector<QWidget*> focus_chain() const;

    // Twips per pixel of the screen the view is on (15 at 96 dots per inch).
    static int twips_per_pixel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const WidgetFactory& factory);
    void show_state();
    QWidget* make(PageControl& control, QWidget* parent);
    void apply(PageControl& control, QWidget* widget);
    void forward(const std::function<void()>& action);
    void report_caret(PageControl& control, QWidget* widget);
    void watch(QWidget* widget, PageControl& control);

    OptionPage& page_;
    Forwarder forwarder_;
    std::map<const WindowControl*, QWidget*> widgets_;
    std::map<const QObject*, PageControl*> controls_;
    std::vector<std::pair<PageControl*, QWidget*>> order_;
    bool refreshing_ = false;
    bool refresh_again_ = false;
};

}  // namespace galvora
