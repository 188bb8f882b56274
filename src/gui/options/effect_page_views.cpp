#include "gui/options/effect_page_views.h"

#include <QCursor>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSlider>

#include <map>

#include "gui/options/qt_bridge.h"
#include "gui/options/script_editor_view.h"
#include "image/picture_buffer.h"
#include "options/pages/clone_effects_page.h"
#include "options/pages/clone_page.h"

namespace galvora {

namespace {

void forward_from(QWidget* widget, const std::function<void()>& action) {
    if (FormView* view = FormView::of(widget)) {
        view->forward(action);
    } else {
        action();
    }
}

QPixmap draw_icon(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

void dot(QPainter& p, QColor colour) {
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
}

// The rows and columns of a grid cell glyph ("LO": left, top).
int column_of(char c) { return c == 'L' ? 0 : c == 'M' ? 1 : 2; }
int row_of(char c) { return c == 'O' ? 0 : c == 'M' ? 1 : 2; }

}  // namespace

QIcon page_icon(const std::string& key) {
    static std::map<std::string, QIcon> icons;
    auto found = icons.find(key);
    if (found != icons.end()) return found->second;
    QPixmap pixmap;
    if (key == "Text") {
        pixmap = draw_icon([](QPainter& p) {
            QFont font("DejaVu Serif");
            font.setPixelSize(15);
            font.setBold(true);
            p.setFont(font);
            p.setPen(QColor(40, 60, 140));
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "T");
        });
    } else if (key == "Image") {
        pixmap = draw_icon([](QPainter& p) {
            p.setPen(QColor(90, 90, 90));
            p.setBrush(QColor(170, 210, 250));
            p.drawRect(QRectF(1.5, 2.5, 13, 11));
            QPainterPath hill;
            hill.moveTo(2, 13);
            hill.lineTo(6, 8);
            hill.lineTo(9, 11);
            hill.lineTo(11, 9);
            hill.lineTo(14, 13);
            hill.closeSubpath();
            p.fillPath(hill, QColor(70, 150, 70));
            p.setBrush(QColor(250, 210, 60));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QRectF(9.5, 4, 3, 3));
        });
    } else if (key == "Border") {
        pixmap = draw_icon([](QPainter& p) {
            p.setPen(QPen(QColor(150, 100, 40), 3));
            p.setBrush(QColor(250, 245, 230));
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
        });
    } else if (key == "Effekt") {
        pixmap = draw_icon([](QPainter& p) {
            QPainterPath star;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 == 0 ? 7.0 : 3.0;
                const double a = i * 3.14159265 / 5 - 3.14159265 / 2;
                const QPointF point(8 + r * std::cos(a), 8 + r * std::sin(a));
                if (i == 0) star.moveTo(point); else star.lineTo(point);
            }
            star.closeSubpath();
            p.setPen(QColor(170, 110, 0));
            p.setBrush(QColor(250, 200, 40));
            p.drawPath(star);
        });
    } else if (key == "rot") {
        pixmap = draw_icon([](QPainter& p) { dot(p, QColor(220, 50, 40)); });
    } else if (key == "gold") {
        pixmap = draw_icon([](QPainter& p) { dot(p, QColor(230, 180, 30)); });
    } else if (key == "grün") {
        pixmap = draw_icon([](QPainter& p) { dot(p, QColor(50, 170, 60)); });
    } else if (key == "TrueType1" || key == "Raster") {
        const bool outline = key == "TrueType1";
        pixmap = draw_icon([outline](QPainter& p) {
            QFont font("DejaVu Sans");
            font.setPixelSize(10);
            font.setBold(true);
            p.setFont(font);
            p.setPen(outline ? QColor(30, 90, 170) : QColor(110, 110, 110));
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, outline ? "TT" : "a");
        });
    }
    QIcon icon = pixmap.isNull() ? QIcon() : QIcon(pixmap);
    icons[key] = icon;
    return icon;
}

// ---------------------------------------------------------------- ImageCombo

ImageCombo::ImageCombo(PageControl& control, QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this,
            [this, &control](int index) { forward_from(this, [&] { control.page().user_choose(control, index); }); });
}

