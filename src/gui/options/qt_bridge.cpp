#include "gui/options/qt_bridge.h"

#include <QKeyEvent>

#include <cmath>

#include "image/picture_buffer.h"
#include "options/value_encodings.h"

namespace galvora {

bool qt_colour(uint32_t colour, const QPalette& palette, QColor& out) {
    if (colour == ControlState::kNoColour) return false;
    if (is_system_colour(colour)) {
        switch (colour) {
            case kSysWindowBackground: out = palette.color(QPalette::Base); return true;
            case kSysButtonFace: out = palette.color(QPalette::Button); return true;
            case kSysWindowText: out = palette.color(QPalette::Text); return true;
            case kSysGreyText: out = palette.color(QPalette::Disabled, QPalette::Text); return true;
            default: out = palette.color(QPalette::Window); return true;
        }
    }
    out = QColor(colour_red(colour), colour_green(colour), colour_blue(colour));
    return true;
}

int to_px(double twips, int twips_per_pixel) {
    return static_cast<int>(std::lround(twips / (twips_per_pixel > 0 ? twips_per_pixel : 15)));
}

QRect to_px(const TwipRect& place, int twips_per_pixel) {
    return QRect(to_px(place.left, twips_per_pixel), to_px(place.top, twips_per_pixel),
                 to_px(place.width, twips_per_pixel), to_px(place.height, twips_per_pixel));
}

int utf16_offset(const QString& text, int32_t characters) {
    int units = 0;
    for (int32_t i = 0; i < characters && units < text.size(); ++i)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return units;
}

int32_t character_offset(const QString& text, int utf16) {
    int32_t characters = 0;
    for (int units = 0; units < utf16 && units < text.size(); ++characters)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return characters;
}

QImage to_image(const PictureBuffer& picture) {
    if (picture.empty()) return {};
    QImage image(picture.data(), picture.width(), picture.height(), static_cast<qsizetype>(picture.row_bytes()),
                 QImage::Format_RGB888);
    return image.copy();  // owns its pixels
}

int key_code(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Delete: return 46;
        default: break;
    }
    if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F24) return 112 + (event.key() - Qt::Key_F1);
    if (event.key() >= 0x20 && event.key() < 0x80) return event.key();
    return 0;
}

int shift_bits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= 1;
    if (modifiers & Qt::ControlModifier) bits |= 2;
    if (modifiers & Qt::AltModifier) bits |= 4;
    return bits;
}

}  // namespace galvora
