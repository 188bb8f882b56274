#include "generation/page_skeleton.h"

#include <algorithm>

#include "foundation/directory_record.h"

#include "generation/page_file.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

const std::string& entry_value(int index) { return Profileinstellungen()[static_cast<size_t>(index)].value; }

}  // namespace

int32_t bilder_im_verzeichnis(const Verzeichnissatz& d) {
    // A record never claims more pictures than its list holds.
    return static_cast<int32_t>(
        std::min<size_t>(d.bilddateien.size(), static_cast<size_t>(std::max<int32_t>(d.bildanzahl, 0))));
}

void seitenkopf_schreiben(Seitendatei& page, const Seitenschluessel& keys) {
    const std::string& doctype = setting_text(kSetHtmlDoctype);
    if (!doctype.empty()) page.zeile(doctype);
    const std::string& html = setting_text(kSetHtmlHtml);
    page.zeile(html.empty() ? std::string("<html>") : "<html " + html + ">");
    page.zeile("<head>");
    if (!entry_value(keys.head).empty()) {
        if (setting_not_zero(keys.head_disable)) {
            page.zeile(entry_value(keys.head));
        } else {
            page.vorlage(keys.head);
        }
        page.zeilenende();
    }
    page.text("<title>");
    page.vorlage(keys.title);
    page.zeile("</title>");
    page.zeile("</head>");
    if (keys.body == 0) return;
    page.text("<body");
    if (!entry_value(keys.body).empty()) {
        page.text(" ");
        page.vorlage(keys.body);
    }
    page.zeile(">");
}

void seitenende_schreiben(Seitendatei& page, int32_t date_flag, int footer) {
    erstellungsdatum_schreiben(page, date_flag);
    page.vorlage(footer);
    page.zeilenende();
    page.zeile("</body>");
    page.zeile("</html>");
}

void navigation_schreiben(Seitendatei& page, bool extended, const Navigationsslots& slots) {
    auto slot = [&](size_t position) {
        if (slots[position] != 0) page.vorlage(slots[position]);
    };
    slot(0);
    if (extended) {
        for (size_t i = 1; i <= 3; ++i) slot(i);
    }
    for (size_t i = 4; i <= 6; ++i) slot(i);
    if (extended) {
        for (size_t i = 7; i <= 9; ++i) slot(i);
    }
    slot(10);
    page.zeilenende();
}

void erstellungsdatum_schreiben(Seitendatei& page, int32_t flag) {
    if (flag != 1) return;
    page.zeilenende();
    page.zeile("<p style=\"text-align:center\">" + laufzustand().ErstelltAmText + "</p>");
}

}  // namespace galvora
