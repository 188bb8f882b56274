#include "app/headless_runner.h"

#include <csignal>
#include <ostream>

#include "foundation/bounded_read.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "platform/terminal_text.h"

namespace galvora {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void on_interrupt(int) { interrupted = 1; }

}  // namespace

void unterbrechung_abfangen() {
    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
    // A long file read gives way too, between its pieces.
    set_read_interrupt_check(unterbrechung_empfangen);
}

bool unterbrechung_empfangen() { return interrupted != 0; }

HeadlessRunPort::~HeadlessRunPort() { end_progress_line(); }

void HeadlessRunPort::end_progress_line() {
    if (!line_open_) return;
    out_ << '\n';
    out_.flush();
    line_open_ = false;
}

void HeadlessRunPort::show_progress() {
    // Status texts hold CR LF line breaks: plain output keeps them as lines,
    // the terminal's one updating line joins them.
    std::string line;
    for (char c : status_) {
        if (c == '\r') continue;
        if (c == '\n' && terminal_) {
            line += " | ";
        } else {
            line += c;
        }
    }
    // Names in the status text may hold control characters of their own.
    line = steuerzeichen_maskiert(line);
    if (terminal_) {
        if (maximum_ > 0) line += " [" + std::to_string(value_) + "/" + std::to_string(maximum_) + "]";
        out_ << '\r' << line << "\x1b[K";
        line_open_ = true;
    } else {
        out_ << line << '\n';
    }
    out_.flush();
}

void HeadlessRunPort::status_text(const std::string& text) {
    status_ = text;
    show_progress();
}

void HeadlessRunPort::log_line(const std::string& text) {
    end_progress_line();
    out_ << steuerzeichen_maskiert(text) << '\n';
    out_.flush();
    galvora::log_line(text);
}

void HeadlessRunPort::overall_progress_value(int32_t value) {
    value_ = value;
    // Plain output gets the status lines only; a line per picture would drown them.
    if (terminal_) show_progress();
}

void HeadlessRunPort::overall_progress_end() {
    end_progress_line();
    maximum_ = 0;
    value_ = 0;
}

void HeadlessRunPort::process_events() {
    if (interrupted == 0) return;
    // The stop button's effect: the run ends at its next test, and a batch
    // run counts as interrupted.
    CancelRequested = true;
    batchmodus = false;
    batch_unterbrochen = true;
}

}  // namespace galvora
