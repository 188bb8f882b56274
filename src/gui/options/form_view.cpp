#include "gui/options/form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTextBlock>

#include <algorithm>
#include <map>
#include <set>

#include "gui/options/item_icons.h"
#include "gui/options/picture_widget.h"
#include "gui/options/qt_bridge.h"
#include "options/option_page.h"

namespace galvora {

namespace {

// The selection of a text widget in characters: start and length.
std::pair<int32_t, int32_t> selection_of(QWidget* widget) {
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        const QString text = line->text();
        if (line->hasSelectedText()) {
            const int start = line->selectionStart();
            const int32_t from = character_offset(text, start);
            return {from, character_offset(text, start + line->selectedText().size()) - from};
        }
        return {character_offset(text, line->cursorPosition()), 0};
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        const QString text = edit->toPlainText();
        const QTextCursor cursor = edit->textCursor();
        const int32_t from = character_offset(text, cursor.selectionStart());
        return {from, character_offset(text, cursor.selectionEnd()) - from};
    }
    return {0, 0};
}

void select_in(QWidget* widget, int32_t start, int32_t length) {
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        const QString text = line->text();
        const int from = utf16_offset(text, start);
        const int to = utf16_offset(text, start + length);
        if (to > from) {
            line->setSelection(from, to - from);
        } else {
            line->setCursorPosition(from);
        }
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        const QString text = edit->toPlainText();
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(utf16_offset(text, start));
        cursor.setPosition(utf16_offset(text, start + length), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }
}

// Where a combo box item keeps the key of its picture.
constexpr int kImageRole = Qt::UserRole + 1;

// Puts a text the model changed into the box as one edit of its own: what the
// user typed before stays undoable.
void replace_keeping_undo(QPlainTextEdit* edit, const QString& text) {
    const QString old = edit->toPlainText();
    const int shorter = static_cast<int>(std::min(old.size(), text.size()));
    int prefix = 0;
    while (prefix < shorter && old.at(prefix) == text.at(prefix)) ++prefix;
    if (prefix > 0 && old.at(prefix - 1).isHighSurrogate()) --prefix;
    int suffix = 0;
    while (suffix < shorter - prefix && old.at(old.size() - 1 - suffix) == text.at(text.size() - 1 - suffix)) ++suffix;
    if (suffix > 0 && old.at(old.size() - suffix).isLowSurrogate()) --suffix;
    QTextCursor cursor(edit->document());
    cursor.beginEditBlock();
    cursor.setPosition(prefix);
    cursor.setPosition(static_cast<int>(old.size()) - suffix, QTextCursor::KeepAnchor);
    cursor.insertText(text.mid(prefix, text.size() - prefix - suffix));
    cursor.endEditBlock();
}

void set_colours(QWidget* widget, const ControlState& state, QPalette::ColorRole back_role) {
    QPalette palette = widget->parentWidget() != nullptr ? widget->parentWidget()->palette() : QApplication::palette();
    QColor colour;
    const bool back = qt_colour(state.back_colour, palette, colour);
    if (back) palette.setColor(back_role, colour);
    if (qt_colour(state.fore_colour, palette, colour)) {
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
    }
    if (widget->palette() != palette) widget->setPalette(palette);
    if (back_role == QPalette::Window && widget->autoFillBackground() != back) widget->setAutoFillBackground(back);
}

// The width a control needs to show its caption whole in the widget's font:
// the text with the box or indicator beside it and the widget's frame. 0 for
// controls without a caption.
int caption_width(const PageControl& control, QWidget* widget) {
    const QString caption = qs(control.state().caption);
    if (caption.isEmpty()) return 0;
    const QFontMetrics metrics = widget->fontMetrics();
    switch (control.control_kind()) {
        case PageControlKind::Label: {
            int widest = 0;
            for (const QString& line : caption.split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
            const auto* label = static_cast<QLabel*>(widget);
            return widest + 2 * (label->margin() + label->frameWidth()) + 2;
        }
        case PageControlKind::CheckBox:
        case PageControlKind::OptionButton:
            return widget->sizeHint().width();
        case PageControlKind::Button: {
            QString shown = caption;
            shown.remove('&');
            const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
            return metrics.horizontalAdvance(shown) + 2 * frame + 8;
        }
        case PageControlKind::Frame:
            return metrics.horizontalAdvance(caption) + 3 * metrics.averageCharWidth();
        default:
            return 0;
    }
}

// Where the controls of one page go, in pixels relative to their containers.
// They start at the page's positions; a control whose caption does not fit
// is widened, and everything that stands to its right in the same rows moves
// right by as much, so the arrangement stays and nothing comes to lie on
// anything else. A frame or picture box whose controls moved grows with
// them, which is a widening one level up.
class FittedPlaces {
public:
    struct Place {
        PageControl* control;
        QWidget* widget;
        QRect rect;
        int needed = 0;
    };

    FittedPlaces(const std::vector<std::pair<PageControl*, QWidget*>>& order, const WindowControl& root,
                 int root_width, const std::map<const WindowControl*, QWidget*>& widgets, int tpp)
        : root_(root), root_width_(root_width) {
        places_.reserve(order.size());
        for (const auto& [control, widget] : order) {
            const WindowControl* container = control->container();
            if (container == nullptr || widgets.find(container) == widgets.end()) container = &root;
            children_[container].push_back(places_.size());
            index_[control] = places_.size();
            own_widgets_.insert(widget);
            places_.push_back({control, widget, to_px(control->state().place, tpp)});
        }
    }

    // Fits every container from the innermost out; the pixels the page's
    // own controls grew by to the right.
    int fit() { return fit(&root_); }

    const QRect& rect_of(size_t i) const { return places_[i].rect; }

private:
    // Pixels by which two controls in one row may touch and still count as
    // standing side by side.
    static constexpr int kTouch = 2;

    // Controls without a caption whose width is only room for what they show.
    static bool gives_way(PageControlKind kind) {
        return kind == PageControlKind::TextBox || kind == PageControlKind::MultiLineTextBox ||
               kind == PageControlKind::ComboBox || kind == PageControlKind::ListBox;
    }

    int width_of(const WindowControl* container) const {
        if (container == &root_) return root_width_;
        const auto it = index_.find(static_cast<const PageControl*>(container));
        return it != index_.end() ? places_[it->second].rect.width() : root_width_;
    }

    static bool same_rows(const QRect& a, const QRect& b) { return a.top() < b.bottom() && b.top() < a.bottom(); }

    int fit(const WindowControl* container) {
        auto found = children_.find(container);
        if (found == children_.end()) return 0;
        std::vector<size_t> shown;
        for (size_t i : found->second)
            if (places_[i].control->state().visible) shown.push_back(i);
        if (shown.empty()) return 0;
        int design_right = 0;
        for (size_t i : shown) design_right = std::max(design_right, places_[i].rect.x() + places_[i].rect.width());

        for (size_t i : shown) {
            Place& p = places_[i];
            int needed = caption_width(*p.control, p.widget);
            const PageControlKind kind = p.control->control_kind();
            if (kind == PageControlKind::Frame || kind == PageControlKind::PictureBox) {
                needed = std::max(needed, p.rect.width() + fit(p.control));
                // A page shown in a box of this view (the options dialog's
                // page boxes) widens the box as a nested editor its place.
                for (const FormView* page : p.widget->findChildren<FormView*>(Qt::FindDirectChildrenOnly))
                    if (!own_widgets_.contains(page)) needed = std::max(needed, page->x() + page->width());
            }
            if (const auto* custom = dynamic_cast<const CustomControl*>(p.widget); custom != nullptr)
                needed = std::max(needed, p.rect.width() + custom->extra_width());
            if (const auto* nested = qobject_cast<const FormView*>(p.widget))
                needed = std::max(needed, p.rect.width() + nested->extra_width());
            p.needed = needed;
        }
        std::stable_sort(shown.begin(), shown.end(),
                         [this](size_t a, size_t b) { return places_[a].rect.x() < places_[b].rect.x(); });
        for (size_t i : shown) {
            const int delta = places_[i].needed - places_[i].rect.width();
            if (delta <= 0) continue;
            const QRect before = places_[i].rect;
            places_[i].rect.setWidth(places_[i].needed);
            // What stands to the right of the control, or of what moves with
            // it, in the same rows; and what lies over a moving control (the
            // percent label over its slider) goes along.
            std::vector<size_t> moving{i};
            std::vector<bool> taken(places_.size(), false);
            taken[i] = true;
            for (size_t m = 0; m < moving.size(); ++m) {
                const QRect mover = moving[m] == i ? before : places_[moving[m]].rect;
                for (size_t j : shown) {
                    if (taken[j]) continue;
                    const QRect& other = places_[j].rect;
                    const bool beside = other.x() > mover.x() && other.x() >= mover.x() + mover.width() - kTouch &&
                                        same_rows(other, mover);
                    const bool over = other.x() >= mover.x() && other.intersects(mover);
                    if (beside || over) {
                        taken[j] = true;
                        moving.push_back(j);
                    }
                }
            }
            for (size_t m = 1; m < moving.size(); ++m) places_[moving[m]].rect.translate(delta, 0);
            // A box that reached to the edge gives up what it was pushed past
            // it, as far as it stays usable, before the page grows.
            const int edge = width_of(container);
            for (size_t m = 1; m < moving.size(); ++m) {
                Place& q = places_[moving[m]];
                const int right = q.rect.x() + q.rect.width();
                if (!gives_way(q.control->control_kind()) || right <= edge || right - delta > edge) continue;
                const int least = std::max(q.widget->minimumSizeHint().width(), q.rect.width() / 2);
                q.rect.setWidth(std::min(q.rect.width(), std::max(least, edge - q.rect.x())));
            }
        }
        int right = 0;
        for (size_t i : shown) right = std::max(right, places_[i].rect.x() + places_[i].rect.width());
        // A frame keeps its design margin on the right; the page uses the room
        // it has beyond its controls before it grows.
        const int grown = std::max(0, right - (container == &root_ ? std::max(design_right, root_width_) : design_right));

        // A caption standing over the top edge of a slider below it takes
        // that edge: the slider starts under the caption.
        for (size_t s : shown) {
            Place& slider = places_[s];
            if (slider.control->control_kind() != PageControlKind::Slider) continue;
            for (size_t l : shown) {
                const QRect& label = places_[l].rect;
                if (places_[l].control->control_kind() != PageControlKind::Label || !label.intersects(slider.rect) ||
                    label.top() >= slider.rect.top())
                    continue;
                slider.rect.setTop(std::min(label.y() + label.height(), slider.rect.bottom()));
            }
        }

        // A caption that reaches past its frame's edge by design is cut there
        // when its text still fits.
        if (container != &root_) {
            const int width = width_of(container) + grown;
            for (size_t i : shown) {
                QRect& r = places_[i].rect;
                if (r.x() + r.width() > width && places_[i].needed > 0 && places_[i].needed <= width - r.x())
                    r.setWidth(width - r.x());
            }
        }
        return grown;
    }

    const WindowControl& root_;
    int root_width_;
    std::vector<Place> places_;
    std::map<const WindowControl*, std::vector<size_t>> children_;
    std::map<const PageControl*, size_t> index_;
    std::set<const QWidget*> own_widgets_;
};

}  // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

int FormView::twips_per_pixel() {
    const QScreen* screen = QApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    return std::max(1, static_cast<int>(1440.0 / (dpi > 0 ? dpi : 96.0)));
}

FormView::FormView(OptionPage& page, QWidget* parent, WidgetFactory factory) : QWidget(parent), page_(page) {
    build(factory);
    refresh();
}

void FormView::build(const WidgetFactory& factory) {
    widgets_[&page_.root()] = this;
    for (const auto& owned : page_.all_controls()) {
        PageControl& control = *owned;
        auto parent_it = widgets_.find(control.container());
        QWidget* parent = parent_it != widgets_.end() ? parent_it->second : this;
        QWidget* widget = factory ? factory(control, parent) : nullptr;
        if (auto* nested = qobject_cast<FormView*>(widget))
            nested->set_forwarder([this](const std::function<void()>& action) { forward(action); });
        if (widget == nullptr) widget = make(control, parent);
        widget->setObjectName(qs(control.id()));
        widgets_[&control] = widget;
        controls_[widget] = &control;
        order_.emplace_back(&control, widget);
        watch(widget, control);
    }
}

QWidget* FormView::make(PageControl& control, QWidget* parent) {
    switch (control.control_kind()) {
        case PageControlKind::Label: {
            auto* label = new ClickLabel(parent);
            // Captions are text, also when they look like markup ("<td>").
            label->setTextFormat(Qt::PlainText);
            connect(label, &ClickLabel::clicked, this, [this, &control] { forward([&] { page_.user_click(control); }); });
            return label;
        }
        case PageControlKind::CheckBox: {
            auto* box = new QCheckBox(parent);
            connect(box, &QCheckBox::clicked, this, [this, &control] { forward([&] { page_.user_click(control); }); });
            return box;
        }
        case PageControlKind::OptionButton: {
            auto* button = new QRadioButton(parent);
            button->setAutoExclusive(false);
            connect(button, &QRadioButton::clicked, this,
                    [this, &control] { forward([&] { page_.user_click(control); }); });
            return button;
        }
        case PageControlKind::TextBox: {
            auto* line = new QLineEdit(parent);
            connect(line, &QLineEdit::textEdited, this, [this, &control, line](const QString& text) {
                forward([&] {
                    report_caret(control, line);
                    page_.user_text(control, u8(text));
                });
            });
            connect(line, &QLineEdit::cursorPositionChanged, this, [this, &control, line] { report_caret(control, line); });
            return line;
        }
        case PageControlKind::MultiLineTextBox: {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            // Tab moves on, as in every other box; a page that wants the key
            // (indentation) takes it in its KeyDown handler.
            edit->setTabChangesFocus(true);
            connect(edit, &QPlainTextEdit::textChanged, this, [this, &control, edit] {
                forward([&] {
                    report_caret(control, edit);
                    page_.user_text(control, u8(edit->toPlainText()));
                });
            });
            connect(edit, &QPlainTextEdit::cursorPositionChanged, this,
                    [this, &control, edit] { report_caret(control, edit); });
            edit->viewport()->installEventFilter(this);
            controls_[edit->viewport()] = &control;
            return edit;
        }
        case PageControlKind::Button: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            connect(button, &QPushButton::clicked, this, [this, &control, button] {
                // A button pressed by its key leaves the focus where it was;
                // the edit that has it is finished first, as a click finishes it.
                if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && focus != button) focus->clearFocus();
                forward([&] { page_.user_click(control); });
            });
            return button;
        }
        case PageControlKind::Frame:
            return new QGroupBox(parent);
        case PageControlKind::PictureBox: {
            auto* picture = new PictureWidget(parent);
            connect(picture, &PictureWidget::clicked, this,
                    [this, &control] { forward([&] { page_.user_click(control); }); });
            return picture;
        }
        case PageControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            connect(combo, &QComboBox::activated, this,
                    [this, &control](int index) { forward([&] { page_.user_choose(control, index); }); });
            return combo;
        }
        case PageControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            connect(list, &QListWidget::currentRowChanged, this,
                    [this, &control](int row) { forward([&] { page_.user_choose(control, row); }); });
            return list;
        }
        case PageControlKind::Slider:
        case PageControlKind::ScrollBar: {
            QAbstractSlider* slider = control.control_kind() == PageControlKind::Slider
                                          ? static_cast<QAbstractSlider*>(new QSlider(Qt::Horizontal, parent))
                                          : static_cast<QAbstractSlider*>(new QScrollBar(Qt::Vertical, parent));
            connect(slider, &QAbstractSlider::valueChanged, this,
                    [this, &control](int value) { forward([&] { page_.user_value(control, value); }); });
            return slider;
        }
        case PageControlKind::Custom:
            break;
    }
    return new QWidget(parent);
}

