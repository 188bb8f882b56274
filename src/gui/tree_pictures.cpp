#include "gui/tree_pictures.h"

#include <QPainter>
#include <QPixmap>

namespace galvora::gui {

namespace {

enum class Mark { None, Tick, Part };

// The tree is disabled while a run colours its nodes: the pictures keep
// their colours there.
QIcon icon_of(const QPixmap& pixmap) {
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Disabled);
    return icon;
}

QIcon draw(QColor fill, Mark mark) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(fill);
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    if (mark == Mark::Tick) {
        p.setPen(QPen(QColor(20, 20, 20), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(6.5, 10.5), QPointF(11, 4.5)}));
    } else if (mark == Mark::Part) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(5, 5, 6, 6));
    }
    p.end();
    return icon_of(pixmap);
}

QIcon folder() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 6, 2);
    p.end();
    return icon_of(pixmap);
}

}  // namespace

std::map<std::string, QIcon> baumbilder() {
    return {
        {"unchecked", draw(Qt::white, Mark::None)},
        {"checked_alle", draw(Qt::white, Mark::Tick)},
        {"checked_einige", draw(Qt::white, Mark::Part)},
        {"checked_rot", draw(QColor(240, 90, 80), Mark::Tick)},
        {"checked_gelb", draw(QColor(250, 220, 70), Mark::Tick)},
        {"checked_grün", draw(QColor(110, 210, 100), Mark::Tick)},
        {"checked_blau", draw(QColor(110, 150, 240), Mark::Tick)},
        {"VerzeichnisOffen", folder()},
    };
}

}  // namespace galvora::gui
