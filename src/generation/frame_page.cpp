#include "generation/frame_page.h"

#include "foundation/string_helpers.h"
#include "generation/page_file.h"
#include "generation/page_keys.h"
#include "generation/page_skeleton.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"

namespace galvora {

void startseite_schreiben() {
    Laufzustand& run = laufzustand();
    const LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    const std::string& html_base = setting_text(kSetHtmlBase);
    const std::string& filename = setting_text(kSetHtmlFrameFilename);
    const bool in_root = setting_is_one(kSetHtmlFrameInBasedir);
    const std::string folder = in_root ? job.cloneverzeichnis : job.cloneverzeichnis + "/" + html_base;
    run.Wurzelpraefix = in_root ? "" : "../";
    const std::string path = folder + "/" + filename + run.HtmlEndung;

    Seitendatei page;
    if (!seite_oeffnen(page, path, run.texte.InfHTMLFrame)) return;
    run.Browserseite = path;
    variable_setzen(v.doc, filename);
    for (const ZNSWertRef* ref : {&v.prev_doc, &v.up_doc, &v.next_doc, &v.prev_ref}) variable_setzen(*ref, "");
    std::string index_ref;
    if (run.IndexErzeugen) {
        // The index page counts as lying in the output root only for exactly "1".
        const bool index_in_root = setting_text(kSetHtmlIndexInBasedir) == "1";
        const std::string index = setting_text(kSetHtmlIndexFilename) + run.HtmlEndung;
        if (in_root == index_in_root) index_ref = index;
        else if (in_root) index_ref = html_base + "/" + index;
        else index_ref = "../" + index;
    }
    variable_setzen(v.index_ref, url_kodieren(index_ref));
    for (const ZNSWertRef* ref : {&v.up_ref, &v.next_ref, &v.parent_path}) variable_setzen(*ref, "");
    pfadvariablen_loeschen();

    seitenkopf_schreiben(page, {kFrameHead, kSetHtmlFrameHeadDisable, kFrameTitle, 0});
    page.vorlage(kFrameContent);
    page.zeilenende();
    page.zeile("</html>");
    seite_uebernehmen(page, run.texte.InfHTMLFrame);
}

}  // namespace galvora
