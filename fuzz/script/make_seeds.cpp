// Writes the seed corpora of the script, profile and script-file fuzzers:
//   make_seeds <folder> [profile.qvp ...]
// <folder>/script/     every default setting long enough to be a template,
//                      and every setting value and module of the profiles
// <folder>/profile/    the profile file of the default settings
// <folder>/scriptfile/ one script file per profile, made of its modules
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "foundation/text_codec.h"
#include "profile/clone_effect_list.h"
#include "profile/profile_file.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"
#include "profile/default_table.h"

namespace {

using namespace galvora;

void schreiben(const std::filesystem::path& datei, const std::string& text) {
    std::ofstream out(datei, std::ios::binary);
    out << text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_seeds <folder> [profile.qvp ...]\n";
        return 2;
    }
    const std::filesystem::path ziel = argv[1];
    for (const char* unter : {"script", "profile", "scriptfile"}) std::filesystem::create_directories(ziel / unter);

    Profiltabelle tabelle;
    fuzz::default_table(tabelle);
    int n = 0;
    for (const auto& d : setting_definitions()) {
        if (std::string(d.default_value).size() >= 8) {
            schreiben(ziel / "script" / ("default-" + std::to_string(d.index)), d.default_value);
            ++n;
        }
    }
    schreiben(ziel / "profile" / "defaults.qvp", profile_text(tabelle, CCloneEffekte(), ZNModule()));

    for (int i = 2; i < argc; ++i) {
        const std::string stamm = std::filesystem::path(argv[i]).stem().string();
        std::error_code ec;
        auto zeilen = read_text_lines(argv[i], ec);
        if (!zeilen) {
            std::cerr << argv[i] << ": " << ec.message() << "\n";
            return 1;
        }
        fuzz::default_table(tabelle);
        CCloneEffekte effekte;
        ZNModule module;
        try {
            profile_lines_einlesen(*zeilen, tabelle, effekte, module);
        } catch (const ProfileLineFailure& f) {
            std::cerr << argv[i] << ": line " << f.line_number << " cannot be read\n";
            return 1;
        }
        for (size_t k = 0; k < tabelle.size(); ++k) {
            if (tabelle[k].value.size() >= 8) {
                schreiben(ziel / "script" / (stamm + "-" + std::to_string(k)), tabelle[k].value);
                ++n;
            }
        }
        std::string skriptdatei;
        int m = 0;
        for (const auto& modul : module) {
            schreiben(ziel / "script" / (stamm + "-modul-" + std::to_string(++m)), modul->inhalt());
            skriptdatei += "!*" + modul->Name() + "\r\n";
            for (const auto& zeile : split_lines(modul->inhalt())) skriptdatei += "!+" + zeile + "\r\n";
        }
        if (!skriptdatei.empty()) schreiben(ziel / "scriptfile" / (stamm + ".zsf"), skriptdatei);
    }
    std::cout << "make_seeds: " << n << " templates written to " << ziel.string() << "\n";
    return 0;
}
