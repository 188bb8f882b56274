#include "options/pages/html_page.h"

#include "generation/settings_access.h"

namespace galvora {

CHTML::CHTML() : OptionPage("CHTML", 7800, 4200) {
    using K = PageControlKind;
    auto& html = add(K::CheckBox, "HTML", "Create", "HTML-Seiten erzeugen", {120, 120, 6000, 300});
    add(K::Label, "Label", "Directory", "HTML-Verzeichnis", {120, 645, 2400, 255}, nullptr, 2);
    auto& base = add(K::TextBox, "htmlpath_base", "", "", {2640, 600, 2400, 315});
    add(K::Label, "Label", "Extension", "HTML-Dateiart", {120, 1065, 2400, 255}, nullptr, 3);
    auto& extension = add(K::TextBox, "htmlfile_extension", "", "", {2640, 1020, 1200, 315});
    auto& clean = add(K::CheckBox, "HTMLDir_Löschen", "Delete", "Inhalt des HTML-Verzeichnisses löschen",
                      {120, 1500, 7500, 300});
    auto& unchanged = add(K::CheckBox, "HTMLChanged", "Unchanged", "Erzeugung unterdrücken, wenn unverändert",
                          {120, 1860, 7500, 300});
    auto& browser = add(K::CheckBox, "Launch_Browser", "LaunchBrowser", "Browser automatisch starten",
                        {120, 2220, 7500, 300});
    add(K::Label, "Label", "Documenttype", "Angaben zum Dokumententyp", {120, 2700, 7500, 255}, nullptr, 1);
    auto& doctype = add(K::TextBox, "html_DocType", "", "", {120, 2970, 7560, 315});
    add(K::Label, "Label", "HTMLTag", "Angaben zum <html>-Tag", {120, 3420, 7500, 255}, nullptr, 0);
    auto& tag = add(K::TextBox, "html_HTMLTag", "", "", {120, 3690, 7560, 315});

    declare_events({PageEvent::BaumAnpassen});

    // Bound in the order the page fills its controls.
    bind_master_switch(html, ValueTarget::entry(kSetGenerateHtml));
    bind_name_box(base, ValueTarget::entry(kSetHtmlBase),
                  {.default_name = "html",
                   .invalid_key = "ErrHTMLDirInvalidCharacter",
                   .missing_key = "ErrHTMLDirMissingName",
                   .requests_tree_rebuild = true});
    bind_check_box(unchanged, ValueTarget::entry(kSetHtmlChanged));
    bind_check_box(clean, ValueTarget::entry(kSetHtmlDirclean));
    bind_name_box(extension, ValueTarget::entry(kSetHtmlExtension),
                  {.default_name = "html",
                   .invalid_key = "ErrHTMLExtInvalidCharacter",
                   .missing_key = "ErrHTMLExtMissingName",
                   .requests_tree_rebuild = true});
    bind_text(doctype, ValueTarget::entry(kSetHtmlDoctype), WriteOn::LostFocus);
    bind_text(tag, ValueTarget::entry(kSetHtmlHtml), WriteOn::Change);
    bind_check_box(browser, ValueTarget::entry(kSetLaunchBrowser));
}

}  // namespace galvora
