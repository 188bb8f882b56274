#include "generation/directory_loop.h"

#include <cerrno>
#include <algorithm>
#include <optional>
#include <vector>

#include "foundation/error.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "foundation/path_helpers.h"
#include "foundation/string_helpers.h"
#include "generation/metadata_accessors.h"
#include "generation/output_folders.h"
#include "generation/output_record.h"
#include "generation/picture_pages.h"
#include "generation/picture_pipeline.h"
#include "generation/run_port.h"
#include "generation/page_skeleton.h"
#include "generation/run_state.h"
#include "generation/run_statistics.h"
#include "generation/script_glue.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "profile/clone_effect_list.h"
#include "profile/profile_lists.h"

namespace galvora {

Schleifenzustand& schleifenzustand() {
    static Schleifenzustand state;
    return state;
}

namespace {

// Makes a folder of the loop below the output root and clears it of the
// temporary files a killed run left; false after the message named by key,
// or after the message that the folder leads out of the output.
bool make_folder(const std::string& path, const char* key, std::string& result) {
    if (!ausgabeordner_pruefen(lauf_auftrag().cloneverzeichnis, path)) return false;
    // Known as the run's own before it exists: a picture processed ahead on
    // a worker writes into it as soon as it sees it.
    ausgabeaufzeichnung().ordner_einrichten(path);
    try {
        result = MakeFullDir(path);
        remove_stale_temporaries(result);
        ausgabeaufzeichnung().ordner_einrichten(result);
        return true;
    } catch (const GalvoraError& e) {
        meldung(program_title(), MB_ICON_EXCLAMATION, key, {std::to_string(e.number()), path});
        return false;
    }
}

// The variables a picture page changes, kept from the thumbnail page and put
// back after it.
class ThumbnailPageValues {
public:
    void keep() {
        Skriptvariablen& v = skriptvariablen();
        refs_ = {v.html_absolute, v.doc,       v.prev_doc,       v.up_doc,        v.next_doc,
                 v.prev_ref,      v.index_ref, v.up_ref,         v.next_ref,      v.deco_ref,
                 v.first_doc,     v.last_doc,  v.first_path_doc, v.last_path_doc, v.first_ref,
                 v.last_ref,      v.first_path_ref, v.last_path_ref};
        kept_.assign(refs_.size(), ZNSVariable{});
        for (size_t i = 0; i < refs_.size(); ++i)
            if (refs_[i]) refs_[i]->copy(kept_[i]);
    }
    void restore() {
        for (size_t i = 0; i < refs_.size(); ++i)
            if (refs_[i]) kept_[i].copy(*refs_[i]);
        Skriptvariablen& v = skriptvariablen();
        for (const ZNSWertRef* ref : {&v.first_page_doc, &v.last_page_doc, &v.first_page_ref, &v.last_page_ref})
            variable_setzen(*ref, "");
    }

private:
    std::vector<ZNSWertRef> refs_;
    std::vector<ZNSVariable> kept_;
};

void clear_picture_variables() {
    Skriptvariablen& v = skriptvariablen();
    for (const ZNSWertRef* ref : {&v.count_cur_all_files, &v.count_cur_file, &v.count_prev_file, &v.count_next_file,
                                  &v.count_cur_row, &v.count_cur_file_in_row, &v.count_cur_file_in_page})
        variable_setzen(*ref, int32_t{0});
    for (const ZNSWertRef* ref : {&v.file, &v.ext, &v.file_original, &v.ext_original, &v.date, &v.time})
        variable_setzen(*ref, "");
    variable_setzen(v.size_byte, int32_t{0});
    variable_setzen(v.size_kbyte, 0.0);
    variable_setzen(v.size_mbyte, 0.0);
    variable_setzen(v.dim, "0 x 0");
    for (const ZNSWertRef* ref : {&v.dimx, &v.dimy, &v.dimx_original, &v.dimy_original, &v.thumb_dimx, &v.thumb_dimy})
        variable_setzen(*ref, int32_t{0});
    for (const ZNSWertRef* ref : {&v.src_doc, &v.src_ref, &v.pic_ref, &v.thumb_ref}) variable_setzen(*ref, "");
}

std::vector<std::string> picture_error_values(const ErrorInfo& error, const std::string& err_image) {
    return {std::to_string(error.number), error.source, error.description, err_image};
}

}  // namespace

bool bildfehler_fragen(const ErrorInfo& error, const std::string& err_image) {
    // A clone or thumbnail that the file system refused (a full disk, a file
    // in the way) fails the run like a page that could not be written. One
    // the encoder could not make, or whose name the file system does not
    // take, is this picture's failure alone.
    if (error.system_error != 0 && error.system_error != ENAMETOOLONG) ++laufzustand().Schreibfehler;
    // Named in the log either way: the window's log box keeps the name
    // after the question is answered.
    bildfehler_melden(error, err_image);
    if (batchmodus) return false;
    const int answer = meldung_text(program_title(), MB_OKCANCEL_STYLE | MB_ICON_EXCLAMATION,
                                    "Image-Error %1%n%n%2%n%3%n%4", picture_error_values(error, err_image));
    return answer == ID_CANCEL;
}

namespace {

class Loop {
public:
    explicit Loop(Laufzustand& run) : run_(run), job_(lauf_auftrag()), state_(schleifenzustand()), v_(skriptvariablen()) {}

