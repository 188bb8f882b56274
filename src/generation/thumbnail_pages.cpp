#include "generation/thumbnail_pages.h"

#include <algorithm>
#include <limits>

#include "foundation/error.h"
#include "foundation/path_helpers.h"
#include "foundation/string_helpers.h"
#include "generation/output_paths.h"
#include "generation/output_record.h"
#include "generation/page_keys.h"
#include "generation/page_skeleton.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {


// From a thumbnail page to the page folder of another directory's group.
std::string group_prefix(const Verzeichnissatz& d, const Seitenplanregeln& rules) {
    return rules.level == 2 ? "../" + d.gruppe + "/" : std::string();
}

}  // namespace

size_t nachbarverzeichnis(const std::vector<Verzeichnissatz>& directories, size_t i, int step) {
    for (size_t k = i; ;) {
        if (step < 0 ? k <= 1 : k >= directories.size()) return 0;
        k = step < 0 ? k - 1 : k + 1;
        if (bilder_im_verzeichnis(directories[k - 1]) > 0) return k;
    }
}

std::string thumbseiten_basisname(const Verzeichnissatz& directory, const Seitenplanregeln& rules) {
    return rules.level == 0 ? rules.standardname : directory.name;
}

std::string thumbseitenname(const Verzeichnissatz& directory, int32_t nummer, const Seitenplanregeln& rules) {
    std::string name = thumbseiten_basisname(directory, rules);
    if (nummer > 0) name += "-" + seitennummer_text(nummer, rules.maske);
    return seitenname_passend(name, rules.endung);
}

Seitenplanregeln seitenplanregeln() {
    const Laufzustand& run = laufzustand();
    Seitenplanregeln rules;
    rules.level = lauf_auftrag().auswertelevel;
    rules.split = setting_is_one(kSetHtmlSplit);
    rules.verweisfolge = setting_text(kSetHtmlVerweisfolge);
    rules.maske = run.SeitennummernMaske;
    rules.endung = run.HtmlEndung;
    rules.standardname = setting_text(kSetHtmlDefault);
    return rules;
}

int32_t zeilen_pro_seite(int32_t pictures, int32_t lines_per_page, bool split) {
    if (split) return lines_per_page;
    return pictures < std::numeric_limits<int32_t>::max() ? pictures + 1 : pictures;
}

int32_t seitenanzahl(int32_t pictures, int32_t lines_per_page, int32_t per_line) {
    const int64_t per_page = std::max<int64_t>(int64_t{lines_per_page} * per_line, 1);
    return static_cast<int32_t>((int64_t{pictures} - 1) / per_page + 1);
}

Seitenverweise seitenverweise(const std::vector<Verzeichnissatz>& directories, size_t i, int32_t page, int32_t pages,
                              const Seitenplanregeln& rules) {
    Seitenverweise plan;
    const Verzeichnissatz& d = directories[i - 1];
    std::string prev_prefix;
    std::string next_prefix;
    if (rules.split) {
        if (page < 2) {
            if (rules.verweisfolge == "1") {
                if (const size_t k = nachbarverzeichnis(directories, i, -1); k != 0) {
                    const Verzeichnissatz& before = directories[k - 1];
                    plan.prev_nummer = before.seitenanzahl;
                    plan.prev_name = thumbseitenname(before, plan.prev_nummer, rules);
                    prev_prefix = group_prefix(before, rules);
                }
            } else if (rules.verweisfolge == "2") {
                plan.prev_nummer = pages;
                plan.prev_name = thumbseitenname(d, pages, rules);
            }
        } else {
            plan.prev_nummer = page - 1;
            plan.prev_name = thumbseitenname(d, page - 1, rules);
            plan.path_first_slot = kThumbPathFirst;
        }
        if (page >= pages) {
            if (rules.verweisfolge == "1") {
                if (const size_t k = nachbarverzeichnis(directories, i, 1); k != 0) {
                    const Verzeichnissatz& after = directories[k - 1];
                    plan.next_nummer = 1;
                    plan.next_name = thumbseitenname(after, 1, rules);
                    next_prefix = group_prefix(after, rules);
                }
            } else if (rules.verweisfolge == "2") {
                plan.next_nummer = 1;
                plan.next_name = thumbseitenname(d, 1, rules);
            }
        } else {
            plan.next_nummer = page + 1;
            plan.next_name = thumbseitenname(d, page + 1, rules);
            plan.path_last_slot = kThumbPathLast;
        }
        plan.name = thumbseitenname(d, page, rules);
    } else {
        if (const size_t k = nachbarverzeichnis(directories, i, -1); k != 0) {
            plan.prev_name = thumbseitenname(directories[k - 1], 0, rules);
            prev_prefix = group_prefix(directories[k - 1], rules);
        }
        if (const size_t k = nachbarverzeichnis(directories, i, 1); k != 0) {
            plan.next_name = thumbseitenname(directories[k - 1], 0, rules);
            next_prefix = group_prefix(directories[k - 1], rules);
        }
        plan.path_first_slot = kThumbPathFirst;
        plan.path_last_slot = kThumbPathLast;
        plan.name = thumbseitenname(d, 0, rules);
    }
    if (!plan.prev_name.empty()) {
        plan.prev_ref = url_kodieren(prev_prefix + plan.prev_name + rules.endung);
        plan.first_slot = kThumbFirst;
        plan.prev_slot = kThumbPrev;
    }
    if (!plan.next_name.empty()) {
        plan.next_ref = url_kodieren(next_prefix + plan.next_name + rules.endung);
        plan.next_slot = kThumbNext;
        plan.last_slot = kThumbLast;
    }
    return plan;
}

