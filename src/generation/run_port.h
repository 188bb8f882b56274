#pragma once
// Where a run reports its progress: the main window in the window program,
// the headless runner in batch mode. Every member does nothing by default, so
// a port implements only what it shows. The cancel flag is program-wide: the
// stop button and the close box set it (through the port's event processing),
// the run clears it when it starts and tests it after each yield.
#include <cstdint>
#include <string>

namespace galvora {

class PictureBoxPort;

class RunPort {
public:
    virtual ~RunPort() = default;

    // The status text box: the text replaces the previous one and shows at once.
    virtual void status_text(const std::string& text) { (void)text; }
    // A line for the run's log.
    virtual void log_line(const std::string& text) { (void)text; }

    // The overall progress bar: shown at run start, maximum = pictures of the
    // run, value = running picture number, hidden and reset at the end.
    virtual void overall_progress_begin() {}
    virtual void overall_progress_max(int32_t maximum) { (void)maximum; }
    virtual void overall_progress_value(int32_t value) { (void)value; }
    virtual void overall_progress_end() {}

    // The per-directory progress bar, placed on the row of the tree's selected node.
    virtual void path_progress_attach() {}
    virtual void path_progress_reset(const std::string& text, int32_t maximum) { (void)text, (void)maximum; }
    virtual void path_progress_value(int32_t value) { (void)value; }
    virtual void path_progress_visible(bool on) { (void)on; }

    // A directory's node in the selection tree: scrolled into view and
    // selected, or given an image by key ("checked_rot", "checked_gelb",
    // "checked_grün", "checked_alle").
    virtual void tree_node_select(int64_t node) { (void)node; }
    virtual void tree_node_image(int64_t node, const std::string& image_key) { (void)node, (void)image_key; }
    virtual std::string tree_node_text(int64_t node) { (void)node; return {}; }

    // The control picture: the box each picture object draws the picture
    // being processed into, asked for each picture anew; none by default.
    virtual PictureBoxPort* control_picture() { return nullptr; }

    // Lets the window system process pending messages (the stop button may set
    // CancelRequested meanwhile).
    virtual void process_events() {}
};

// The port in use; one that shows nothing until another is set.
RunPort& run_port();
// Installs a port the caller keeps alive; nullptr goes back to the silent one.
void set_run_port(RunPort* port);

// Set by the stop button and the close box while a run is going.
extern bool CancelRequested;

// Yields to the window system once and tells whether a cancel was asked for.
bool abbruch_pruefen();

}  // namespace galvora
