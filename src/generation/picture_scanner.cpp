#include "generation/picture_scanner.h"

#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

#include "foundation/ole_date.h"
#include "foundation/string_helpers.h"
#include "generation/file_pattern.h"
#include "generation/metadata_accessors.h"
#include "generation/run_state.h"
#include "generation/script_glue.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "script/engine.h"
#include "script/operators.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

// A matching file of the folder: its name and type, and (for listing) its
// date and size.
struct Candidate {
    std::string name;
    int32_t type_code = 0;
    double date = 0;
    uintmax_t size = 0;
};

// Walks the folder in the order the file system gives, calling visit for
// every file whose name matches a pattern (the first matching pattern gives
// the type). Folders and hidden files are skipped; a folder that cannot be
// read visits nothing.
template <class Visit>
void passende_dateien(const std::string& folder, const std::vector<ExtensionEntry>& patterns, Visit visit) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) continue;
        Candidate c;
        c.name = it->path().filename().string();
        if (versteckter_name(c.name)) continue;
        const ExtensionEntry* hit = nullptr;
        for (const ExtensionEntry& e : patterns) {
            if (muster_passt(c.name, e.mask)) {
                hit = &e;
                break;
            }
        }
        if (hit == nullptr) continue;
        c.type_code = hit->type_code;
        std::error_code info_ec;
        const auto when = it->last_write_time(info_ec);
        if (!info_ec) {
            // To the second, as the directory listing reports it.
            const auto system = std::chrono::file_clock::to_sys(when);
            c.date = ole_from_time_t(std::chrono::system_clock::to_time_t(
                std::chrono::time_point_cast<std::chrono::system_clock::duration>(system)));
        }
        c.size = it->file_size(info_ec);
        if (info_ec) c.size = 0;
        visit(c);
    }
}

std::shared_ptr<ZNImageFile> record_for(const Candidate& c) {
    auto r = std::make_shared<ZNImageFile>();
    const size_t dot = c.name.rfind('.');
    r->ODateiname = dot == std::string::npos ? c.name : c.name.substr(0, dot);
    r->ODateiart = dot == std::string::npos ? std::string() : c.name.substr(dot + 1);
    r->OBildtyp = c.type_code;
    r->ODatum = c.date;
    return r;
}

// The oracle's answer slot, set to @FALSE before each candidate.
ZNSWertRef antwort_vorbereiten() {
    ZNS* engine = zns();
    if (engine == nullptr) return nullptr;
    ZNSWertRef answer = engine->gvar_oba.alloc("_return_value", false);
    if (engine->sym_falsch) engine->sym_falsch->copy(*answer);
    return answer;
}

bool orakel_sagt_ja(const std::string& folder, const std::shared_ptr<ZNImageFile>& r) {
    ZNSWertRef answer = antwort_vorbereiten();
    if (!answer) return false;
    r->CDateiname = r->ODateiname;
    r->CDateiart = r->ODateiart;
    r->CBildtyp = r->OBildtyp;
    bild_orakel(folder, r);
    // The hook may have replaced the variable; read it again by name.
    ZNS* engine = zns();
    if (engine == nullptr || !engine->sym_wahr) return false;
    ZNSWertRef now = engine->gvar_oba.inq("_return_value");
    return now && gleich_ohne_gross_klein(ausgabe_text(*now), ausgabe_text(*engine->sym_wahr));
}

}  // namespace

std::vector<ExtensionEntry> musterliste_bilden() {
    std::vector<ExtensionEntry> list;
    const std::vector<std::string> terms = split_trimmed_list(setting_text(kSetFilter));
    for (int code = 3; code <= 14; ++code) {
        if (!setting_is_one(kSetTypeSwitchFirst + code - 3)) continue;
        const std::vector<std::string> extensions = split_trimmed_list(setting_text(kSetTypeExtensionFirst + code - 3));
        for (const std::string& term : terms) {
            for (const std::string& extension : extensions) {
                list.push_back({term + "." + extension, code});
            }
        }
    }
    return list;
}

void bild_orakel(const std::string& folder, const std::shared_ptr<ZNImageFile>& record) {
    Laufzustand& run = laufzustand();
    run.AktuellesBild = neues_bildobjekt();
    run.AktuellesBild->OriginalPfad(folder);
    run.AktuellesBild->ImageFile(record);
    ErrorInfo error;
    run.AktuellesBild->DoIt(error);  // a picture that cannot be read still meets the oracle
    bildvariablen_setzen(*record);
    CurrentPictureScope current(run.AktuellesBild->metadata());
    skriptfunktion_ausfuehren(0, "_oracle");
}

void bilddateien_einlesen(const std::string& folder, const std::vector<ExtensionEntry>& patterns, bool oracle,
                          int32_t& count, std::vector<std::shared_ptr<ZNImageFile>>& list, int64_t& bytes) {
    count = 0;
    bytes = 0;
    list.clear();
    passende_dateien(folder, patterns, [&](const Candidate& c) {
        // The size field holds 32 bits; a larger file is no picture the run can take.
        if (c.size > static_cast<uintmax_t>(std::numeric_limits<int32_t>::max())) return;
        if (count == std::numeric_limits<int32_t>::max()) return;
        auto r = record_for(c);
        r->OBytes = static_cast<int32_t>(c.size);
        if (oracle && !orakel_sagt_ja(folder, r)) return;
        if (count % 500 == 0) list.resize(static_cast<size_t>(count) + 500);
        list[static_cast<size_t>(count)] = std::move(r);
        ++count;
        bytes += static_cast<int64_t>(c.size);
    });
    list.resize(static_cast<size_t>(count));
    list.shrink_to_fit();
}

int32_t bilddateien_zaehlen(const std::string& folder, const std::vector<ExtensionEntry>& patterns, bool oracle) {
    int32_t count = 0;
    passende_dateien(folder, patterns, [&](const Candidate& c) {
        if (c.size > static_cast<uintmax_t>(std::numeric_limits<int32_t>::max())) return;
        if (count == std::numeric_limits<int32_t>::max()) return;
        if (oracle && !orakel_sagt_ja(folder, record_for(c))) return;
        ++count;
    });
    return count;
}

}  // namespace galvora
