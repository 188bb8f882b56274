#include "gui/colours.h"

namespace galvora::gui {

QColor qt_farbe(uint32_t colour, const QPalette& palette) {
    if ((colour & 0x80000000u) != 0) {
        switch (colour & 0xFF) {
            case 5:
                return palette.color(QPalette::Active, QPalette::Base);
            case 8:
                return palette.color(QPalette::Active, QPalette::Text);
            case 15:
                return palette.color(QPalette::Active, QPalette::Button);
            case 17:
                return palette.color(QPalette::Disabled, QPalette::Text);
            default:
                return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

uint32_t farbwert(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

}  // namespace galvora::gui
