#pragma once
// The window program: the start-up with the main window, run from main()
// when there is a display.
#include <memory>

#include "app/startup.h"

namespace galvora::gui {

class MainWindow;

class WindowProgram : public Fensterprogramm {
public:
    WindowProgram();
    ~WindowProgram() override;
    WindowProgram(const WindowProgram&) = delete;
    WindowProgram& operator=(const WindowProgram&) = delete;

    void startdialog_zeigen(CommandArguments* arguments) override;
    bool startdialog_schliessen() override;
    int ereignisse_verarbeiten() override;

    MainWindow* fenster() const { return window_.get(); }

private:
    std::unique_ptr<MainWindow> window_;
};

// Makes the application with its message and dialog ports and runs the
// start-up with the window program; the exit status.
int fensterprogramm_ausfuehren(int argc, char** argv);

}  // namespace galvora::gui
