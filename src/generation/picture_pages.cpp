#include "generation/picture_pages.h"

#include <algorithm>

#include "foundation/string_helpers.h"
#include "generation/output_paths.h"
#include "generation/page_file.h"
#include "generation/page_keys.h"
#include "generation/page_skeleton.h"
#include "generation/run_state.h"
#include "generation/script_glue.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "generation/thumbnail_pages.h"
#include "image/image_file_record.h"

namespace galvora {

namespace {

bool digits_only(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when a page of another kind takes this name in the level-0 page folder.
bool name_taken(const std::string& name) {
    const Laufzustand& run = laufzustand();
    if (run.ThumbseitenErzeugen) {
        const std::string& base = setting_text(kSetHtmlDefault);
        if (name == base) return true;
        if (setting_is_one(kSetHtmlSplit) && name.size() > base.size() + 1 && name.compare(0, base.size(), base) == 0 &&
            name[base.size()] == '-' && digits_only(name.substr(base.size() + 1)))
            return true;
    }
    if (run.IndexErzeugen && !setting_is_one(kSetHtmlIndexInBasedir) && name == setting_text(kSetHtmlIndexFilename))
        return true;
    if (run.FrameErzeugen && !setting_is_one(kSetHtmlFrameInBasedir) && name == setting_text(kSetHtmlFrameFilename))
        return true;
    return false;
}

const Verzeichnissatz& directory(int32_t d) { return lauf_auftrag().verzeichnisse[static_cast<size_t>(d) - 1]; }

}  // namespace

Laufgrenzen laufgrenzen(const std::vector<Verzeichnissatz>& directories) {
    Laufgrenzen grenzen;
    for (const Verzeichnissatz& candidate : directories) {
        if (bilder_im_verzeichnis(candidate) < 1) continue;
        if (grenzen.erstes == nullptr) grenzen.erstes = &candidate;
        grenzen.letztes = &candidate;
    }
    return grenzen;
}

std::string bildseitenname(const Verzeichnissatz& dir, int32_t p) {
    const ZNImageFile& record = *dir.bilddateien[static_cast<size_t>(p) - 1];
    std::string name = record.Seitenname.empty() ? record.CDateiname : record.Seitenname;
    // A renamed clone may carry its folder's path; its page stays in the page folder.
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string& ext = laufzustand().HtmlEndung;
    name = seitenname_passend(name, ext);
    if (lauf_auftrag().auswertelevel != 0) return name;
    while (name_taken(name)) name = seitenname_passend(name + "_pic", ext);
    return name;
}

std::string bildseiten_verzeichnispraefix(const Verzeichnissatz& dir, const std::string& bild_zu_thumb) {
    // At level 2 a picture page lies two folders below the page root.
    const std::string up = lauf_auftrag().auswertelevel == 2 ? "../../" : bild_zu_thumb;
    return up + dir.relativer_pfad + "/";
}

int32_t bildseite_schreiben(int32_t d, int32_t p, const std::string& thumb_page, const std::string& bild_zu_thumb,
                            const std::string& page_dir, const Bildseitenlage& lage, const Laufgrenzen& grenzen) {
    Laufzustand& run = laufzustand();
    const LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    const auto& dirs = job.verzeichnisse;
    const Verzeichnissatz& dir = directory(d);
    const int32_t count = bilder_im_verzeichnis(dir);
    const std::string& ext = run.HtmlEndung;

    const std::string name = bildseitenname(dir, p);
    const std::string path = page_dir + "/" + name + ext;
    Seitendatei page;
    if (!seite_oeffnen(page, path, run.texte.InfHTMLImage)) return 10;
    if (run.Browserseite.empty()) run.Browserseite = path;

    const std::string& order = setting_text(kSetHtmlBildVerweisfolge);
    std::string prev_doc, prev_ref, next_doc, next_ref, up_doc, up_ref;
    // A neighbour in a directory record carries that directory's prefix.
    auto link_to = [&](int32_t dir_number, int32_t picture, bool same_directory, std::string& doc, std::string& ref) {
        const Verzeichnissatz& target = directory(dir_number);
        if (bilder_im_verzeichnis(target) < 1) return;
        doc = bildseitenname(target, picture);
        const std::string prefix = same_directory ? std::string() : bildseiten_verzeichnispraefix(target, bild_zu_thumb);
        ref = url_kodieren(prefix + doc + ext);
    };
    if (p >= 2) {
        link_to(d, p - 1, true, prev_doc, prev_ref);
    } else if (order == "1") {
        if (const size_t k = nachbarverzeichnis(dirs, static_cast<size_t>(d), -1); k != 0)
            link_to(static_cast<int32_t>(k), bilder_im_verzeichnis(dirs[k - 1]), false, prev_doc, prev_ref);
    } else if (order == "2") {
        link_to(d, count, false, prev_doc, prev_ref);
    }
    if (!thumb_page.empty()) {
        up_doc = thumb_page;
        up_ref = url_kodieren((job.auswertelevel != 0 ? "../" : "") + up_doc + ext);
    }
    if (p < count) {
        link_to(d, p + 1, true, next_doc, next_ref);
    } else if (order == "1") {
        if (const size_t k = nachbarverzeichnis(dirs, static_cast<size_t>(d), 1); k != 0)
            link_to(static_cast<int32_t>(k), 1, false, next_doc, next_ref);
    } else if (order == "2") {
        link_to(d, 1, false, next_doc, next_ref);
    }

    Navigationsslots slots{kPicPrevPrev,
                           run.BildNummerGesamt >= 2 ? kPicFirst : 0,
                           p >= 2 ? kPicPathFirst : 0,
                           lage.BildNummerAufSeite >= 2 ? kPicPageFirst : 0,
                           prev_doc.empty() ? 0 : kPicPrev,
                           up_doc.empty() ? 0 : kPicUp,
                           next_doc.empty() ? 0 : kPicNext,
                           lage.BildNummerAufSeite < lage.BilderAufSeite ? kPicPageLast : 0,
                           p < count ? kPicPathLast : 0,
                           run.BildNummerGesamt < run.BilderGesamt ? kPicLast : 0,
                           kPicNextNext};

    variable_setzen(v.html_absolute, page_dir);
    variable_setzen(v.doc, name);
    variable_setzen(v.prev_doc, prev_doc);
    variable_setzen(v.up_doc, up_doc);
    variable_setzen(v.next_doc, next_doc);
    variable_setzen(v.prev_ref, prev_ref);
    variable_setzen(v.up_ref, up_ref);
    variable_setzen(v.next_ref, next_ref);

    // The run's first and last picture.
    const Verzeichnissatz* first_dir = grenzen.erstes != nullptr ? grenzen.erstes : &dir;
    const Verzeichnissatz* last_dir = grenzen.letztes != nullptr ? grenzen.letztes : &dir;
    const std::string first_doc = bildseitenname(*first_dir, 1);
    const std::string last_doc = bildseitenname(*last_dir, bilder_im_verzeichnis(*last_dir));
    const std::string first_path_doc = bildseitenname(dir, 1);
    const std::string last_path_doc = bildseitenname(dir, count);
    variable_setzen(v.first_doc, first_doc);
    variable_setzen(v.last_doc, last_doc);
    variable_setzen(v.first_path_doc, first_path_doc);
    variable_setzen(v.last_path_doc, last_path_doc);
    variable_setzen(v.first_ref, url_kodieren(bildseiten_verzeichnispraefix(*first_dir, bild_zu_thumb) + first_doc + ext));
    variable_setzen(v.last_ref, url_kodieren(bildseiten_verzeichnispraefix(*last_dir, bild_zu_thumb) + last_doc + ext));
    variable_setzen(v.first_path_ref, url_kodieren(first_path_doc + ext));
    variable_setzen(v.last_path_ref, url_kodieren(last_path_doc + ext));
    if (run.ThumbseitenErzeugen && lage.ErstesBildDerSeite >= 1 && lage.LetztesBildDerSeite <= count &&
        lage.LetztesBildDerSeite >= 1) {
        const std::string first_page_doc = bildseitenname(dir, lage.ErstesBildDerSeite);
        const std::string last_page_doc = bildseitenname(dir, lage.LetztesBildDerSeite);
        variable_setzen(v.first_page_doc, first_page_doc);
        variable_setzen(v.last_page_doc, last_page_doc);
        variable_setzen(v.first_page_ref, url_kodieren(first_page_doc + ext));
        variable_setzen(v.last_page_ref, url_kodieren(last_page_doc + ext));
    }

    skriptfunktion_ausfuehren(0, "_initpic");

    seitenkopf_schreiben(page, {kPicHead, kSetHtmlBildHeadDisable, kPicTitle, kPicBody});
    page.vorlage(kPicPostBody);
    const int32_t ref_pos = setting_int(kSetHtmlBildRefPos);
    auto bar = [&] {
        navigation_schreiben(page, run.BildNavErweitert, slots);
        page.zeilenende();
    };
    if (ref_pos & kBarTop) bar();
    page.vorlage(kPicPrePic);
    page.zeilenende();
    page.vorlage(kPicPic);
    page.zeilenende();
    if (ref_pos & kBarBelowContent) bar();
    page.vorlage(kPicPostPic);
    page.zeilenende();
    if (ref_pos & kBarAfterPost) bar();
    seitenende_schreiben(page, setting_int(kSetHtmlBildPrintDate), kPicFooter);
    return seite_uebernehmen(page, run.texte.InfHTMLImage) ? 1 : 10;
}

}  // namespace galvora
