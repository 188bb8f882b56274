#include "gui/progress_bar_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "gui/colours.h"

namespace galvora::gui {

ProgressBarWidget::ProgressBarWidget(Fortschrittanzeige& model, QWidget* parent) : QWidget(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setFocusPolicy(Qt::NoFocus);
}

void ProgressBarWidget::zeigen(bool now) {
    if (model_.stand() == painted_) return;
    if (now) {
        repaint();
    } else {
        update();
    }
}

void ProgressBarWidget::paintEvent(QPaintEvent*) {
    painted_ = model_.stand();
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor background =
        model_.flach() ? qt_farbe(model_.hintergrund(), pal) : pal.color(QPalette::Active, QPalette::Base);
    p.fillRect(rect(), background);
    for (const Balkenstueck& piece : model_.stuecke()) {
        const QRectF area(piece.von, 0, piece.bis - piece.von, height());
        p.fillRect(area, qt_farbe(piece.farbe, pal));
    }
    if (model_.rahmenfarbe() >= 0) {
        p.setPen(qt_farbe(static_cast<uint32_t>(model_.rahmenfarbe()), pal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    } else if (!model_.flach()) {
        p.setPen(pal.color(QPalette::Active, QPalette::Mid));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
    // The directory bar lies on the tree, which a run disables: the bar
    // shows the run all the same, in its active colours.
    p.setPen(pal.color(QPalette::Active, QPalette::Text));
    p.drawText(rect().adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(QString::fromStdString(model_.beschriftung()), Qt::ElideRight, width() - 12));
}

void ProgressBarWidget::resizeEvent(QResizeEvent* event) {
    model_.groesse(static_cast<float>(event->size().width()), static_cast<float>(event->size().height()));
    QWidget::resizeEvent(event);
}

}  // namespace galvora::gui
