// libFuzzer target: the profile file reader and writer. The input is read as
// a profile file into a table of defaults (with the upgrades of an old
// version), written back through the writer into a scratch folder, and the
// written file is read again: reading what the writer wrote and writing it
// once more must give the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <system_error>

#include "foundation/error.h"
#include "foundation/text_codec.h"
#include "profile/clone_effect_list.h"
#include "profile/effect_picture.h"
#include "profile/profile_file.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"
#include "profile/default_table.h"
#include "profile/fuzz_files.h"

namespace {

using namespace galvora;


// Reads the file into fresh lists and writes them out again; false when the
// file cannot be read as a profile (the reader's own error, not a finding).
bool einlesen(const std::filesystem::path& datei, bool aktualisieren, std::string& text) {
    std::error_code ec;
    auto zeilen = read_text_lines(datei, ec);
    if (!zeilen) return false;
    Profiltabelle tabelle;
    fuzz::default_table(tabelle);
    CCloneEffekte effekte;
    ZNModule module;
    try {
        profile_lines_einlesen(*zeilen, tabelle, effekte, module);
        if (aktualisieren) {
            const std::string version = tabelle[1].value;
            if (version < "2.09.00") return false;
            profil_aktualisieren(tabelle, version, static_cast<long>(zeilen->size()));
        }
    } catch (const ProfileLineFailure&) {
        return false;
    }
    text = profile_text(tabelle, effekte, module);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    set_effect_picture_reader([](const std::string& file) -> PictureBuffer {
        throw GalvoraError(53, "ReadImage", "File not found: " + file);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto eingabe = fuzz::input_file(data, size, "eingabe.qvp");
    std::string erster;
    if (!einlesen(eingabe, true, erster)) return 0;

    const auto ausgabe = fuzz::scratch_folder() / "profile" / "geschrieben.qvp";
    std::error_code ec;
    std::filesystem::create_directories(ausgabe.parent_path(), ec);
    if (!write_file_atomic(ausgabe, erster, ec)) {
        std::cerr << "profile_fuzzer: cannot write " << ausgabe << ": " << ec.message() << "\n";
        std::abort();
    }
    std::string zweiter;
    if (!einlesen(ausgabe, false, zweiter)) {
        std::cerr << "profile_fuzzer: the written profile cannot be read back\n";
        std::abort();
    }
    if (zweiter != erster) {
        std::cerr << "profile_fuzzer: the written profile reads back differently\n--- written\n"
                  << erster << "\n--- written again\n" << zweiter << "\n";
        std::abort();
    }
    return 0;
}
