#include "generation/index_page.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "foundation/string_helpers.h"
#include "generation/page_file.h"
#include "generation/page_keys.h"
#include "generation/page_skeleton.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "generation/thumbnail_pages.h"

namespace galvora {

namespace {

// Sets the directory group of the variables for directory i (1-based).
void directory_variables(const Verzeichnissatz& d, int32_t i, int32_t n, int32_t pages) {
    Skriptvariablen& v = skriptvariablen();
    variable_setzen(v.full_path, d.relativer_pfad);
    variable_setzen(v.path, d.name);
    variable_setzen(v.count_cur_path, i);
    variable_setzen(v.count_prev_path, i - 1);
    variable_setzen(v.count_next_path, i < n ? i + 1 : 0);
    variable_setzen(v.count_pages, pages);
    variable_setzen(v.count_files, bilder_im_verzeichnis(d));
    variable_setzen(v.count_page_files, bilder_im_verzeichnis(d));
    variable_setzen_bytes(v.size_byte_path, d.clonebytes);
    variable_setzen_bytes(v.size_byte_path_original, d.bildbytes);
}

bool seite_vorhanden(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void indexseite_schreiben() {
    Laufzustand& run = laufzustand();
    const LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    const std::string& html_base = setting_text(kSetHtmlBase);
    const std::string& filename = setting_text(kSetHtmlIndexFilename);
    const bool in_root = setting_is_one(kSetHtmlIndexInBasedir);
    const std::string folder = in_root ? job.cloneverzeichnis : job.cloneverzeichnis + "/" + html_base;
    const std::string prefix = in_root ? html_base + "/" : std::string();
    run.Wurzelpraefix = in_root ? "" : "../";
    const std::string path = folder + "/" + filename + run.HtmlEndung;

    Seitendatei page;
    if (!seite_oeffnen(page, path, run.texte.InfHTMLIndex)) return;
    run.Browserseite = path;
    variable_setzen(v.html_absolute, folder);
    variable_setzen(v.doc, filename);
    variable_setzen(v.index_doc, filename);
    variable_setzen(v.index_ref, url_kodieren(filename + run.HtmlEndung));
    pfadvariablen_loeschen();

    seitenkopf_schreiben(page, {kIndexHead, kSetHtmlIndexHeadDisable, kIndexTitle, kIndexBodyTag});
    page.vorlage(kIndexPostBody);

    const bool grouped = setting_is_one(kSetHtmlIndexGroup);
    const bool first_only = setting_is_one(kSetHtmlIndexFirstThumbpage);
    const bool split = setting_is_one(kSetHtmlSplit);
    const int32_t per_line = setting_int(kSetHtmlIndexEntriesPerLine);
    const Seitenplanregeln rules = seitenplanregeln();
    if (!grouped) {
        page.vorlage(kIndexPreTable);
        page.vorlage(kIndexTableOpen);
    }
    bool new_group = grouped;
    int32_t entries = 0;
    const int32_t n = static_cast<int32_t>(job.verzeichnisse.size());
    std::string group;
    for (int32_t i = 1; i <= n; ++i) {
        const Verzeichnissatz& d = job.verzeichnisse[static_cast<size_t>(i) - 1];
        const int32_t pictures = bilder_im_verzeichnis(d);
        // Each directory by its own rows per page: without splitting one page
        // takes all of its pictures.
        const int32_t lines = zeilen_pro_seite(pictures, run.ZeilenProSeite, split);
        const int64_t per_page = std::max<int64_t>(int64_t{lines} * run.ThumbsProZeile, 1);
        const int32_t pages = seitenanzahl(pictures, lines, run.ThumbsProZeile);
        directory_variables(d, i, n, pages);
        if (new_group) {
            new_group = false;
            group = d.gruppe;
            if (!group.empty()) {
                variable_setzen(v.parent_path, group);
                pfadvariablen_loeschen();
            }
            page.vorlage(kIndexPreTable);
            page.vorlage(kIndexTableOpen);
            if (!group.empty()) directory_variables(d, i, n, pages);
            entries = 0;
        }
        // A directory without pictures has no thumbnail page to list.
        const int32_t last_listed = pictures < 1 ? 0 : first_only ? 1 : pages;
        for (int32_t p = 1; p <= last_listed; ++p) {
            const std::string name = thumbseitenname(d, split ? p : 0, rules);
            const std::string target = job.auswertelevel == 2 ? prefix + d.gruppe + "/" + name + run.HtmlEndung
                                                              : prefix + name + run.HtmlEndung;
            // A run that makes no thumbnail pages lists only those an earlier
            // run left in place: the index never links a page that is not there.
            if (!run.ThumbseitenErzeugen && !seite_vorhanden(folder + "/" + target)) continue;
            ++entries;
            variable_setzen(v.count_cur_page, p);
            variable_setzen(v.count_prev_page, p - 1);
            if (p >= pages) {
                variable_setzen(v.count_next_page, int32_t{0});
                variable_setzen(v.count_page_files,
                                static_cast<int32_t>((std::max<int64_t>(pictures, 1) - 1) % per_page + 1));
            } else {
                variable_setzen(v.count_next_page, p + 1);
                variable_setzen(v.count_page_files, static_cast<int32_t>(per_page));
            }
            if (entries > per_line) {
                page.vorlage(kIndexTrClose);
                entries = 1;
            }
            if (entries == 1) page.vorlage(kIndexTrOpen);
            page.vorlage(kIndexTdOpen);
            variable_setzen(v.src_doc, name);
            variable_setzen(v.src_ref, url_kodieren(target));
            page.vorlage(kIndexEntry);
            page.vorlage(kIndexTdClose);
        }
        if (grouped) {
            const bool ends = group.empty() || i == n || job.verzeichnisse[static_cast<size_t>(i)].gruppe != group;
            if (ends) {
                if (!group.empty()) pfadvariablen_loeschen();
                page.vorlage(kIndexTrClose);
                page.vorlage(kIndexTableClose);
                page.vorlage(kIndexPostTable);
                new_group = true;
            }
        }
        pfadvariablen_loeschen();
    }
    if (!grouped) {
        page.vorlage(kIndexTrClose);
        page.vorlage(kIndexTableClose);
        page.vorlage(kIndexPostTable);
    }
    page.vorlage(kIndexPostPostTable);
    seitenende_schreiben(page, setting_int(kSetHtmlIndexPrintDate), kIndexFooter);
    seite_uebernehmen(page, run.texte.InfHTMLIndex);
}

}  // namespace galvora
