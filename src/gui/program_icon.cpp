#include "gui/program_icon.h"

#include <QGuiApplication>

// The icon's pictures are compiled in from the library's resource file; a
// static library has to register them itself.
static void register_icon_resources() { Q_INIT_RESOURCE(program_icon); }

namespace galvora::gui {

QIcon programm_symbol() {
    register_icon_resources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/galvora/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

void programm_symbol_setzen() {
    QGuiApplication::setWindowIcon(programm_symbol());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

}  // namespace galvora::gui
