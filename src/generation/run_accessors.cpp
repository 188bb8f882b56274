#include "generation/run_accessors.h"

#include <algorithm>
#include <string>

#include "foundation/string_helpers.h"
#include "generation/picture_pages.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "script/value.h"

namespace galvora {

namespace {

const Verzeichnissatz* directory_at(int32_t number) {
    const auto& list = lauf_auftrag().verzeichnisse;
    if (number < 1 || static_cast<size_t>(number) > list.size()) return nullptr;
    return &list[static_cast<size_t>(number) - 1];
}

int32_t picture_count(const Verzeichnissatz& d) {
    return static_cast<int32_t>(std::min<size_t>(d.bilddateien.size(), static_cast<size_t>(std::max(d.bildanzahl, 0))));
}

std::string web_path(const std::string& relative) {
    std::string path = relative;
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

}  // namespace

std::vector<int64_t> bildsummen(const std::vector<Verzeichnissatz>& directories) {
    std::vector<int64_t> totals;
    totals.reserve(directories.size());
    int64_t total = 0;
    for (const Verzeichnissatz& d : directories) {
        total += picture_count(d);
        totals.push_back(total);
    }
    return totals;
}

bool verzeichnis_info(int32_t directory, int32_t selector, ZNSVariable& result) {
    const Verzeichnissatz* d = directory_at(directory);
    if (d == nullptr) return false;
    switch (selector) {
        case 0: result.set_integer(d->bildanzahl); return true;
        case 1: result.set_string(web_path(d->relativer_pfad)); return true;
        default: return false;
    }
}

bool bild_info(int32_t directory, int32_t picture, int32_t selector, ZNSVariable& result) {
    if (selector < 2 || selector > 14 || directory < 0 || picture < 1) return false;
    const Verzeichnissatz* d = nullptr;
    if (directory == 0) {
        const auto& list = lauf_auftrag().verzeichnisse;
        const Laufzustand& run = laufzustand();
        int64_t before = 0;
        if (run.aktiv && run.bildsummen.size() == list.size()) {
            // The first directory whose running total reaches the number.
            const auto at = std::lower_bound(run.bildsummen.begin(), run.bildsummen.end(), int64_t{picture});
            if (at == run.bildsummen.end()) return false;
            const auto k = static_cast<size_t>(at - run.bildsummen.begin());
            if (k > 0) before = run.bildsummen[k - 1];
            d = &list[k];
        } else {
            for (const Verzeichnissatz& candidate : list) {
                const int32_t n = picture_count(candidate);
                if (before + n >= picture) {
                    d = &candidate;
                    break;
                }
                before += n;
            }
        }
        if (d == nullptr) return false;
        picture = static_cast<int32_t>(picture - before);
    } else {
        d = directory_at(directory);
        if (d == nullptr || picture > picture_count(*d)) return false;
    }
    const ZNImageFile* r = d->bilddateien[static_cast<size_t>(picture) - 1].get();
    if (r == nullptr) return false;

    const Laufzustand& run = laufzustand();
    const std::string folder = web_path(d->relativer_pfad);
    switch (selector) {
        case 2:
            result.set_string(url_kodieren(run.Wurzelpraefix + folder + "/" + r->CDateiname + "." + r->CDateiart));
            break;
        case 3:
            // The page's own name: at level 0 a clash with another page's name
            // gives it a suffix.
            result.set_string(run.BildseitenErzeugen
                                  ? url_kodieren(run.Wurzelpraefix + setting_text(kSetHtmlBase) + "/" + folder + "/" +
                                                 bildseitenname(*d, picture) + run.HtmlEndung)
                                  : std::string());
            break;
        case 4: result.set_string(r->CDateiname); break;
        case 5: result.set_string(r->CDateiart); break;
        case 6: result.set_datum(r->CDatum); break;
        case 7: result.set_integer(r->CBytes); break;
        case 8: result.set_integer(r->CDimX); break;
        case 9: result.set_integer(r->CDimY); break;
        case 10:
            result.set_string(r->TDateiname.empty()
                                  ? std::string()
                                  : url_kodieren(run.Wurzelpraefix + setting_text(kSetThumbDirname) + "/" + folder +
                                                 "/" + r->TDateiname + "." + r->TDateiart));
            break;
        case 11: result.set_string(r->TDateiname); break;
        case 12: result.set_string(r->TDateiart); break;
        case 13: result.set_integer(r->TDimX); break;
        case 14: result.set_integer(r->TDimY); break;
        default: return false;
    }
    return true;
}

}  // namespace galvora
