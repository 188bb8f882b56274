#include "generation/run_variables.h"

#include <algorithm>

#include "foundation/program_info.h"
#include "foundation/string_helpers.h"
#include "generation/picture_pages.h"
#include "generation/run_state.h"
#include "generation/script_glue.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "generation/thumbnail_pages.h"
#include "profile/profiles.h"

namespace galvora {

void laufpfade_setzen() {
    Skriptvariablen& v = skriptvariablen();
    const LaufAuftrag& auftrag = lauf_auftrag();
    variable_setzen(v.galvora_absolute, program_folder().string());
    variable_setzen(v.base_absolute, auftrag.basisverzeichnis);
    variable_setzen(v.clone_absolute, auftrag.cloneverzeichnis);
}

void thumb_dim_setzen() {
    const std::string& side = setting_text(kSetThumbSelectedSide);
    const ZNSWertRef& dim = skriptvariablen().thumb_dim;
    if (side == "1") {
        variable_setzen(dim, setting_int(kSetThumbSize));
    } else if (side == "2") {
        variable_setzen(dim, setting_int(kSetThumbWidth));
    } else if (side == "3") {
        variable_setzen(dim, setting_int(kSetThumbHeight));
    } else if (side == "4") {
        variable_setzen(dim, std::max(setting_int(kSetThumbWidth), setting_int(kSetThumbHeight)));
    }
}

namespace {

void laufverweise_setzen(Laufzustand& run) {
    Skriptvariablen& v = skriptvariablen();
    const LaufAuftrag& auftrag = lauf_auftrag();
    const int level = auftrag.auswertelevel;

    if (run.IndexErzeugen) {
        run.Indexseitenname = setting_text(kSetHtmlIndexFilename);
        const std::string base_prefix = setting_is_one(kSetHtmlIndexInBasedir) ? "../" : "";
        run.Indexverweis =
            url_kodieren(std::string(level == 2 ? "../" : "") + base_prefix + run.Indexseitenname + run.HtmlEndung);
        run.up_slot = kSetHtmlUp;
    } else {
        run.Indexseitenname.clear();
        run.Indexverweis.clear();
        run.up_slot = 0;
    }

    // The first and last directory that gets thumbnail pages: a directory
    // without pictures gets none, and a link to it would lead nowhere.
    const Laufgrenzen grenzen = laufgrenzen(auftrag.verzeichnisse);
    if (!run.ThumbseitenErzeugen || grenzen.erstes == nullptr) return;
    const Verzeichnissatz& first = *grenzen.erstes;
    const Verzeichnissatz& last = *grenzen.letztes;
    std::string first_prefix, last_prefix;
    if (level == 0) {
        variable_setzen(v.file_prefix, setting_text(kSetHtmlDefault));
    } else if (level == 2) {
        first_prefix = "../" + first.gruppe + "/";
        last_prefix = "../" + last.gruppe + "/";
    }
    const Seitenplanregeln rules = seitenplanregeln();
    int32_t first_page = 0, last_page = 0;
    if (rules.split) {
        const int64_t per_page = static_cast<int64_t>(run.ZeilenProSeite) * run.ThumbsProZeile;
        first_page = 1;
        last_page = static_cast<int32_t>((static_cast<int64_t>(last.bildanzahl) - 1) / per_page + 1);
    }
    const std::string first_name = thumbseitenname(first, first_page, rules);
    const std::string last_name = thumbseitenname(last, last_page, rules);
    variable_setzen(v.first_doc, first_name);
    variable_setzen(v.last_doc, last_name);
    // Encoded like every other reference a page carries.
    variable_setzen(v.first_ref, url_kodieren(first_prefix + first_name + run.HtmlEndung));
    variable_setzen(v.last_ref, url_kodieren(last_prefix + last_name + run.HtmlEndung));
    for (const ZNSWertRef* empty : {&v.first_page_doc, &v.last_page_doc, &v.first_page_ref, &v.last_page_ref}) {
        variable_setzen(*empty, "");
    }
}

}  // namespace

void laufvariablen_setzen(Laufzustand& run) {
    Skriptvariablen& v = skriptvariablen();
    const LaufAuftrag& auftrag = lauf_auftrag();
    auto profile = aktuelles_profil();
    variable_setzen(v.profile, profile ? profile->Name() : std::string());
    variable_setzen(v.count_base_all_path, auftrag.basis_verzeichnisanzahl);
    variable_setzen(v.count_base_all_files, auftrag.basis_bildanzahl);
    variable_setzen(v.count_all_path, static_cast<int32_t>(auftrag.verzeichnisse.size()));
    variable_setzen(v.count_all_files, run.BilderGesamt);
    variable_setzen_bytes(v.size_byte_all, auftrag.bildbytes_gesamt);
    variable_setzen_bytes(v.size_byte_all_original, auftrag.bildbytes_gesamt);
    // The hook runs before the references are set: it sees the page names of
    // the run before (or none), and the references set below win over
    // whatever it stores in them.
    skriptfunktion_ausfuehren(0, "_init");
    laufverweise_setzen(run);
}

}  // namespace galvora
