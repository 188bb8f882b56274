#include "generation/picture_collection.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string>
#include <span>

#include "foundation/error.h"
#include "foundation/sorting.h"
#include "foundation/string_helpers.h"
#include "generation/directory_loop.h"
#include "generation/output_paths.h"
#include "generation/run_accessors.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "image/imaging_error.h"
#include "image/picture/jpeg_completeness.h"
#include "image/picture_io.h"
#include "image/picture_type.h"

namespace galvora {

namespace {

void ordnen(Laufzustand& run, std::span<std::shared_ptr<ZNImageFile>> pictures) {
    if (!run.HtmlErzeugen) {
        bilddateien_sortieren(pictures, kSortName, kSortUp);
        return;
    }
    // Sorting by dimension uses the sizes measured when the unreadable
    // pictures were sorted out.
    bilddateien_sortieren(pictures, setting_int(kSetThumbSortierung), setting_int(kSetThumbSortierrichtung));
}

// Pictures whose file cannot be read (no picture at all, an empty file, a
// damaged head, a JPEG cut short before the end of its data) would get pages
// with a broken picture: they are named in the run's log and left out of the
// directory, its pages and every count before anything is planned around
// them. The window program asks about each, as about a picture that fails
// later: OK leaves it out and goes on, Cancel stops the run.
void unlesbare_aussortieren(Laufzustand& run, Verzeichnissatz& d) {
    LaufAuftrag& job = lauf_auftrag();
    const size_t n = std::min(d.bilddateien.size(), static_cast<size_t>(std::max<int32_t>(d.bildanzahl, 0)));
    d.bilddateien.resize(n);
    std::erase_if(d.bilddateien, [&](const std::shared_ptr<ZNImageFile>& p) {
        if (!p) return true;
        if (CancelRequested) return false;
        const std::string path = job.basisverzeichnis + "/" + d.relativer_pfad + "/" + p->ODateiname + "." + p->ODateiart;
        try {
            GetImageDims(path, p->OBildtyp, p->ODimX, p->ODimY);
            if (p->OBildtyp != picture_type::jpeg || jpeg_vollstaendig(path)) return false;
            throw imaging_error(ImagingFault::bad_data, "ReadImage", "IS_ReadXXX");
        } catch (const GalvoraError& e) {
            if (bildfehler_fragen(e.info(), path)) CancelRequested = true;
        }
        ++run.FehlerhafteBilder;
        d.bildbytes -= p->OBytes;
        job.bildbytes_gesamt -= p->OBytes;
        job.basis_bildanzahl -= 1;
        return true;
    });
    d.bildanzahl = static_cast<int32_t>(d.bilddateien.size());
}

// Pictures of one folder whose names differ only in their extension (a.bmp,
// a.tif, a.jpg) would share one thumbnail and one page: each later one gets
// the extension, and where needed a number, added to its name. A clone is
// renamed with it; without clones the original keeps serving under its own
// name and only the page and the thumbnail take the new one.
void eindeutig_benennen(const RunPicture& picture, std::span<std::shared_ptr<ZNImageFile>> pictures) {
    std::set<std::string> taken;
    for (auto& p : pictures) {
        p->Seitenname.clear();
        const std::string base = p->CDateiname;
        std::string name = base;
        for (int32_t n = 1; taken.contains(utf8_to_lower(name)); ++n)
            name = base + "_" + p->ODateiart + (n > 1 ? "_" + std::to_string(n) : std::string());
        taken.insert(utf8_to_lower(name));
        if (name == base) continue;
        if (picture.ClonenDurchführen()) {
            p->CDateiname = name;
        } else {
            p->Seitenname = name;
        }
        if (picture.ThumbDurchführen()) p->TDateiname = name;
    }
}

// A clone or thumbnail name that with its extension would not fit in a file
// name (a long picture name with the extension added above, or a long rename
// mask) is shortened the way page names are: its leading bytes and a short
// hash of the whole name, the same in every run. Without clones the original
// serves under its own name, which fits.
void passend_kuerzen(const RunPicture& picture, std::span<std::shared_ptr<ZNImageFile>> pictures) {
    for (auto& p : pictures) {
        if (picture.ClonenDurchführen()) p->CDateiname = seitenname_passend(p->CDateiname, "." + p->CDateiart);
        if (picture.ThumbDurchführen()) p->TDateiname = seitenname_passend(p->TDateiname, "." + p->TDateiart);
    }
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
    eindeutig_benennen(picture, pictures);
    passend_kuerzen(picture, pictures);
}

}  // namespace

void bilder_zusammenstellen(Laufzustand& run) {
    std::vector<Verzeichnissatz>& directories = lauf_auftrag().verzeichnisse;
    for (Verzeichnissatz& d : directories) {
        run_port().tree_node_image(d.baumknoten, "checked_rot");
        unlesbare_aussortieren(run, d);
        const int64_t total = static_cast<int64_t>(run.BilderGesamt) + d.bildanzahl;
        if (total > std::numeric_limits<int32_t>::max()) throw GalvoraError(6, "erzeugung_durchfuehren", "Overflow");
        run.BilderGesamt = static_cast<int32_t>(total);
        const size_t n = std::min(d.bilddateien.size(), static_cast<size_t>(std::max<int32_t>(d.bildanzahl, 0)));
        std::span<std::shared_ptr<ZNImageFile>> pictures(d.bilddateien.data(), n);
        ordnen(run, pictures);
        benennen(run, d, pictures);
    }
    // A directory left without pictures (all of them unreadable) stays in
    // the run: its hook runs and it is counted, but it gets no page and no
    // page links to it.
    run.bildsummen = bildsummen(directories);
}

}  // namespace galvora
