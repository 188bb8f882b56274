#pragma once
// Conversions between the models' plain values and Qt's: UTF-8 text,
// 0x00BBGGRR colours and system colours, twips and pixels, character and
// UTF-16 positions, picture buffers, key codes.
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>

#include <cstdint>
#include <string>

#include "options/page_control.h"

class QKeyEvent;

namespace galvora {

class PictureBuffer;

inline QString qs(const std::string& text) { return QString::fromStdString(text); }
inline std::string u8(const QString& text) { return text.toStdString(); }

// A colour of the models; system colours come from the palette. False for
// ControlState::kNoColour.
bool qt_colour(uint32_t colour, const QPalette& palette, QColor& out);

// Twips to pixels.
int to_px(double twips, int twips_per_pixel);
QRect to_px(const TwipRect& place, int twips_per_pixel);

// Positions: the models count characters, QString counts UTF-16 units.
int utf16_offset(const QString& text, int32_t characters);
int32_t character_offset(const QString& text, int utf16);

// A picture buffer as an image.
QImage to_image(const PictureBuffer& picture);

// The key code and shift bits of the models' key events.
int key_code(const QKeyEvent& event);
int shift_bits(Qt::KeyboardModifiers modifiers);

}  // namespace galvora
