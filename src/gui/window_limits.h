#pragma once
// Size limits of the program's top-level windows: the smallest and the
// largest size the user can drag a window's frame to, in pixels. The main
// window sets its own at load; the options dialog does the same.
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace galvora::gui {

inline void SubclassWindow(QWidget& window, int32_t min_width, int32_t min_height, int32_t max_width,
                           int32_t max_height) {
    window.setMinimumSize(min_width, min_height);
    window.setMaximumSize(std::max(max_width, min_width), std::max(max_height, min_height));
}

}  // namespace galvora::gui
