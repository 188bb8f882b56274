#include "generation/picture_collection.h"

#include <algorithm>
#include <limits>
#include <span>

#include "foundation/error.h"
#include "foundation/sorting.h"
#include "foundation/string_helpers.h"
#include "generation/run_accessors.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "image/picture_io.h"

namespace galvora {

namespace {

void ordnen(Laufzustand& run, Verzeichnissatz& d, std::span<std::shared_ptr<ZNImageFile>> pictures) {
    if (!run.HtmlErzeugen) {
        bilddateien_sortieren(pictures, kSortName, kSortUp);
        return;
    }
    const int32_t kind = setting_int(kSetThumbSortierung);
    const int32_t direction = setting_int(kSetThumbSortierrichtung);
    if (kind == kSortDimension) {
        for (auto& p : pictures) {
            const std::string path = lauf_auftrag().basisverzeichnis + "/" + d.relativer_pfad + "/" + p->ODateiname +
                                     "." + p->ODateiart;
            // A picture that cannot be measured sorts as 0 x 0; its processing
            // reports it later, so one bad file does not stop the whole run.
            try {
                GetImageDims(path, p->OBildtyp, p->ODimX, p->ODimY);
            } catch (const GalvoraError&) {
                p->ODimX = 0;
                p->ODimY = 0;
            }
        }
    }
    bilddateien_sortieren(pictures, kind, direction);
}

void benennen(const Laufzustand& run, const Verzeichnissatz& d, std::span<std::shared_ptr<ZNImageFile>> pictures) {
    const RunPicture& picture = *run.AktuellesBild;
    const CloneUmbenennung& rename = run.bildkonfiguration.umbenennung;
    long number = 0;
    for (auto& p : pictures) {
        ++number;
        if (picture.ClonenDurchführen()) {
            p->CDateiname = rename.an ? umbenennungsmaske_anwenden(rename.maske, rename.stellen, rename.suchen,
                                                                   rename.ersetzen, rename.modus, d.relativer_pfad,
                                                                   p->ODateiname, number)
                                      : p->ODateiname;
            // The directory text of the mask ("g/n" at level 2) or a replacement
            // may bring a "/": the clone stays a file in its own clone folder,
            // named like its page.
            std::replace(p->CDateiname.begin(), p->CDateiname.end(), '/', '_');
            if (run.bildkonfiguration.format_behalten) {
                p->CDateiart = p->ODateiart;
                p->CBildtyp = p->OBildtyp;
            } else {
                p->CDateiart = "jpg";
                p->CBildtyp = 6;
            }
        } else {
            p->CDateiname = p->ODateiname;
            p->CDateiart = p->ODateiart;
            p->CBildtyp = p->OBildtyp;
        }
        if (picture.ThumbDurchführen()) {
            p->TDateiname = p->CDateiname;
            p->TDateiart = "jpg";
            p->TBildtyp = 6;
        }
    }
}

}  // namespace

void bilder_zusammenstellen(Laufzustand& run) {
    std::vector<Verzeichnissatz>& directories = lauf_auftrag().verzeichnisse;
    for (Verzeichnissatz& d : directories) {
        const int64_t total = static_cast<int64_t>(run.BilderGesamt) + d.bildanzahl;
        if (total > std::numeric_limits<int32_t>::max()) throw GalvoraError(6, "erzeugung_durchfuehren", "Overflow");
        run.BilderGesamt = static_cast<int32_t>(total);
        run_port().tree_node_image(d.baumknoten, "checked_rot");
        const size_t n = std::min(d.bilddateien.size(), static_cast<size_t>(std::max<int32_t>(d.bildanzahl, 0)));
        std::span<std::shared_ptr<ZNImageFile>> pictures(d.bilddateien.data(), n);
        ordnen(run, d, pictures);
        benennen(run, d, pictures);
    }
    std::erase_if(directories, [](const Verzeichnissatz& d) { return d.bildanzahl <= 0 || d.bilddateien.empty(); });
    run.bildsummen = bildsummen(directories);
}

}  // namespace galvora
