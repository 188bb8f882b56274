// The galvora executable: reads the command line, opens the log when asked,
// and (once the rest of the start-up is in place) runs the window program or
// the batch job.
#include <memory>
#include <string>

#include "foundation/command_arguments.h"
#include "foundation/log.h"
#include "foundation/messages.h"

namespace {

// Exit statuses of the program.
constexpr int kExitDone = 0;
constexpr int kExitFaultyCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    using namespace galvora;

    CommandArguments arguments;
    arguments.CommandLine(join_command_line(argc, argv));
    if (arguments.Error()) {
        // No language is loaded yet, so the text is fixed and bilingual.
        meldung_text(program_title(), MB_ICON_STOP, "Kommandozeile fehlerhaft%nError in Commandline%n%n%n%1",
                     {arguments.CommandLine()});
        return kExitFaultyCommandLine;
    }

    if (auto logfile = arguments.Argument("Logfile")) {
        arguments.remove("Logfile");
        auto log = std::make_unique<LogClass>();
        if (!log->CreateLogfile(*logfile)) {
            meldung_text(program_title(), MB_ICON_STOP,
                         "LOG-Datei kann nicht erzeugt werden%nUnable to create Logfile%n%n%1", {*logfile});
            return kExitFaultyCommandLine;
        }
        set_global_log(std::move(log));
        log_line("Initialization START");
    }

    return kExitDone;
}
