// libFuzzer target: the script file reader. The input is loaded as a script
// file (each module is test-compiled on the way); a file that loads is stored
// into a scratch folder and loaded again, which must give the same modules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/script_file.h"
#include "foundation/language.h"
#include "profile/fuzz_files.h"
#include "profile/profile_lists.h"
#include "profile/script_modules.h"
#include "script/engine.h"

namespace {

using namespace galvora;

std::vector<std::pair<std::string, std::string>> module_lesen() {
    std::vector<std::pair<std::string, std::string>> liste;
    for (const auto& m : ScriptFileModules()) liste.emplace_back(m->Name(), m->inhalt());
    return liste;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The language choice is stored in the per-user settings.
    fuzz::use_scratch_home();
    deutsche_texte_anlegen();
    sprache_waehlen("de");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    script_objekt_anlegen();
    const auto eingabe = fuzz::input_file(data, size, "eingabe.zsf");
    if (!ZNSLoad(eingabe.string())) return 0;
    const auto erste = module_lesen();

    const auto ausgabe = fuzz::scratch_folder() / "gespeichert.zsf";
    if (!ZNSStore(ausgabe.string())) {
        std::cerr << "script_file_fuzzer: cannot store " << ausgabe << "\n";
        std::abort();
    }
    if (!ZNSLoad(ausgabe.string()) || module_lesen() != erste) {
        std::cerr << "script_file_fuzzer: the stored script file loads back differently\n";
        std::abort();
    }
    return 0;
}
