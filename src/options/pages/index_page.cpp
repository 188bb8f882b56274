#include "options/pages/index_page.h"

#include "generation/settings_access.h"
#include "profile/number_text.h"
#include "profile/settings_table.h"

namespace galvora {

CHTMLIndex::CHTMLIndex() : OptionPage("CHTMLIndex", 7800, 3960) {
    using K = PageControlKind;
    auto& master =
        add(K::CheckBox, "mit_HTML_Indexfestlegung", "Create", "HTML-Indexseite erzeugen", {120, 120, 7500, 300});
    add(K::Label, "Label", "FileName", "Index-Dateiname", {360, 645, 2400, 255}, nullptr, 0);
    auto& name = add(K::TextBox, "html_indexfile_name", "", "", {2880, 600, 2400, 315});
    add(K::Label, "Label", "EntriesPerLine", "Indexeinträge je Zeile", {360, 1065, 2400, 255}, nullptr, 1);
    auto& per_line = add(K::TextBox, "indexeinträge_horizontal", "", "", {2880, 1020, 720, 315});
    auto& base = add(K::CheckBox, "Index_in_Basisverzeichnis", "Base", "Index im Basisverzeichnis",
                     {360, 1560, 7260, 300});
    auto& first = add(K::CheckBox, "NurErsteThumbSeite", "FirstPage", "Nur erste Thumbnailseite, wenn mehrere Seiten",
                      {360, 1920, 7260, 300});
    auto& group = add(K::CheckBox, "Indexgruppierung", "Group", "Verzeichnisgruppierung", {360, 2280, 7260, 300});
    auto& date = add(K::CheckBox, "Index_Erstelldatum", "Date", "Erstelldatum", {360, 2640, 7260, 300});
    auto& head = add(K::CheckBox, "DisableZantoScript", "DisableZantoScript",
                     "ZantoScript im Dokumentenkopf ausschalten", {360, 3000, 7260, 300});

    declare_events({PageEvent::BaumAnpassen});

    // Bound in the order the page fills its controls.
    bind_master_switch(master, ValueTarget::entry(kSetGenerateIndex));
    bind_name_box(name, ValueTarget::entry(kSetHtmlIndexFilename),
                  {.default_name = "index",
                   .invalid_key = "ErrIndexInvalidCharacter",
                   .missing_key = "ErrIndexMissingName",
                   .missing_key_only_when_empty = true,
                   .message_first = true});
    bind_check_box(base, ValueTarget::entry(kSetHtmlIndexInBasedir));
    bind_number_box(per_line, ValueTarget::entry(kSetHtmlIndexEntriesPerLine),
                    {.minimum = 1, .fallback = 6, .key = "ErrIndexCountEntriesPerLine"});
    bind_check_box(first, ValueTarget::entry(kSetHtmlIndexFirstThumbpage));
    bind_check_box(group, ValueTarget::entry(kSetHtmlIndexGroup));
    bind_check_box(head, ValueTarget::entry(kSetHtmlIndexHeadDisable));
    bind_check_box(date, ValueTarget::entry(kSetHtmlIndexPrintDate));
}

void CHTMLIndex::narrower_rules() {
    double split = 0;
    if (text_to_number(profilwert(kSetHtmlSplit), split) && split == 0) {
        PageControl& first = control("NurErsteThumbSeite");
        first.set_enabled(false);
        // Unticking reports a Click, which stores "0".
        set_value(first, 0);
    }
}

}  // namespace galvora