void ImageCombo::show_control(PageControl& control) {
    QSignalBlocker blocker(this);
    const ControlState& state = control.state();
    bool same = count() == static_cast<int>(state.items.size());
    for (int i = 0; same && i < count(); ++i) {
        const ListItem& item = state.items[static_cast<size_t>(i)];
        same = itemText(i) == qs(item.text) && itemData(i, Qt::UserRole + 1).toString() == qs(item.image_key);
    }
    if (!same) {
        clear();
        for (const ListItem& item : state.items) {
            addItem(page_icon(item.image_key), qs(item.text), qs(item.key));
            setItemData(count() - 1, qs(item.image_key), Qt::UserRole + 1);
        }
    }
    if (currentIndex() != state.value) setCurrentIndex(state.value);
}

void ImageCombo::view_request(PageControl&, ViewRequest request) {
    if (request == ViewRequest::DropDown && isVisible() && isEnabled()) showPopup();
}

// ---------------------------------------------------------------- EffectList

EffectList::EffectList(PageControl& control, QWidget* parent) : QTreeWidget(parent), control_(control) {
    setColumnCount(1);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
        const int row = indexOfTopLevelItem(item);
        if (row < 0) return;
        forward_from(this, [&] { control_.page().user_choose(control_, row); });
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        const int row = indexOfTopLevelItem(item);
        forward_from(this, [&] {
            control_.state().value = row;
            control_.page().user_double_click(control_);
        });
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        const int row = indexOfTopLevelItem(item);
        const std::string text = u8(item->text(0));
        {
            QSignalBlocker blocker(this);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        }
        auto* page = dynamic_cast<CClonenEffekte*>(&control_.page());
        if (page != nullptr) forward_from(this, [&] { page->user_label_edit(row, text); });
    });
}

void EffectList::show_control(PageControl& control) {
    QSignalBlocker blocker(this);
    const ControlState& s = control.state();
    if (headerItem()->text(0) != qs(s.caption)) setHeaderLabel(qs(s.caption));
    bool same = topLevelItemCount() == static_cast<int>(s.items.size());
    for (int i = 0; same && i < topLevelItemCount(); ++i)
        same = topLevelItem(i)->text(0) == qs(s.items[static_cast<size_t>(i)].text);
    if (!same && state() != QAbstractItemView::EditingState) {
        clear();
        for (const ListItem& entry : s.items) {
            auto* row = new QTreeWidgetItem(this, QStringList{qs(entry.text)});
            row->setIcon(0, page_icon(entry.image_key));
        }
    }
    QTreeWidgetItem* chosen = s.value >= 0 ? topLevelItem(s.value) : nullptr;
    if (currentItem() != chosen) {
        setCurrentItem(chosen);
        if (chosen != nullptr) scrollToItem(chosen);
    }
}

void EffectList::view_request(PageControl& control, ViewRequest request) {
    if (request != ViewRequest::EditLabel) return;
    QTreeWidgetItem* row = topLevelItem(control.state().value);
    if (row == nullptr) return;
    {
        QSignalBlocker blocker(this);
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    // Once the key that asked for it is handled: the editor keeps the focus.
    QPointer<EffectList> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, row] {
            if (self) self->editItem(row, 0);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- PopupMenu

PopupMenu::PopupMenu(PageControl& control, QWidget* parent) : QWidget(parent), control_(control) {
    menu_ = new QMenu(this);
    connect(menu_, &QMenu::triggered, this, [this](QAction* action) {
        const int entry = action->data().toInt();
        forward_from(this, [&] { control_.page().user_choose(control_, entry); });
    });
}

void PopupMenu::show_control(PageControl& control) {
    const ControlState& state = control.state();
    QList<QAction*> actions = menu_->actions();
    bool same = actions.size() == static_cast<int>(state.items.size());
    for (int i = 0; same && i < actions.size(); ++i)
        same = actions[i]->text() == qs(state.items[static_cast<size_t>(i)].text);
    if (same) return;
    menu_->clear();
    for (size_t i = 0; i < state.items.size(); ++i) {
        QAction* action = menu_->addAction(page_icon(state.items[i].image_key), qs(state.items[i].text));
        action->setData(static_cast<int>(i));
    }
}

void PopupMenu::view_request(PageControl& control, ViewRequest request) {
    if (request != ViewRequest::PopupMenu) return;
    show_control(control);
    menu_->popup(QCursor::pos());
}

// ---------------------------------------------------------------- PixelBox

PixelBox::PixelBox(std::function<const PictureBuffer&()> picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setFocusPolicy(Qt::ClickFocus);
}

void PixelBox::show_control(PageControl& control) {
    QColor back;
    if (!qt_colour(control.state().back_colour, palette(), back)) back = palette().color(QPalette::Window);
    const PictureBuffer& picture = picture_();
    // The buffer is made afresh for every preview; comparing its content is
    // cheaper than drawing it again for nothing.
    QImage image = picture.empty() ? QImage() : to_image(picture);
    if (back != back_ || image != image_) {
        back_ = back;
        image_ = std::move(image);
        update();
    }
}

void PixelBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), back_);
    if (!image_.isNull()) p.drawImage(0, 0, image_);
}

