// The galvora executable: the window program when there is a display to
// show it on, else the program without windows (batch mode).
#include <iostream>

#include "app/startup.h"
#include "app/terminal_help.h"
#include "options/hand_off.h"
#include "platform/display.h"

#ifdef GALVORA_HAVE_GUI
#include "gui/window_program.h"
#endif

int main(int argc, char** argv) {
    // --help and --version answer in the terminal, also on a desktop.
    if (auto status = galvora::answer_terminal_question(argc, argv, std::cout)) return *status;
#ifdef GALVORA_HAVE_GUI
    if (galvora::has_display()) return galvora::gui::fensterprogramm_ausfuehren(argc, argv);
#endif
    // Every profile the run applies fills the option pages' models, which set
    // the run state from it as they do in the window program.
    galvora::optionen_anmelden();
    return galvora::Main(argc, argv);
}
