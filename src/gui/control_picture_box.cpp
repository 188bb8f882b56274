#include "gui/control_picture_box.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <algorithm>

#include "gui/colours.h"
#include "image/picture_buffer.h"

namespace galvora::gui {

ControlPictureBox::ControlPictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void ControlPictureBox::repaint_later() {
    if (QThread::currentThread() == thread()) {
        update();
    } else {
        QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
    }
}

void ControlPictureBox::leeren(uint32_t colour) {
    {
        std::lock_guard lock(mutex_);
        image_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
        image_.fill(palette().color(QPalette::Window));
        QPainter p(&image_);
        const QColor fill = qt_farbe(colour, palette());
        p.setPen(fill);
        p.setBrush(QBrush(fill, Qt::DiagCrossPattern));
        p.drawRect(QRect(QPoint(5, 5), QPoint(width() - 5, height() - 5)));
    }
    repaint_later();
}

void ControlPictureBox::clear() {
    {
        std::lock_guard lock(mutex_);
        image_ = QImage(std::max(width_.load(), 1), std::max(height_.load(), 1), QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
    repaint_later();
}

bool ControlPictureBox::draw_rgb(const PictureBuffer& picture, int32_t x, int32_t y, int32_t draw_width,
                                 int32_t draw_height) {
    if (picture.width() <= 0 || picture.height() <= 0) return false;
    // The buffer's rows are width * 3 bytes of red, green, blue.
    const QImage source(picture.data(), picture.width(), picture.height(), picture.width() * 3,
                        QImage::Format_RGB888);
    {
        std::lock_guard lock(mutex_);
        if (image_.isNull()) {
            image_ = QImage(std::max(width_.load(), 1), std::max(height_.load(), 1), QImage::Format_RGB32);
            image_.fill(Qt::white);
        }
        QPainter p(&image_);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRect(x, y, draw_width, draw_height), source);
    }
    repaint_later();
    return true;
}

void ControlPictureBox::copy_content(PictureBuffer& target) const {
    std::lock_guard lock(mutex_);
    const int w = std::min(target.width(), image_.width());
    const int h = std::min(target.height(), image_.height());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = image_.pixel(x, y);
            uint8_t* out = target.pixel(x, y);
            out[0] = static_cast<uint8_t>(qRed(pixel));
            out[1] = static_cast<uint8_t>(qGreen(pixel));
            out[2] = static_cast<uint8_t>(qBlue(pixel));
        }
    }
}

QImage ControlPictureBox::inhalt() const {
    std::lock_guard lock(mutex_);
    return image_.copy();
}

void ControlPictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    std::lock_guard lock(mutex_);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!image_.isNull()) p.drawImage(0, 0, image_);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ControlPictureBox::resizeEvent(QResizeEvent* event) {
    width_ = width();
    height_ = height();
    QWidget::resizeEvent(event);
}

void ControlPictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QWidget::mousePressEvent(event);
}

void ControlPictureBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace galvora::gui