    void run() {
        const int32_t n = static_cast<int32_t>(job_.verzeichnisse.size());
        grenzen_ = laufgrenzen(job_.verzeichnisse);
        // Where each directory's pictures start in the run's count.
        erste_.assign(1, 0);
        for (const Verzeichnissatz& d : job_.verzeichnisse)
            erste_.push_back(erste_.back() + static_cast<size_t>(bilder_im_verzeichnis(d)));
        const CCloneEffekte* effects = job_.effekte != nullptr ? job_.effekte : &WorkingCloneEffects();
        pipeline_.emplace(*run_.AktuellesBild, *effects, [this](size_t index) { return job_at(index); });
        for (int32_t i = 1; i <= n; ++i) {
            if (!directory(i, n)) {
                state_.abgebrochen = true;
                return;
            }
            if (CancelRequested) return;
        }
    }

private:
    bool directory(int32_t i, int32_t n) {
        Verzeichnissatz& d = job_.verzeichnisse[static_cast<size_t>(i) - 1];
        RunPicture& picture = *run_.AktuellesBild;
        state_.VerzeichnisAktuell = i;
        state_.VerzeichnisVorher = i - 1;
        state_.VerzeichnisNachher = i < n ? i + 1 : 0;
        run_port().tree_node_select(d.baumknoten);
        run_port().tree_node_image(d.baumknoten, "checked_gelb");

        const std::string& root = job_.cloneverzeichnis;
        state_.Cloneordner.clear();
        state_.Thumbordner.clear();
        state_.Bildseitenordner.clear();
        if (picture.ClonenDurchführen() && !make_folder(root + "/" + d.relativer_pfad, "ErrClonesMkDir", state_.Cloneordner))
            return false;
        if (picture.ThumbDurchführen() && !make_folder(thumbnail_folder(d), "ErrThumbMkDir", state_.Thumbordner))
            return false;
        run_port().path_progress_reset(run_port().tree_node_text(d.baumknoten), bilder_im_verzeichnis(d));
        if (run_.HtmlErzeugen) {
            const std::string below = run_.BildseitenErzeugen ? d.relativer_pfad : d.gruppe;
            std::string folder = root + "/" + setting_text(kSetHtmlBase);
            if (!below.empty()) folder += "/" + below;
            if (!make_folder(folder, "ErrHTMLImageMkDir", state_.Bildseitenordner)) return false;
        }
        state_.Webpfad = d.relativer_pfad;
        state_.BilderImPfad = bilder_im_verzeichnis(d);
        if (run_.HtmlErzeugen && run_.ThumbseitenErzeugen) state_.thumbseiten.verzeichnis_beginnen(static_cast<size_t>(i));

        variable_setzen(v_.full_path, state_.Webpfad);
        variable_setzen(v_.path, d.name);
        variable_setzen(v_.count_cur_path, i);
        variable_setzen(v_.count_prev_path, state_.VerzeichnisVorher);
        variable_setzen(v_.count_next_path, state_.VerzeichnisNachher);
        variable_setzen(v_.count_files, state_.BilderImPfad);
        variable_setzen_bytes(v_.size_byte_path, d.bildbytes);
        variable_setzen_bytes(v_.size_byte_path_original, d.bildbytes);
        variable_setzen(v_.path_absolute, root + "/" + d.relativer_pfad);
        variable_setzen(v_.path_absolute_original, job_.basisverzeichnis + "/" + d.relativer_pfad);
        skriptfunktion_ausfuehren(0, "_initpath");

        state_.PfadbalkenAktiv = false;
        watch_.emplace();
        bool ok = true;
        try {
            for (int32_t j = 1; j <= state_.BilderImPfad; ++j) {
                if (!picture_step(i, n, j)) break;
            }
        } catch (const SeitendateiFehler& e) {
            seitenfehler_melden(e, run_.texte.InfHTMLThumb);
            state_.thumbseiten.abbrechen();
            ok = false;
        }
        run_port().path_progress_visible(false);
        run_port().tree_node_image(d.baumknoten, "checked_grün");
        if (CancelRequested) state_.thumbseiten.abbrechen();
        return ok;
    }

