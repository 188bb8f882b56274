#include "app/headless_runner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace galvora {
namespace {

TEST(HeadlessRunPort, PlainOutputWritesEachStatusAsLines) {
    std::ostringstream out;
    {
        HeadlessRunPort port(out, false);
        port.overall_progress_max(2);
        port.status_text("first\r\n640 x 480");
        port.overall_progress_value(1);
        port.log_line("a log line");
        port.overall_progress_end();
    }
    EXPECT_EQ(out.str(), "first\n640 x 480\na log line\n");
}

TEST(HeadlessRunPort, TerminalOutputUpdatesOneLine) {
    std::ostringstream out;
    {
        HeadlessRunPort port(out, true);
        port.overall_progress_max(2);
        port.status_text("first\r\nsecond");
        port.overall_progress_value(1);
        port.log_line("note");
        port.status_text("next");
    }
    EXPECT_EQ(out.str(),
              "\rfirst | second [0/2]\x1b[K\rfirst | second [1/2]\x1b[K\nnote\n\rnext [1/2]\x1b[K\n");
}

}  // namespace
}  // namespace galvora
