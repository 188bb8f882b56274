#pragma once
// The program's start: command line, log with the environment report,
// language, component test, syntax colours, the main window's load and, in
// batch mode, the run. Returns the exit status.
namespace galvora {

enum ExitStatus : int {
    kExitDone = 0,
    kExitRunFailed = 1,        // a message stopped the batch run, or it was interrupted
    kExitFaultyCommandLine = 2,
    kExitComponentMissing = 3,
    // The gallery is complete, but some pictures could not be read or made:
    // they are left out of pages and counts and named in the log.
    kExitPicturesFailed = 4,
    // The gallery is complete, but a script stopped with a run-time error or
    // at a limit: the page parts it should have written are missing.
    kExitScriptsFailed = 5,
    // Both of the above.
    kExitPicturesAndScriptsFailed = 6,
};

struct Laufzustand;
class CommandArguments;

// The window program as the start-up sees it. Without one, the program
// runs without windows: batch switches run the batch job, a start without
// them only checks the installation.
class Fensterprogramm {
public:
    virtual ~Fensterprogramm() = default;
    // Shows the main window and runs its load, which takes the command
    // line's switches (and with them batch mode).
    virtual void startdialog_zeigen(CommandArguments* arguments) = 0;
    // Closes the main window after a batch run: its close handling runs.
    // False when the close was refused (the user kept unsaved changes).
    virtual bool startdialog_schliessen() = 0;
    // Processes the window's events until it is closed; the exit status.
    virtual int ereignisse_verarbeiten() = 0;
};

// The exit status of a batch run that went to its end, from the faults the
// run counted. A page or file that could not be written fails the run.
int lauf_exit_status(const Laufzustand& run);

int Main(int argc, const char* const* argv, Fensterprogramm* fenster = nullptr);

}  // namespace galvora
