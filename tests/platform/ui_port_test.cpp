#include "platform/ui_port.h"

#include <gtest/gtest.h>

namespace galvora {
namespace {

TEST(MessageBoxButtons, EscapeGivesTheCancelLogicOfEachButtonSet) {
    struct Case {
        int style;
        std::vector<int> buttons;
        int escape;
    };
    const Case cases[] = {
        {0, {1}, 1},          // OK
        {1 | 48, {1, 2}, 2},  // OK, Cancel
        {2, {3, 4, 5}, 0},    // Abort, Retry, Ignore: Esc does nothing
        {3 | 32, {6, 7, 2}, 2},
        {4 | 32, {6, 7}, 7},
        {5, {4, 2}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(message_box_buttons(c.style), c.buttons) << c.style;
        EXPECT_EQ(escape_button_answer(c.style), c.escape) << c.style;
    }
}

}  // namespace
}  // namespace galvora