void PixelBox::mousePressEvent(QMouseEvent* event) {
    if (on_press) {
        const QPointF at = event->position();
        forward_from(this, [&] { on_press(static_cast<float>(at.x()), static_cast<float>(at.y())); });
    }
    QWidget::mousePressEvent(event);
}

void PixelBox::mouseMoveEvent(QMouseEvent* event) {
    if (on_move) {
        const QPointF at = event->position();
        forward_from(this, [&] { on_move(static_cast<float>(at.x()), static_cast<float>(at.y())); });
    }
    QWidget::mouseMoveEvent(event);
}

void PixelBox::mouseReleaseEvent(QMouseEvent* event) {
    if (on_release) forward_from(this, [&] { on_release(); });
    QWidget::mouseReleaseEvent(event);
}

// ---------------------------------------------------------------- GlyphBox

void GlyphBox::set_glyph(const std::string& key) {
    glyph_ = key;
    update();
}

void GlyphBox::paintEvent(QPaintEvent* event) {
    PictureWidget::paintEvent(event);
    QPainter p(this);
    const double w = width();
    const double h = height();
    const double u = std::min(w, h) / 16.0;  // one pixel of the 16 x 16 design
    const QColor black(0, 0, 0);
    if (glyph_.starts_with("glyph:side:") || glyph_.starts_with("glyph:cell:")) {
        const std::string code = glyph_.substr(glyph_.rfind(':') + 1);
        const int column = column_of(code[0]);
        const int row = row_of(code[1]);
        const double at[] = {2 * u, 7 * u, 12 * u};
        if (glyph_.starts_with("glyph:cell:")) {
            // Two bars meeting at the corner, edge or centre the cell stands for.
            p.fillRect(QRectF(2 * u, at[row], 12 * u, 2 * u), black);
            p.fillRect(QRectF(at[column], 2 * u, 2 * u, 12 * u), black);
        } else if (column == 1 || row == 1) {
            // A side: a bar along it.
            if (row == 1) p.fillRect(QRectF(at[column], 2 * u, 2 * u, 12 * u), black);
            else p.fillRect(QRectF(2 * u, at[row], 12 * u, 2 * u), black);
        } else {
            // A corner: an angle into it.
            const double x = column == 0 ? 2 * u : 7 * u;
            const double y = row == 0 ? 2 * u : 7 * u;
            p.fillRect(QRectF(x, at[row], 7 * u, 2 * u), black);
            p.fillRect(QRectF(at[column], y, 2 * u, 7 * u), black);
        }
    } else if (glyph_.starts_with("glyph:rotate")) {
        // A card turned by a quarter turn clockwise (0), a half turn (1) or a
        // quarter turn counter-clockwise (2), with an arrow round it.
        const int code = glyph_.back() - '0';
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box(w * 0.2, h * 0.2, w * 0.6, h * 0.6);
        p.setPen(QPen(QColor(40, 70, 130), std::max(1.5, w / 30)));
        const int span = code == 1 ? 180 : 90;
        const int start = 90;
        p.drawArc(box, start * 16, (code == 2 ? span : -span) * 16);
        const double angle = (start + (code == 2 ? span : -span)) * 3.14159265 / 180.0;
        const QPointF tip(box.center().x() + box.width() / 2 * std::cos(angle),
                          box.center().y() - box.height() / 2 * std::sin(angle));
        p.setBrush(QColor(40, 70, 130));
        p.drawEllipse(tip, w / 18, w / 18);
        QFont font = p.font();
        font.setPixelSize(static_cast<int>(h / 5));
        p.setFont(font);
        p.drawText(box, Qt::AlignCenter, code == 1 ? "180°" : "90°");
    } else if (glyph_ == "glyph:direction") {
        QFont font("DejaVu Serif");
        font.setPixelSize(static_cast<int>(h * 0.8));
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(40, 40, 40));
        p.drawText(rect(), Qt::AlignCenter, "A");
    }
}