    // False when the picture loop is to end.
    bool picture_step(int32_t i, int32_t n, int32_t j) {
        if (abbruch_pruefen()) return false;
        Verzeichnissatz& d = job_.verzeichnisse[static_cast<size_t>(i) - 1];
        const std::shared_ptr<ZNImageFile>& record = d.bilddateien[static_cast<size_t>(j) - 1];
        RunPicture& picture = *run_.AktuellesBild;
        Thumbseiten& thumbs = state_.thumbseiten;
        const bool thumb_pages = run_.HtmlErzeugen && run_.ThumbseitenErzeugen;

        run_.Seitenart = "Thumb";
        ++run_.BildNummerGesamt;
        state_.BildNummerImPfad = j;
        run_port().overall_progress_value(run_.BildNummerGesamt);
        if (state_.PfadbalkenAktiv) run_port().path_progress_value(j);
        int32_t previous = 0;
        if (j > 1) previous = j - 1;
        else if (i > 1) previous = bilder_im_verzeichnis(job_.verzeichnisse[static_cast<size_t>(i) - 2]);
        const int32_t next = j < state_.BilderImPfad ? j + 1 : (i == n ? 0 : 1);
        run_.Wurzelpraefix = run_.ThumbseitenPraefix;

        if (thumb_pages) {
            if (abbruch_pruefen()) return false;
            thumbs.zelle_oeffnen(j);
        }
        variable_setzen(v_.count_cur_all_files, run_.BildNummerGesamt);
        variable_setzen(v_.count_cur_file, j);
        variable_setzen(v_.count_prev_file, previous);
        variable_setzen(v_.count_next_file, next);
        variable_setzen(v_.count_cur_row, thumbs.zeile);
        variable_setzen(v_.count_cur_file_in_row, thumbs.zellen_in_zeile);
        variable_setzen(v_.count_cur_file_in_page, thumbs.BildNummerAufSeite);

        const PictureJob job = picture_job(i, j);
        picture.OriginalPfad(job.original_folder);
        picture.ClonePfad(job.clone_folder);
        picture.ThumbPfad(job.thumb_folder);
        picture.ImageFile(job.record);
        picture.PictureBox(job.box);
        // Every script that runs for this picture (the "_clone" hook, text
        // stamps, "_initpic", the picture page and the thumbnail cell) reads
        // its EXIF, IPTC and comments. A picture processed ahead hands its
        // metadata over to this object, whose list this stays.
        CurrentPictureScope current(picture.metadata());
        ErrorInfo error;
        if (pipeline_->DoIt(erste_[static_cast<size_t>(i) - 1] + static_cast<size_t>(j) - 1, job, error)) {
            if (picture.CloneErstellt()) ++run_.Clonezaehler;
            if (picture.ThumbErstellt()) ++run_.Thumbzaehler;
            if (run_.BilderUmgesetzt == 0 || zuletzt_umgesetzt_ != i) ++run_.VerzeichnisseUmgesetzt;
            zuletzt_umgesetzt_ = i;
            ++run_.BilderUmgesetzt;
            run_.BytesUmgesetzt += record->OBytes;
            run_port().status_text(bildprotokoll_text(run_.texte.InfImageLog, *record));
        } else {
            // Counted as failed, not as made; the batch run's end status says so.
            ++run_.FehlerhafteBilder;
            ++run_.BilderNichtUmgesetzt;
            if (bildfehler_fragen(error, picture.ErrImage())) {
                CancelRequested = true;
                return false;
            }
        }
        bildvariablen_setzen(*record);

        if (run_.HtmlErzeugen) {
            if (abbruch_pruefen()) return false;
            if (run_.BildseitenErzeugen) picture_page(i, j);
            const std::string page_name = bildseitenname(d, j);
            variable_setzen(v_.src_doc, page_name);
            std::string target;
            if (run_.BildseitenErzeugen) {
                target = job_.auswertelevel == 0 ? page_name + run_.HtmlEndung
                                                 : d.name + "/" + page_name + run_.HtmlEndung;
            } else {
                target = run_.ThumbseitenPraefix + state_.Webpfad + "/" + record->CDateiname + "." + record->CDateiart;
            }
            variable_setzen(v_.src_ref, url_kodieren(target));
        }
        if (thumb_pages) thumbs.zelle_schreiben(*record, picture.ThumbDurchführen());
        if (run_.HtmlErzeugen) clear_picture_variables();
        if (thumb_pages) thumbs.zelle_schliessen(j);

        if (!state_.PfadbalkenAktiv && watch_) {
            const int64_t elapsed = watch_->Elapsed();
            if (elapsed > 100 && elapsed * state_.BilderImPfad / j >= 1000) {
                run_port().path_progress_visible(true);
                state_.PfadbalkenAktiv = true;
            }
        }
        return true;
    }

    std::string thumbnail_folder(const Verzeichnissatz& d) const {
        return job_.cloneverzeichnis + "/" + setting_text(kSetThumbDirname) + "/" + d.relativer_pfad;
    }