void FormView::watch(QWidget* widget, PageControl& control) {
    widget->installEventFilter(this);
    (void)control;
}

PageControl* FormView::control_of(const QObject* widget) const {
    auto it = controls_.find(widget);
    return it != controls_.end() ? it->second : nullptr;
}

QWidget* FormView::widget_of(const PageControl& control) const {
    auto it = widgets_.find(&control);
    return it != widgets_.end() ? it->second : nullptr;
}

std::vector<QWidget*> FormView::focus_chain() const {
    std::vector<QWidget*> chain;
    for (const auto& [control, widget] : order_) {
        if (auto* nested = qobject_cast<FormView*>(widget)) {
            for (QWidget* inner : nested->focus_chain()) chain.push_back(inner);
        } else if (widget->focusPolicy() & Qt::TabFocus) {
            chain.push_back(widget);
        }
    }
    return chain;
}

void FormView::report_caret(PageControl& control, QWidget* widget) {
    const auto [start, length] = selection_of(widget);
    page_.user_caret(control, start, length);
}

FormView* FormView::of(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (auto* view = qobject_cast<FormView*>(w)) return view;
    return nullptr;
}

void FormView::forward(const std::function<void()>& action) {
    if (forwarder_) {
        forwarder_(action);
    } else {
        action();
        refresh();
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    PageControl* control = control_of(watched);
    if (control == nullptr) return QWidget::eventFilter(watched, event);
    QWidget* widget = widget_of(*control);
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            // A message box or a menu taking the focus for a moment is no
            // leaving of the control: the user comes back to it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (watched != widget || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
            if (event->type() == QEvent::FocusIn) {
                forward([&] { page_.user_focus_in(*control); });
            } else {
                forward([&] { page_.user_focus_out(*control); });
            }
            break;
        }
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            bool consumed = false;
            forward([&] {
                report_caret(*control, widget);
                consumed = page_.user_key(*control, ControlEvent::KeyDown, key_code(*key), shift_bits(key->modifiers()));
            });
            if (consumed) return true;
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            forward([&] {
                report_caret(*control, widget);
                page_.user_key(*control, ControlEvent::KeyUp, key_code(*key), shift_bits(key->modifiers()));
            });
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int button = mouse->button() == Qt::LeftButton    ? kLeftButton
                               : mouse->button() == Qt::RightButton ? kRightButton
                                                                    : 4;
            const bool text = control->control_kind() == PageControlKind::TextBox ||
                              control->control_kind() == PageControlKind::MultiLineTextBox;
            // A text box's click is where the caret went; other controls have
            // their own Click.
            QMetaObject::invokeMethod(
                this,
                [this, control, widget, button, text, shift = shift_bits(mouse->modifiers())] {
                    forward([&] {
                        report_caret(*control, widget);
                        page_.user_mouse_up(*control, button, shift);
                        if (text && button == kLeftButton) page_.user_click(*control);
                    });
                },
                Qt::QueuedConnection);
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FormView::refresh() {
    // Showing the state can move the focus (a control disabled or hidden),
    // which the model hears of and may answer with more state: show again
    // once the first pass is done instead of inside it.
    if (refreshing_) {
        refresh_again_ = true;
        return;
    }
    refreshing_ = true;
    do {
        refresh_again_ = false;
        show_state();
    } while (refresh_again_);
    refreshing_ = false;
}

void FormView::show_state() {
    const int tpp = twips_per_pixel();
    for (const auto& [control, widget] : order_) {
        QSignalBlocker blocker(widget);
        const ControlState& state = control->state();
        if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
        if (widget->toolTip() != qs(state.tooltip)) widget->setToolTip(qs(state.tooltip));
        if (state.font_size > 0 || state.bold) {
            QFont font = widget->font();
            if (state.font_size > 0) font.setPointSizeF(state.font_size);
            font.setBold(state.bold);
            if (widget->font() != font) widget->setFont(font);
        }
        apply(*control, widget);
    }
    place_controls(tpp);
    for (const auto& [control, widget] : order_) {
        QSignalBlocker blocker(widget);
        const bool visible = control->state().visible;
        if (widget->isHidden() == visible) widget->setVisible(visible);
    }
    for (const auto& [control, request] : page_.take_view_requests()) {
        QWidget* widget = widget_of(*control);
        if (widget == nullptr) continue;
        switch (request) {
            case ViewRequest::Focus:
                if (widget->isVisible()) widget->setFocus(Qt::OtherFocusReason);
                break;
            case ViewRequest::Undo:
                if (auto* edit = qobject_cast<QPlainTextEdit*>(widget);
                    edit != nullptr && edit->document()->isUndoAvailable())
                    edit->undo();
                if (auto* line = qobject_cast<QLineEdit*>(widget); line != nullptr && line->isUndoAvailable())
                    line->undo();
                break;
            case ViewRequest::ResetUndo:
                if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) edit->document()->clearUndoRedoStacks();
                break;
            case ViewRequest::Beep:
                QApplication::beep();
                break;
            case ViewRequest::DropDown:
            case ViewRequest::EditLabel:
            case ViewRequest::PopupMenu:
                // Widgets of their own take these; a combo box reached by a
                // mouse press opens its list itself.
                if (auto* custom = dynamic_cast<CustomControl*>(widget)) {
                    custom->view_request(*control, request);
                } else if (auto* combo = qobject_cast<QComboBox*>(widget); request == ViewRequest::DropDown &&
                           combo != nullptr && combo->isVisible() && QApplication::mouseButtons() == Qt::NoButton) {
                    combo->showPopup();
                }
                break;
        }
    }
    // Embedded views are shown with their owner.
    for (const auto& [control, widget] : order_)
        if (auto* nested = qobject_cast<FormView*>(widget)) nested->refresh();
    if (after_show_) after_show_();
}

