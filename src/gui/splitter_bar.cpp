#include "gui/splitter_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace galvora::gui {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit gedrueckt();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) { emit gezogen(static_cast<int>(event->position().x())); }

void SplitterBar::mouseReleaseEvent(QMouseEvent*) { emit losgelassen(); }

void SplitterBar::keyPressEvent(QKeyEvent* event) {
    const int step = event->key() == Qt::Key_Left ? -kSchritt : event->key() == Qt::Key_Right ? kSchritt : 0;
    if (step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit gedrueckt();
    emit gezogen(step);
    emit losgelassen();
}

void SplitterBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), hasFocus() ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid));
}

}  // namespace galvora::gui