    // What the picture object is given for picture j of directory i. The
    // thumbnail folder of a directory not yet entered is the one its
    // creation will give.
    PictureJob picture_job(int32_t i, int32_t j) const {
        const Verzeichnissatz& d = job_.verzeichnisse[static_cast<size_t>(i) - 1];
        PictureJob job;
        job.original_folder = job_.basisverzeichnis + "/" + d.relativer_pfad;
        job.clone_folder = job_.cloneverzeichnis + "/" + d.relativer_pfad;
        if (i == state_.VerzeichnisAktuell) {
            job.thumb_folder = state_.Thumbordner;
        } else if (run_.AktuellesBild->ThumbDurchführen()) {
            job.thumb_folder = std::string(trim_blanks(thumbnail_folder(d)));
        }
        job.record = d.bilddateien[static_cast<size_t>(j) - 1];
        job.box = run_port().control_picture();
        return job;
    }

    std::optional<PictureJob> job_at(size_t index) const {
        const auto after = std::upper_bound(erste_.begin(), erste_.end(), index);
        if (after == erste_.begin() || after == erste_.end()) return std::nullopt;
        const auto i = static_cast<int32_t>(after - erste_.begin());
        return picture_job(i, static_cast<int32_t>(index - erste_[static_cast<size_t>(i) - 1]) + 1);
    }

    void picture_page(int32_t i, int32_t j) {
        const ZNImageFile& record = *job_.verzeichnisse[static_cast<size_t>(i) - 1].bilddateien[static_cast<size_t>(j) - 1];
        RunPicture& picture = *run_.AktuellesBild;
        ThumbnailPageValues kept;
        kept.keep();
        run_.Seitenart = "Image";
        run_.Wurzelpraefix = run_.BildseitenPraefix;
        variable_setzen(v_.deco_ref, url_kodieren(run_.BildseitenPraefix + setting_text(kSetDecoPath)));
        variable_setzen(v_.pic_ref, url_kodieren(run_.BildseitenPraefix + state_.Webpfad + "/" + record.CDateiname +
                                                 "." + record.CDateiart));
        if (picture.ThumbDurchführen()) {
            variable_setzen(v_.thumb_ref, url_kodieren(run_.BildseitenPraefix + setting_text(kSetThumbDirname) + "/" +
                                                       state_.Webpfad + "/" + record.TDateiname + "." + record.TDateiart));
        } else {
            variable_setzen(v_.thumb_ref, "");
        }
        if (!run_.Indexverweis.empty()) {
            // The index reference leads from a thumbnail page; a picture page
            // reaches it through its own thumbnail page's folder.
            variable_setzen(v_.index_ref, run_.BildZuThumbPraefix + run_.Indexverweis);
            variable_setzen(v_.up_ref, run_.Indexverweis);
        }
        const Thumbseiten& thumbs = state_.thumbseiten;
        Bildseitenlage lage;
        if (run_.ThumbseitenErzeugen) {
            lage = {thumbs.BildNummerAufSeite, thumbs.BilderAufSeite, thumbs.ErstesBildDerSeite,
                    thumbs.LetztesBildDerSeite};
        }
        const std::string thumb_page = run_.ThumbseitenErzeugen ? thumbs.aktueller_seitenname() : std::string();
        if (bildseite_schreiben(i, j, thumb_page, run_.BildZuThumbPraefix, state_.Bildseitenordner, lage, grenzen_) != 1)
            CancelRequested = true;
        run_.Seitenart = "Thumb";
        run_.Wurzelpraefix = run_.ThumbseitenPraefix;
        kept.restore();
    }

    Laufzustand& run_;
    LaufAuftrag& job_;
    Schleifenzustand& state_;
    // The directory of the last picture processed.
    int32_t zuletzt_umgesetzt_ = 0;
    Skriptvariablen& v_;
    std::optional<CStopWatch> watch_;
    Laufgrenzen grenzen_;
    std::vector<size_t> erste_;
    // Last, so that pictures still in flight are given up before the rest goes.
    std::optional<PicturePipeline> pipeline_;
};

}  // namespace

void bildfehler_melden(const ErrorInfo& error, const std::string& err_image) {
    // The port shows the line and puts it into the run's log.
    run_port().log_line(platzhalter_ersetzen("Image-Error %1: %2: %3: %4", picture_error_values(error, err_image)));
}

void verzeichnisschleife(Laufzustand& run) {
    schleifenzustand() = Schleifenzustand{};
    try {
        Loop(run).run();
    } catch (...) {
        // The run reports the error; a page left open must not replace the
        // page an earlier run completed.
        schleifenzustand().thumbseiten.abbrechen();
        schleifenzustand().abgebrochen = true;
        throw;
    }
}

}  // namespace galvora
