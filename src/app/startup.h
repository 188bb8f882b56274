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
};

int Main(int argc, const char* const* argv);

}  // namespace galvora
