#pragma once
// The program's colour values (red + 256 * green + 65536 * blue, or a system
// colour with the top bit set) as Qt colours.
#include <QColor>
#include <QPalette>
#include <cstdint>

namespace galvora::gui {

// System colours by index: 5 text box background, 8 window text, 15 button
// face, 17 grey text; other indexes fall back to the window colour.
QColor qt_farbe(uint32_t colour, const QPalette& palette);
// A Qt colour as a plain colour value.
uint32_t farbwert(const QColor& colour);

}  // namespace galvora::gui