void FormView::place_controls(int tpp) {
    FittedPlaces places(order_, page_.root(), to_px(page_.Width(), tpp), widgets_, tpp);
    extra_width_ = places.fit();
    for (size_t i = 0; i < order_.size(); ++i) {
        QWidget* widget = order_[i].second;
        QSignalBlocker blocker(widget);
        if (widget->geometry() != places.rect_of(i)) widget->setGeometry(places.rect_of(i));
    }
}

void FormView::apply(PageControl& control, QWidget* widget) {
    if (auto* custom = dynamic_cast<CustomControl*>(widget)) {
        custom->show_control(control);
        return;
    }
    const ControlState& state = control.state();
    const QString caption = qs(state.caption);
    switch (control.control_kind()) {
        case PageControlKind::Label: {
            auto* label = static_cast<QLabel*>(widget);
            if (label->text() != caption) label->setText(caption);
            const Qt::Alignment align = state.alignment == 1   ? Qt::AlignRight | Qt::AlignVCenter
                                        : state.alignment == 2 ? Qt::AlignCenter
                                                               : Qt::AlignLeft | Qt::AlignVCenter;
            if (label->alignment() != align) label->setAlignment(align);
            set_colours(widget, state, QPalette::Window);
            break;
        }
        case PageControlKind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(widget);
            if (box->text() != caption) box->setText(caption);
            const Qt::CheckState check = state.value == 1   ? Qt::Checked
                                         : state.value == 2 ? Qt::PartiallyChecked
                                                            : Qt::Unchecked;
            if (box->checkState() != check) box->setCheckState(check);
            break;
        }
        case PageControlKind::OptionButton: {
            auto* button = static_cast<QRadioButton*>(widget);
            if (button->text() != caption) button->setText(caption);
            if (button->isChecked() != (state.value == 1)) button->setChecked(state.value == 1);
            break;
        }
        case PageControlKind::TextBox: {
            auto* line = static_cast<QLineEdit*>(widget);
            const QString text = qs(state.text);
            const bool changed = line->text() != text;
            if (changed) line->setText(text);
            if (changed || selection_of(line) != std::make_pair(state.selection_start, state.selection_length))
                select_in(line, state.selection_start, state.selection_length);
            set_colours(widget, state, QPalette::Base);
            break;
        }
        case PageControlKind::MultiLineTextBox: {
            auto* edit = static_cast<QPlainTextEdit*>(widget);
            const QString text = qs(state.text);
            const bool changed = edit->toPlainText() != text;
            if (changed) replace_keeping_undo(edit, text);
            if (changed || selection_of(edit) != std::make_pair(state.selection_start, state.selection_length))
                select_in(edit, state.selection_start, state.selection_length);
            set_colours(widget, state, QPalette::Base);
            break;
        }
        case PageControlKind::Button: {
            auto* button = static_cast<QPushButton*>(widget);
            if (button->text() != caption) button->setText(caption);
            break;
        }
        case PageControlKind::Frame: {
            auto* frame = static_cast<QGroupBox*>(widget);
            if (frame->title() != caption) frame->setTitle(caption);
            break;
        }
        case PageControlKind::PictureBox:
            if (auto* picture = qobject_cast<PictureWidget*>(widget)) {
                picture->set_picture(state.picture, state.tile_picture);
                picture->set_image(state.image);
            }
            set_colours(widget, state, QPalette::Window);
            break;
        case PageControlKind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(widget);
            bool same = combo->count() == static_cast<int>(state.items.size());
            for (int i = 0; same && i < combo->count(); ++i) {
                const ListItem& item = state.items[static_cast<size_t>(i)];
                same = combo->itemText(i) == qs(item.text) && combo->itemData(i, kImageRole).toString() == qs(item.image_key);
            }
            if (!same) {
                combo->clear();
                for (const ListItem& item : state.items) {
                    combo->addItem(item_icon(item.image_key), qs(item.text), qs(item.key));
                    combo->setItemData(combo->count() - 1, qs(item.image_key), kImageRole);
                }
            }
            if (combo->currentIndex() != state.value) combo->setCurrentIndex(state.value);
            break;
        }
        case PageControlKind::ListBox: {
            auto* list = static_cast<QListWidget*>(widget);
            bool same = list->count() == static_cast<int>(state.items.size());
            for (int i = 0; same && i < list->count(); ++i)
                same = list->item(i)->text() == qs(state.items[static_cast<size_t>(i)].text);
            if (!same) {
                list->clear();
                for (const ListItem& item : state.items) list->addItem(qs(item.text));
            }
            if (list->currentRow() != state.value) list->setCurrentRow(state.value);
            break;
        }
        case PageControlKind::Slider:
        case PageControlKind::ScrollBar: {
            auto* slider = static_cast<QAbstractSlider*>(widget);
            if (slider->minimum() != state.minimum || slider->maximum() != state.maximum)
                slider->setRange(state.minimum, state.maximum);
            if (slider->value() != state.value) slider->setValue(state.value);
            break;
        }
        case PageControlKind::Custom:
            break;
    }
}

}  // namespace galvora
