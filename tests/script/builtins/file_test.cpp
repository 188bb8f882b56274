// read, write, exist and input on files in a temporary folder.
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/ui_port.h"
#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;
using testing::Fall;
using testing::TempOrdner;

std::string inhalt(const std::string& pfad) {
    std::ifstream f(pfad, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void schreiben(const std::string& pfad, const std::string& text) {
    std::ofstream f(pfad, std::ios::binary);
    f << text;
}

// Script text for a path literal.
std::string q(const std::string& s) { return "\"" + s + "\""; }

class FileBuiltinTest : public BuiltinTest {
protected:
    TempOrdner ordner;
};

TEST_F(FileBuiltinTest, ReadGivesLineRangesOrEndOfData) {
    const std::string f = ordner.datei("abc.txt");
    schreiben(f, "a\r\nb\nc\r");
    const std::string leer = ordner.datei("leer.txt");
    schreiben(leer, "");
    const std::string ansi = ordner.datei("ansi.txt");
    schreiben(ansi, "gr\xFC\xDF");
    pruefen({
        {"{read(" + q(f) + ")}", "a\r\nb\r\nc"},
        {"{read(" + q(f) + ", 2)}|{read(" + q(f) + ", 2, 2)}|{read(" + q(f) + ", 3, 9)}|{read(" + q(f) + ", 4)}|[" +
             "{read(" + q(f) + ", 3, 2)}]|{read(" + q(f) + ", 0, 1)}",
         "b\r\nc|b|c|@eod|[]|a"},
        {"[{read(" + q(leer) + ")}] {read(" + q(leer) + ", 1)} {read(" + q(ansi) + ")}", "[] @eod grüß"},
        {"{read(" + q(f) + ", \"2\")}|{ERRN_LAST}", "@error|3", 3},
        {"{read(" + q(f) + ", @IONFILE, 1)}|{ERRN_LAST}", "@error|2", 2},
        {"{read(" + q(f) + ", @TRUE)}|{ERRN_LAST}", "@error|4", 4},
        {"{read(" + q(f) + ", 1, 2.0)}|{ERRN_LAST}", "@error|3", 3},
        // Missing file, missing folder, a folder: the file error numbers; the run goes on.
        {"{read(" + q(ordner.datei("fehlt.txt")) + ")}|{ERRN_LAST}|weiter", "@error|53|weiter", 53},
        {"{read(" + q(ordner.datei("nicht/da.txt")) + ")}|{ERRN_LAST}", "@error|76", 76},
        {"{read(" + q(ordner.pfad().string()) + ")}|{ERRN_LAST}", "@error|75", 75},
    });
}

TEST_F(FileBuiltinTest, ReadHandsIniAndDescriptionFilesToTheirReaders) {
    const std::string ini = ordner.datei("a.ini");
    schreiben(ini, "[Bild]\nTitel=Sonne\n");
    ZNSProbelauf r = lauf("{x = read(" + q(ini) + ", @INIFILE); type(x)}|{s = x[\"Bild\"]; s[\"Titel\"]}");
    EXPECT_EQ(r.ausgabe, "@array|Sonne");
}

TEST_F(FileBuiltinTest, WriteCreatesReplacesAndAppends) {
    const std::string f = ordner.datei("out.txt");
    pruefen({
        {"{write(" + q(f) + ", \"x%\\y\")}", "@true"},
    });
    EXPECT_EQ(inhalt(f), "x\r\ny");
    pruefen({{"{write(" + q(f) + ", 2.5)}", "@true"}});
    EXPECT_EQ(inhalt(f), "2.5");
    pruefen({{"{write(" + q(f) + ", @Red)}{write(" + q(f) + ", @APPEND, \"a\")}{write(" + q(f) + ", @APPEND, 7)}",
              "@true@true@true"}});
    EXPECT_EQ(inhalt(f), "reda7");
    const std::string neu = ordner.datei("neu.txt");
    pruefen({{"{write(" + q(neu) + ", @APPEND, \"a\")}{write(" + q(neu) + ", @APPEND, \"b\")}{write(" + q(f) + ", x)}",
              "@true@true@true"}});
    EXPECT_EQ(inhalt(neu), "ab");
    EXPECT_EQ(inhalt(f), "");  // an undefined value empties the file
    pruefen({
        {"{write(" + q(f) + ")}|{ERRN_LAST}", "@error|2", 2},
        {"{write(" + q(f) + ", @TRUE, \"a\")}|{ERRN_LAST}", "@error|4", 4},
        {"{write(" + q(f) + ", 1, \"a\")}|{ERRN_LAST}", "@error|3", 3},
        {"{write(1, \"a\")}|{ERRN_LAST}", "@error|3", 3},
        {"{write(" + q(ordner.datei("nicht/da.txt")) + ", \"a\")}|{ERRN_LAST}|weiter", "@error|76|weiter", 76},
        {"{write(" + q(ordner.pfad().string()) + ", \"a\")}|{ERRN_LAST}", "@error|75", 75},
        {"{write(" + q(ordner.pfad().string()) + ", @APPEND, \"a\")}|{ERRN_LAST}", "@error|75", 75},
    });
    EXPECT_TRUE(std::filesystem::is_directory(ordner.pfad()));

    // A file without write permission keeps its text (unless the tests run as root).
    const std::string geschuetzt = ordner.datei("geschuetzt.txt");
    schreiben(geschuetzt, "alt");
    std::filesystem::permissions(geschuetzt, std::filesystem::perms::owner_read);
    if (::access(geschuetzt.c_str(), W_OK) != 0) {
        pruefen({{"{write(" + q(geschuetzt) + ", \"neu\")}|{ERRN_LAST}", "@error|70", 70}});
        EXPECT_EQ(inhalt(geschuetzt), "alt");
    }
}

TEST_F(FileBuiltinTest, ExistTestsFilesAndFolders) {
    const std::string f = ordner.datei("da.txt");
    schreiben(f, "x");
    pruefen({
        {"{exist(" + q(f) + ")} {exist(" + q(ordner.pfad().string()) + ")} {exist(" + q(ordner.datei("fehlt")) +
             ")} {exist(\"\")}",
         "@true @true @false @false"},
        {"{exist(1)}|{ERRN_LAST}", "@error|3", 3},
    });
}

// An input box that answers what it was told and records what it was asked.
class AntwortPort : public UiPort {
public:
    std::optional<std::string> antwort;
    std::string frage, vorgabe;
    int message_box(std::string_view, std::string_view, int) override { return 1; }
    std::optional<std::string> input_box(std::string_view p, std::string_view v) override {
        frage = p;
        vorgabe = v;
        return antwort;
    }
};

TEST_F(BuiltinTest, InputAsksThroughTheUiPort) {
    AntwortPort port;
    set_ui_port(&port);
    port.antwort = "Hallo";
    EXPECT_EQ(lauf("{input(\"Name?\", 42)}").ausgabe, "Hallo");
    EXPECT_EQ(port.frage, "Name?");
    EXPECT_EQ(port.vorgabe, "42");
    port.antwort.reset();  // closed without OK
    EXPECT_EQ(lauf("[{input(2.5)}]").ausgabe, "[]");
    EXPECT_EQ(port.frage, "2.5");
    set_ui_port(nullptr);
    // Without a window the box answers with its preset.
    EXPECT_EQ(lauf("[{input(\"Name?\", \"vor\")}]").ausgabe, "[vor]");
    pruefen({{"{input(x)}|{ERRN_LAST}", "@error|3", 3}});
}

}  // namespace
}  // namespace galvora
