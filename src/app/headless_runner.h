#pragma once
// The run without windows: progress and the run's log go to stderr (one
// updating line on a terminal, plain lines otherwise) and into the log file;
// an interrupt (Ctrl+C, SIGTERM) asks the run to stop.
#include <cstdint>
#include <iosfwd>
#include <string>

#include "generation/run_port.h"

namespace galvora {

class HeadlessRunPort : public RunPort {
public:
    // `terminal`: the stream is a terminal, so progress rewrites one line.
    HeadlessRunPort(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
    ~HeadlessRunPort() override;
    void status_text(const std::string& text) override;
    void log_line(const std::string& text) override;
    void overall_progress_max(int32_t maximum) override { maximum_ = maximum; }
    void overall_progress_value(int32_t value) override;
    void overall_progress_end() override;
    void process_events() override;

private:
    void show_progress();
    void end_progress_line();
    std::ostream& out_;
    bool terminal_;
    bool line_open_ = false;
    int32_t maximum_ = 0;
    int32_t value_ = 0;
    std::string status_;
};

// Installs the interrupt handlers; a caught signal is turned into a cancel
// request at the run's next yield.
void unterbrechung_abfangen();
// True once an interrupt arrived.
bool unterbrechung_empfangen();

}  // namespace galvora
