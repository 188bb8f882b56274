#include "app/terminal_help.h"

#include <string_view>

#include "app/startup.h"
#include "foundation/program_info.h"

namespace galvora {

std::string usage_text() {
    std::string text =
        "Usage: galvora                  open the main window (on a desktop)\n"
        "       galvora /Profile=NAME /Basedir=FOLDER /Level=N [/Logfile=FILE] [/KEY=VALUE ...]\n"
        "                                make the gallery of FOLDER without a click\n"
        "       galvora --help | -h      show this help\n"
        "       galvora --version | -v   show the version\n"
        "\n"
        "Batch switches (names in any letter case; a value with blanks in quotes):\n"
        "  /Profile=NAME      the profile of the run; \"Voreinstellung\" (\"Default\")\n"
        "                     is the built-in one\n"
        "  /Basedir=FOLDER    the folder of the pictures\n"
        "  /Level=0|1|2       the picture directories: 0 FOLDER itself, 1 its\n"
        "                     sub-folders, 2 the sub-folders of those\n"
        "  /Logfile=FILE      write a log of the start and the run\n"
        "  /Controlimage=1    show each picture while it is made (in the window)\n"
        "  /KEY=VALUE         replace the profile setting KEY for this run\n"
        "  '/$KEY=TEXT'       put TEXT in front of the setting's value\n"
        "  /KEY$=TEXT         put TEXT behind the setting's value\n"
        "\n"
        "Exit status:\n"
        "  0  done: the gallery is complete\n"
        "  1  the run failed or was interrupted\n"
        "  2  a faulty command line\n"
        "  3  a required component is missing\n"
        "  4  the gallery is complete, but some pictures could not be read or made\n"
        "  5  the gallery is complete, but a script stopped with an error or at a limit\n"
        "  6  both 4 and 5\n"
        "\n"
        "The manual: man galvora. The help pages: ";
    text += (program_folder() / "help" / "index.html").string();
    text += "\n";
    return text;
}

std::string version_text() {
    return product_name() + " " + version_kurz(programmversion()) + "\n" + copyright_text() + "\n";
}

std::optional<int> answer_terminal_question(int argc, const char* const* argv, std::ostream& out) {
    if (argc != 2 || argv[1] == nullptr) return std::nullopt;
    const std::string_view question = argv[1];
    if (question == "--help" || question == "-h") {
        out << usage_text();
    } else if (question == "--version" || question == "-v") {
        out << version_text();
    } else {
        return std::nullopt;
    }
    out.flush();
    return out ? kExitDone : kExitRunFailed;
}

}  // namespace galvora