// ---------------------------------------------------------------- NestedPageView

NestedPageView::NestedPageView(OptionPage& page, QWidget* parent) : QWidget(parent) {
    form_ = new FormView(page, this, option_page_widgets());
    form_->set_forwarder([this](const std::function<void()>& action) { forward_from(parentWidget(), action); });
    // What the generic sliders leave out: ticks every ten positions, and a
    // page step of one where the range is that short.
    for (const auto& control : page.all_controls()) {
        if (control->control_kind() == PageControlKind::Slider) {
            if (auto* slider = qobject_cast<QSlider*>(form_->widget_of(*control))) {
                slider->setTickPosition(QSlider::TicksBelow);
                slider->setTickInterval(10);
                if (control->name() == "CrackleModeSlider" || control->name() == "ÖlbildPinselbreiteSlider")
                    slider->setPageStep(1);
            }
        }
        if (control->control_kind() == PageControlKind::MultiLineTextBox) {
            if (QWidget* box = form_->widget_of(*control)) box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        }
    }
}

void NestedPageView::show_control(PageControl&) {
    if (form_->geometry() != rect()) form_->setGeometry(rect());
    form_->refresh();
}

void NestedPageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The host widens the editor when its captions need more room.
    if (form_->geometry() != rect()) form_->setGeometry(rect());
}

// ---------------------------------------------------------------- the factory

FormView::WidgetFactory option_page_widgets() {
    return [](PageControl& control, QWidget* parent) -> QWidget* {
        OptionPage& page = control.page();
        const ControlState& state = control.state();
        const std::string& name = control.name();
        // The script editor the script module and file filter pages embed.
        if (const FormView::WidgetFactory editor = page_widget_factory(page)) {
            if (QWidget* widget = editor(control, parent)) return widget;
        }
        if (auto* effects = dynamic_cast<CClonenEffekte*>(&page)) {
            if (OptionPage* editor = effects->editor(name)) return new NestedPageView(*editor, parent);
            if (name == "ListViewCloneEffekte") return new EffectList(control, parent);
            if (name == "pEffektMenü") return new PopupMenu(control, parent);
            if (name == "BeispielImage")
                return new PixelBox([effects]() -> const PictureBuffer& { return effects->vorschau(); }, parent);
        }
        if (auto* frame = dynamic_cast<CRahmen*>(&page); frame != nullptr && name == "RahmenBild")
            return new PixelBox([frame]() -> const PictureBuffer& { return frame->vorschau(); }, parent);
        if (auto* stamp = dynamic_cast<CBildStempel*>(&page); stamp != nullptr && name == "StempelBildWahl") {
            auto* box = new PixelBox([stamp]() -> const PictureBuffer& { return stamp->vorschau(); }, parent);
            box->on_press = [stamp](float x, float y) { stamp->user_mouse_down(x, y); };
            box->on_move = [stamp](float x, float y) { stamp->user_mouse_move(x, y); };
            box->on_release = [stamp] { stamp->user_mouse_release(); };
            return box;
        }
        const bool image_combo = dynamic_cast<CClonen*>(&page) != nullptr ||
                                 dynamic_cast<CClonenEffekte*>(&page) != nullptr ||
                                 dynamic_cast<CTextStempel*>(&page) != nullptr ||
                                 dynamic_cast<CBildEffekte*>(&page) != nullptr;
        if (image_combo && control.control_kind() == PageControlKind::ComboBox) return new ImageCombo(control, parent);
        if (control.control_kind() == PageControlKind::PictureBox && state.picture.starts_with("glyph:")) {
            auto* box = new GlyphBox(parent);
            box->set_glyph(state.picture);
            QObject::connect(box, &PictureWidget::clicked, box,
                             [box, &control] { forward_from(box, [&] { control.page().user_click(control); }); });
            return box;
        }
        return nullptr;
    };
}

}  // namespace galvora
