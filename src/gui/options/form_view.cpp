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
#include <QTextBlock>

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
    for (const auto& [control, widget] : order_)
        if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget);
    return chain;
}

void FormView::report_caret(PageControl& control, QWidget* widget) {
    const auto [start, length] = selection_of(widget);
    page_.user_caret(control, start, length);
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
        const QRect place = to_px(state.place, tpp);
        if (widget->geometry() != place) widget->setGeometry(place);
        if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
        if (widget->toolTip() != qs(state.tooltip)) widget->setToolTip(qs(state.tooltip));
        if (state.font_size > 0 || state.bold) {
            QFont font = widget->font();
            if (state.font_size > 0) font.setPointSizeF(state.font_size);
            font.setBold(state.bold);
            if (widget->font() != font) widget->setFont(font);
        }
        apply(*control, widget);
        if (widget->isHidden() == state.visible) widget->setVisible(state.visible);
    }
    for (const auto& [control, request] : page_.take_view_requests()) {
        QWidget* widget = widget_of(*control);
        if (widget == nullptr) continue;
        if (request == ViewRequest::Focus) {
            if (widget->isVisible()) widget->setFocus(Qt::OtherFocusReason);
        } else if (request == ViewRequest::Undo) {
            if (auto* edit = qobject_cast<QPlainTextEdit*>(widget); edit != nullptr && edit->document()->isUndoAvailable())
                edit->undo();
            if (auto* line = qobject_cast<QLineEdit*>(widget); line != nullptr && line->isUndoAvailable()) line->undo();
        }
    }
}

void FormView::apply(PageControl& control, QWidget* widget) {
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
            if (changed) edit->setPlainText(text);
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
            if (auto* picture = qobject_cast<PictureWidget*>(widget)) picture->set_picture(state.picture, state.tile_picture);
            set_colours(widget, state, QPalette::Window);
            break;
        case PageControlKind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(widget);
            bool same = combo->count() == static_cast<int>(state.items.size());
            for (int i = 0; same && i < combo->count(); ++i)
                same = combo->itemText(i) == qs(state.items[static_cast<size_t>(i)].text);
            if (!same) {
                combo->clear();
                for (const ListItem& item : state.items) combo->addItem(qs(item.text), qs(item.key));
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
