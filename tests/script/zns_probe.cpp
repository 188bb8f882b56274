// zns_probe <template file> [module file]: compiles the template (and the
// module) on a fresh engine, runs it into the text buffer and prints the
// output, then ERRN_LAST and ERRS_LAST; a compile error prints its message.
// Exit status 0 after a run, 1 after a compile error, 2 for a bad call.
#include <iostream>
#include <string>
#include <system_error>

#include "foundation/language.h"
#include "foundation/text_codec.h"
#include "script/trial_run.h"

namespace {

bool lesen(const char* pfad, std::string& text) {
    std::error_code ec;
    auto bytes = galvora::read_file_bytes(pfad, ec);
    if (!bytes) {
        std::cerr << pfad << ": " << ec.message() << "\n";
        return false;
    }
    text = galvora::decode_text(*bytes);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: zns_probe <template file> [module file]\n";
        return 2;
    }
    std::string vorlage, modul;
    if (!lesen(argv[1], vorlage) || (argc == 3 && !lesen(argv[2], modul))) return 2;
    galvora::deutsche_texte_anlegen();
    galvora::sprache_waehlen("de");
    galvora::ZNSProbelauf r = galvora::skript_probelauf(vorlage, modul);
    if (r.compile_code != 0) {
        std::cout << r.meldung << "\n";
        return 1;
    }
    std::cout << r.ausgabe << "\nERRN_LAST=" << r.errn << "\nERRS_LAST=" << r.errs << "\n";
    return 0;
}
