#include "gui/options/item_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "foundation/language.h"
#include "foundation/program_info.h"
#include "gui/options/qt_bridge.h"
#include "options/resource_file.h"

namespace galvora {

namespace {

constexpr int kSize = 16;

QPixmap blank() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A round mark in a colour: the state of a script module.
QPixmap mark(const QColor& colour) {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return pixmap;
}

// A sheet with a folded corner and a band: a profile of one kind.
QPixmap sheet(const QColor& band) {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.5, 1.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QColor(90, 90, 100));
    p.setBrush(QColor(250, 250, 250));
    p.drawPath(page);
    p.fillRect(QRectF(5, 6, 7, 3), band);
    p.fillRect(QRectF(5, 10, 7, 1), QColor(160, 160, 170));
    p.fillRect(QRectF(5, 12, 5, 1), QColor(160, 160, 170));
    return pixmap;
}

// A window with a title bar: the built-in language of the dialogs.
QPixmap window_picture() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setPen(QColor(60, 70, 100));
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(1, 2, 13, 11);
    p.fillRect(2, 3, 12, 3, QColor(44, 72, 128));
    return pixmap;
}

// The built-in language's picture: its own flag, which ships beside the
// other languages' flags; the window picture when the flag is missing.
QPixmap dialog_language_picture() {
    const ZNLanguage* german = sprache_deutsch();
    const std::string flag =
        german != nullptr ? resource_file(program_folder() / "languages", german->inq("Sprache", "LanguageImage"))
                          : std::string();
    const QPixmap picture(qs(flag));
    return picture.isNull() ? window_picture() : picture;
}

QPixmap unknown_picture() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setPen(QColor(110, 110, 110));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(1, 3, 13, 9);
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(1, 3, 14, 10), Qt::AlignCenter, "?");
    return pixmap;
}

}  // namespace

QIcon item_icon(const std::string& key) {
    if (key.empty()) return {};
    if (key.rfind("file:", 0) == 0) {
        const QPixmap flag(qs(key.substr(5)));
        return flag.isNull() ? QIcon(unknown_picture()) : QIcon(flag);
    }
    // Made when asked: the lists change rarely, and no picture outlives the application.
    if (key == "default") return QIcon(sheet(QColor(128, 128, 128)));
    if (key == "system") return QIcon(sheet(QColor(44, 96, 176)));
    if (key == "user") return QIcon(sheet(QColor(40, 150, 70)));
    if (key == "rot") return QIcon(mark(QColor(220, 40, 40)));
    if (key == "gold") return QIcon(mark(QColor(230, 180, 30)));
    if (key == "grün") return QIcon(mark(QColor(40, 170, 60)));
    if (key == "Dialog") return QIcon(dialog_language_picture());
    if (key == "Unknown") return QIcon(unknown_picture());
    return {};
}

}  // namespace galvora