Seitenplanregeln Thumbseiten::regeln() const { return seitenplanregeln(); }

void Thumbseiten::verzeichnis_beginnen(size_t i) {
    Laufzustand& run = laufzustand();
    LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    Verzeichnissatz& d = job.verzeichnisse[i - 1];
    const Seitenplanregeln rules = regeln();
    directory_ = i;
    pictures_ = bilder_im_verzeichnis(d);
    lines_per_page_ = zeilen_pro_seite(pictures_, run.ZeilenProSeite, rules.split);
    pages_ = seitenanzahl(pictures_, lines_per_page_, run.ThumbsProZeile);
    d.seitenanzahl = 0;
    zeile = zellen_in_zeile = BildNummerAufSeite = BilderAufSeite = 0;
    ErstesBildDerSeite = LetztesBildDerSeite = 0;

    const std::string first = thumbseitenname(d, rules.split ? 1 : 0, rules);
    const std::string last = thumbseitenname(d, rules.split ? pages_ : 0, rules);
    if (rules.level == 2) variable_setzen(v.parent_path, d.gruppe);
    variable_setzen(v.count_pages, pages_);
    variable_setzen(v.count_cur_page, int32_t{0});
    variable_setzen(v.first_path_doc, first);
    variable_setzen(v.last_path_doc, last);
    // Encoded like every other reference: a folder name with a blank, a
    // quote or "<" must neither break the link nor end the attribute.
    variable_setzen(v.first_path_ref, url_kodieren(first + rules.endung));
    variable_setzen(v.last_path_ref, url_kodieren(last + rules.endung));

    folder_ = job.cloneverzeichnis + "/" + setting_text(kSetHtmlBase);
    if (rules.level == 2 && !d.gruppe.empty()) folder_ += "/" + d.gruppe;
    variable_setzen(v.html_absolute, folder_);
    current_name_.clear();
}

void Thumbseiten::zelle_oeffnen(int32_t j) {
    ++zellen_in_zeile;
    ++BildNummerAufSeite;
    if (BildNummerAufSeite == 1) seite_oeffnen(j);
    Laufzustand& run = laufzustand();
    if (zellen_in_zeile > run.ThumbsProZeile) {
        page_.vorlage(kThumbTrClose);
        zellen_in_zeile = 1;
    }
    if (zellen_in_zeile == 1) {
        ++zeile;
        page_.vorlage(kThumbTrOpen);
    }
    page_.vorlage(kThumbTdOpen);
}

