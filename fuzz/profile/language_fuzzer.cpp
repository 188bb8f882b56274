// libFuzzer target: the language file reader. The input is read as a language
// file; a language that loads is made current, its date patterns format a
// date, and a few of its messages are shown (headless, into the log) with
// placeholders filled in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/resources.h"
#include "profile/fuzz_files.h"
#include "script/date_text.h"

using namespace galvora;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The language choice is stored in the per-user settings.
    fuzz::use_scratch_home();
    sprachen_neu_anlegen();
    deutsche_texte_anlegen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto datei = fuzz::input_file(data, size, "eingabe.lng");

    // The reader on its own, then as a language of the program.
    CResources texte;
    try {
        texte.ReadFile(datei.string());
    } catch (const GalvoraError&) {
    }
    for (const auto& abschnitt : texte) {
        for (const auto& eintrag : *abschnitt) (void)abschnitt->item(eintrag->key);
    }

    ZNLanguage* sprache = sprachen().AddFile(datei.string());
    sprachen().clear_error();
    if (sprache != nullptr) {
        const std::string id = sprache->SprachID();
        sprache_waehlen(id);
        (void)ole_datum_formatieren(45000.75, format_datum);
        (void)ole_datum_formatieren(-700000.5, format_zeit);
        (void)ole_datum_formatieren(2958465.99, format_datum_zeit);
        meldung("Titel", MB_ICON_EXCLAMATION, "ErrProfileFileRead", {"13", "datei.qvp", "7", "%1%2%3%4%n"});
        meldung("Titel", MB_ICON_EXCLAMATION, "ErrZNSFileOpen", {});
        sprache_waehlen("de");
        sprachen().remove(std::string_view(id));
    }
    return 0;
}
