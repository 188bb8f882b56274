#include "gui/options/picture_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "gui/options/qt_bridge.h"
#include "options/sample_pictures.h"
#include "options/template_editor.h"

namespace galvora {

namespace {

// A triangle pointing left (-1), right (1) or up (0) in the box.
void triangle(QPainter& p, QRectF box, int direction) {
    QPainterPath path;
    if (direction == 0) {
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.bottom());
        path.lineTo(box.left(), box.bottom());
    } else if (direction < 0) {
        path.moveTo(box.left(), box.center().y());
        path.lineTo(box.right(), box.top());
        path.lineTo(box.right(), box.bottom());
    } else {
        path.moveTo(box.right(), box.center().y());
        path.lineTo(box.left(), box.top());
        path.lineTo(box.left(), box.bottom());
    }
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

// A navigation link button: a rounded face with its symbol.
void arrow(QPainter& p, const QRect& area, const std::string& kind) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QColor(90, 90, 110));
    p.setBrush(QColor(238, 240, 246));
    p.drawRoundedRect(face, 3, 3);
    p.setPen(QColor(44, 72, 128));
    const double s = std::min(face.height() - 8, 10.0);
    const QPointF c = face.center();
    auto tri = [&](double dx, int direction) { triangle(p, QRectF(c.x() + dx - s / 2, c.y() - s / 2, s, s), direction); };
    auto bar = [&](double dx) { p.fillRect(QRectF(c.x() + dx - 1, c.y() - s / 2, 2, s), p.pen().color()); };
    auto base = [&]() { p.fillRect(QRectF(c.x() - s, c.y() + s / 2 + 1, 2 * s, 1.5), p.pen().color()); };
    if (kind == "prev") tri(0, -1);
    else if (kind == "next") tri(0, 1);
    else if (kind == "up") tri(0, 0);
    else if (kind == "first") { bar(-s / 2 - 1); tri(2, -1); }
    else if (kind == "last") { tri(-2, 1); bar(s / 2 + 1); }
    else if (kind == "prev_prev") { tri(-s / 2, -1); tri(s / 2, -1); }
    else if (kind == "next_next") { tri(-s / 2, 1); tri(s / 2, 1); }
    else if (kind == "path_first") { bar(-s); tri(-s / 4, -1); tri(s * 3 / 4, -1); }
    else if (kind == "path_last") { tri(-s * 3 / 4, 1); tri(s / 4, 1); bar(s); }
    else if (kind == "page_first") { bar(-s / 2 - 1); tri(2, -1); base(); }
    else if (kind == "page_last") { tri(-2, 1); bar(s / 2 + 1); base(); }
}

// The title bar's minimise, maximise and close buttons.
void control_box(QPainter& p, const QRect& area) {
    const int size = std::min(area.height() - 6, 12);
    const int top = area.center().y() - size / 2;
    p.setPen(QColor(250, 250, 250));
    for (int i = 0; i < 3; ++i) {
        const QRect b(area.right() - (3 - i) * (size + 1) - 1, top, size, size);
        p.drawRect(b.adjusted(0, 0, -1, -1));
        if (i == 0) p.drawLine(b.left() + 3, b.bottom() - 3, b.right() - 3, b.bottom() - 3);
        if (i == 1) p.drawRect(b.adjusted(3, 3, -4, -4));
        if (i == 2) {
            p.drawLine(b.left() + 3, b.top() + 3, b.right() - 4, b.bottom() - 4);
            p.drawLine(b.right() - 4, b.top() + 3, b.left() + 3, b.bottom() - 4);
        }
    }
}

// The index page's group marker: a bracket beside the grouped entries.
void group_marker(QPainter& p, const QRect& area) {
    QPen pen(QColor(176, 96, 32), 2, Qt::DashLine);
    p.setPen(pen);
    p.drawLine(area.right() - 1, area.top() + 1, area.left() + 2, area.top() + 1);
    p.drawLine(area.left() + 2, area.top() + 1, area.left() + 2, area.bottom() - 1);
    p.drawLine(area.left() + 2, area.bottom() - 1, area.right() - 1, area.bottom() - 1);
}

}  // namespace

const QImage& sample_image() {
    static const QImage image = to_image(beispielbild());
    return image;
}

const QImage& background_tile() {
    static const QImage image = to_image(hintergrund_kachel());
    return image;
}

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {}

void PictureWidget::set_picture(const std::string& key, bool tiled) {
    if (key == picture_ && tiled == tiled_) return;
    picture_ = key;
    tiled_ = tiled;
    update();
}

void PictureWidget::set_gradient(std::function<const std::vector<uint32_t>&()> columns) {
    gradient_ = std::move(columns);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (gradient_) {
        const std::vector<uint32_t>& columns = gradient_();
        for (size_t x = 0; x < columns.size(); ++x) {
            QColor colour;
            qt_colour(columns[x], palette(), colour);
            p.setPen(colour);
            p.drawLine(static_cast<int>(x), 0, static_cast<int>(x), height());
        }
        return;
    }
    if (picture_.empty()) return;
    if (picture_ == "Hintergrund" || tiled_) {
        const QImage& tile = picture_ == "BeispielImage" ? sample_image() : background_tile();
        for (const auto& [x, y] : HintergrundKacheln(width(), height(), tile.width(), tile.height()))
            p.drawImage(x, y, tile);
    } else if (picture_ == "BeispielImage") {
        const QImage& image = sample_image();
        const QSize fitted = image.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, image);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(target.adjusted(0, 0, -1, -1));
    } else if (picture_ == "CBox") {
        control_box(p, rect());
    } else if (picture_ == "shape:group") {
        group_marker(p, rect());
    } else if (picture_.rfind("arrow:", 0) == 0) {
        arrow(p, rect(), picture_.substr(6));
    }
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

}  // namespace galvora
