#pragma once
// The widgets of the option pages that the generic form view has no
// standard widget for: image combo boxes (items with their pictures, opened
// as soon as they get the focus), the clone-effect list with label editing,
// the menu of new effects, picture previews drawn from a page's buffer (with
// the eyedropper on the image stamp's), the small glyph boxes of positions,
// sides and directions, and the effect editors nested in the clone-effect
// list page. Each shows its control's state and forwards what the user did
// to the page; none holds a rule.
#include <QComboBox>
#include <QIcon>
#include <QTreeWidget>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <string>

#include "gui/options/form_view.h"
#include "gui/options/picture_widget.h"

namespace galvora {

class PictureBuffer;

// The widget factory of every option page view: a widget for the controls
// above, nullptr (the form view's standard widget) for the others.
FormView::WidgetFactory option_page_widgets();

// The 16 x 16 picture of an item's image key ("Text", "Image", "Border",
// "Effekt", "rot", "gold", "grün", "TrueType1", "Raster"); an empty icon for
// others.
QIcon page_icon(const std::string& key);

// A combo box whose items show their pictures; it opens its list when the
// page asks (DropDown).
class ImageCombo : public QComboBox, public CustomControl {
    Q_OBJECT
public:
    ImageCombo(PageControl& control, QWidget* parent);
    void show_control(PageControl& control) override;
    void view_request(PageControl& control, ViewRequest request) override;
};

// The list of clone effects: one column under its header, rows with their
// pictures, a double-click, and label editing when the page asks
// (EditLabel), accepted with Enter.
class EffectList : public QTreeWidget, public CustomControl {
    Q_OBJECT
public:
    EffectList(PageControl& control, QWidget* parent);
    void show_control(PageControl& control) override;
    void view_request(PageControl& control, ViewRequest request) override;

private:
    PageControl& control_;
};

// A menu shown only as a pop-up at the mouse (PopupMenu); its entries are the
// control's items, a chosen entry is the control's choice.
class PopupMenu : public QWidget, public CustomControl {
    Q_OBJECT
public:
    PopupMenu(PageControl& control, QWidget* parent);
    void show_control(PageControl& control) override;
    void view_request(PageControl& control, ViewRequest request) override;
    QMenu* menu() const { return menu_; }

private:
    PageControl& control_;
    QPointer<QMenu> menu_;
};

// A picture box showing a page's picture buffer at its top-left corner over
// its back colour. Mouse presses, moves with a button held and releases go to
// the handlers when set (pixels of the box).
class PixelBox : public QWidget, public CustomControl {
    Q_OBJECT
public:
    PixelBox(std::function<const PictureBuffer&()> picture, QWidget* parent);
    void show_control(PageControl& control) override;
    std::function<void(float x, float y)> on_press;
    std::function<void(float x, float y)> on_move;
    std::function<void()> on_release;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<const PictureBuffer&()> picture_;
    QColor back_;
    QImage image_;
};

// A picture box drawing a glyph over its back colour: "glyph:side:MO" (a side
// or corner of a frame), "glyph:cell:LO" (a stamp position), "glyph:rotate0"
// to "glyph:rotate2" (the turns), "glyph:direction" (the text directions).
class GlyphBox : public PictureWidget {
    Q_OBJECT
public:
    using PictureWidget::PictureWidget;
    void set_glyph(const std::string& key);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string glyph_;
};

// An effect editor nested in the clone-effect list page: its own form view,
// refreshed with its host.
class NestedPageView : public QWidget, public CustomControl {
    Q_OBJECT
public:
    NestedPageView(OptionPage& page, QWidget* parent);
    void show_control(PageControl& control) override;
    int extra_width() const override { return form_->extra_width(); }
    FormView& form() const { return *form_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FormView* form_ = nullptr;
};

}  // namespace galvora