void Thumbseiten::seite_oeffnen(int32_t j) {
    Laufzustand& run = laufzustand();
    LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    Verzeichnissatz& d = job.verzeichnisse[directory_ - 1];
    const Seitenplanregeln rules = regeln();
    d.seitenanzahl = rules.split ? d.seitenanzahl + 1 : 1;
    plan_ = seitenverweise(job.verzeichnisse, directory_, d.seitenanzahl, pages_, rules);
    current_name_ = plan_.name;

    ErstesBildDerSeite = j;
    const int64_t last = int64_t{j} + int64_t{lines_per_page_} * run.ThumbsProZeile - 1;
    LetztesBildDerSeite = last <= pictures_ ? static_cast<int32_t>(last) : pictures_;
    BilderAufSeite = LetztesBildDerSeite - ErstesBildDerSeite + 1;

    variable_setzen(v.count_cur_page, d.seitenanzahl);
    variable_setzen(v.count_prev_page, plan_.prev_nummer);
    variable_setzen(v.count_next_page, plan_.next_nummer);
    variable_setzen(v.count_page_files, BilderAufSeite);
    variable_setzen(v.doc, plan_.name);
    variable_setzen(v.prev_doc, plan_.prev_name);
    variable_setzen(v.index_doc, run.Indexseitenname);
    variable_setzen(v.up_doc, run.Indexseitenname);
    variable_setzen(v.next_doc, plan_.next_name);
    variable_setzen(v.prev_ref, plan_.prev_ref);
    variable_setzen(v.index_ref, run.Indexverweis);
    variable_setzen(v.up_ref, run.Indexverweis);
    variable_setzen(v.next_ref, plan_.next_ref);

    const std::string path = folder_ + "/" + plan_.name + run.HtmlEndung;
    ausgabeaufzeichnung().ordner_einrichten(MakeFullDir(folder_));
    page_.oeffnen(path, setting_is_one(kSetHtmlChanged), run.texte.InfHTMLThumb);
    if (run.Browserseite.empty()) run.Browserseite = path;

    seitenkopf_schreiben(page_, {kThumbHead, kSetHtmlHeadDisable, kThumbTitle, kThumbBody});
    if (!Profileinstellungen()[kThumbPostBody].value.empty()) {
        page_.vorlage(kThumbPostBody);
        page_.zeilenende();
    }
    if (setting_int(kSetRefPos) & kBarTop) navigationsleiste();
    page_.vorlage(kThumbPreTable);
    page_.vorlage(kThumbTableOpen);
}

void Thumbseiten::navigationsleiste() {
    const Laufzustand& run = laufzustand();
    navigation_schreiben(page_, run.NavErweitert,
                         {kThumbPrevPrev, plan_.first_slot, plan_.path_first_slot, 0, plan_.prev_slot, run.up_slot,
                          plan_.next_slot, 0, plan_.path_last_slot, plan_.last_slot, kThumbNextNext});
}

void Thumbseiten::zelle_schreiben(const ZNImageFile& record, bool thumbnails) {
    Skriptvariablen& v = skriptvariablen();
    const LaufAuftrag& job = lauf_auftrag();
    const std::string prefix = job.auswertelevel == 2 ? "../../" : "../";
    const std::string web = job.verzeichnisse[directory_ - 1].relativer_pfad;
    variable_setzen(v.pic_ref, url_kodieren(prefix + web + "/" + record.CDateiname + "." + record.CDateiart));
    if (thumbnails) {
        variable_setzen(v.thumb_ref, url_kodieren(prefix + setting_text(kSetThumbDirname) + "/" + web + "/" +
                                                  record.TDateiname + "." + record.TDateiart));
    }
    page_.vorlage(kThumbPicTag);
}

void Thumbseiten::zelle_schliessen(int32_t j) {
    page_.vorlage(kThumbTdClose);
    const int64_t per_page = int64_t{lines_per_page_} * laufzustand().ThumbsProZeile;
    if (BildNummerAufSeite != per_page && j != pictures_) return;
    seite_beenden();
}

void Thumbseiten::seite_beenden() {
    Skriptvariablen& v = skriptvariablen();
    const int32_t ref_pos = setting_int(kSetRefPos);
    page_.vorlage(kThumbTrClose);
    page_.vorlage(kThumbTableClose);
    if (ref_pos & kBarBelowContent) navigationsleiste();
    page_.vorlage(kThumbPostTable);
    if (ref_pos & kBarAfterPost) navigationsleiste();
    erstellungsdatum_schreiben(page_, setting_int(kSetPrintDate));
    page_.vorlage(kThumbFooter);
    page_.zeilenende();
    page_.zeile("</body>");
    page_.zeile("</html>");
    BilderAufSeite = zeile = zellen_in_zeile = BildNummerAufSeite = 0;
    variable_setzen(v.count_page_files, int32_t{0});
    variable_setzen(v.count_cur_row, int32_t{0});
    variable_setzen(v.count_cur_file_in_row, int32_t{0});
    variable_setzen(v.count_cur_file_in_page, int32_t{0});
    seite_uebernehmen(page_);
}

void Thumbseiten::abbrechen() {
    // A cut-off page must not replace the complete page of an earlier run.
    page_.verwerfen();
    BilderAufSeite = zeile = zellen_in_zeile = BildNummerAufSeite = 0;
}

}  // namespace galvora
