#pragma once
// A run shown in the main window: the status texts in the log box, the two
// bars, the tree's node pictures, the control picture; between pictures the
// window processes its events, so the stop button, the close box and the
// control-image box work while the run goes. The lines a run logs (a picture
// that cannot be read, a file not replaced) stay in the log box below each
// status text, to the end of the run and after it.
#include <QString>

#include "generation/run_port.h"

namespace galvora {
struct Startdialog;
}

namespace galvora::gui {

class MainWindow;

class WindowRunPort : public RunPort {
public:
    WindowRunPort(MainWindow& window, Startdialog& model) : window_(window), model_(model) {}

    void status_text(const std::string& text) override;
    void log_line(const std::string& text) override;
    void overall_progress_begin() override;
    void overall_progress_max(int32_t maximum) override;
    void overall_progress_value(int32_t value) override;
    void overall_progress_end() override;
    void path_progress_attach() override;
    void path_progress_reset(const std::string& text, int32_t maximum) override;
    void path_progress_value(int32_t value) override;
    void path_progress_visible(bool on) override;
    void tree_node_select(int64_t node) override;
    void tree_node_image(int64_t node, const std::string& image_key) override;
    std::string tree_node_text(int64_t node) override;
    PictureBoxPort* control_picture() override;
    void process_events() override;
    // The log box was emptied: the status and the run's lines are gone.
    void leeren();

private:
    MainWindow& window_;
    Startdialog& model_;
    // The status text shown, and the lines the run logged since it began.
    QString status_;
    QString notes_;
};

}  // namespace galvora::gui
