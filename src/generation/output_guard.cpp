#include "generation/output_guard.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "foundation/directory_record.h"
#include "foundation/output_file.h"
#include "generation/file_pattern.h"
#include "generation/output_folders.h"
#include "generation/output_record.h"
#include "generation/picture_scanner.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "image/picture_type.h"

namespace galvora {

namespace {

std::pair<uint64_t, uint64_t> kennung(const struct stat& st) {
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::string anfang_oder_leer(const std::string& path) { return dateianfang(path).value_or(std::string()); }

bool binaer(std::string_view bytes) {
    if (bytes.size() > kGuessPrefixBytes) bytes = bytes.substr(0, kGuessPrefixBytes);
    return bytes.find('\0') != std::string_view::npos || guess_file_type(bytes) != guess_code::unknown ||
           bytes.substr(0, 4) == "8BPS";  // a layered picture, which the classifier leaves out
}

void ablehnung_melden(const std::string& target, const char* grund) {
    run_port().log_line("Nicht ersetzt: " + target + " (" + grund + ")");
}

}  // namespace

Ausgabeschutz& ausgabeschutz() {
    static Ausgabeschutz schutz;
    return schutz;
}

std::optional<std::string> dateianfang(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    std::string bytes(kGuessPrefixBytes, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}

bool inhalt_ist_binaer(const std::string& path) { return binaer(anfang_oder_leer(path)); }

bool anfang_ist_binaer(std::string_view first_bytes) { return binaer(first_bytes); }

void Ausgabeschutz::einrichten(const LaufAuftrag& job, const std::vector<ExtensionEntry>& patterns) {
    originale_.clear();
    for (const Verzeichnissatz& d : job.verzeichnisse) {
        const std::string folder = job.basisverzeichnis + "/" + d.relativer_pfad;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) continue;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            bool picture = false;
            for (const ExtensionEntry& e : patterns) {
                if (muster_passt(name, e.mask)) {
                    picture = true;
                    break;
                }
            }
            struct stat st {};
            if (picture && ::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                originale_.insert(kennung(st));
        }
        ::closedir(dir);
    }
}

bool Ausgabeschutz::ist_original(const std::string& path) const {
    struct stat st {};
    return !originale_.empty() && ::stat(path.c_str(), &st) == 0 && originale_.count(kennung(st)) != 0;
}

int Ausgabeschutz::pruefen(const std::string& target, const std::string& new_file) const {
    struct stat st {};
    // Nothing there yet, or a link, which is replaced itself (what it leads
    // to stays untouched): whether the run may write there at all, the
    // record of its output says.
    if (::lstat(target.c_str(), &st) != 0 || S_ISLNK(st.st_mode))
        return ausgabeaufzeichnung().zulassen(target, new_file);
    if (!S_ISREG(st.st_mode)) {
        ablehnung_melden(target, "keine gewöhnliche Datei");
        return EEXIST;
    }
    if (originale_.count(kennung(st)) != 0) {
        ablehnung_melden(target, "Originalbild");
        return EEXIST;
    }
    if (!new_file.empty() && !binaer(anfang_oder_leer(new_file)) && binaer(anfang_oder_leer(target))) {
        ablehnung_melden(target, "ein Bild oder eine andere Datei, die keine Seite ist");
        return EEXIST;
    }
    return ausgabeaufzeichnung().zulassen(target, new_file);
}

AusgabeschutzAktiv::AusgabeschutzAktiv() {
    set_output_root(lauf_auftrag().cloneverzeichnis);
    ausgabeaufzeichnung_beginnen();
    set_replace_guard([](const std::string& target, const std::string& new_file) {
        return ausgabeschutz().pruefen(target, new_file);
    });
}

AusgabeschutzAktiv::~AusgabeschutzAktiv() {
    set_replace_guard(nullptr);
    ausgabeaufzeichnung().beenden();
    set_output_root("");
    ausgabeschutz().leeren();
}

}  // namespace galvora
