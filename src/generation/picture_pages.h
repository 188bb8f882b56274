#pragma once
// Picture pages: one page per picture, named like the picture's clone, with
// links to its neighbours, to its thumbnail page and to the first and last
// pictures of its thumbnail page, its directory and the whole run.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/directory_record.h"

namespace galvora {

// Where the picture sits on its thumbnail page (all 0 without thumbnail pages).
struct Bildseitenlage {
    int32_t BildNummerAufSeite = 0;
    int32_t BilderAufSeite = 0;
    int32_t ErstesBildDerSeite = 0;
    int32_t LetztesBildDerSeite = 0;
};

// The directories that hold the run's first and the run's last picture (null
// when none holds one). They stay the same for the whole picture loop, which
// finds them once rather than walking every directory for every page.
struct Laufgrenzen {
    const Verzeichnissatz* erstes = nullptr;
    const Verzeichnissatz* letztes = nullptr;
};
Laufgrenzen laufgrenzen(const std::vector<Verzeichnissatz>& directories);

// The page name of picture p (1-based) of a directory: the clone's name. At
// level 0 picture pages share their folder with the thumbnail pages (and the
// index and frame pages when these lie there too), so a picture whose name is
// taken by one of those pages gets "_pic" appended rather than overwriting it.
// A "/" in the clone's name becomes "_", so that no page lands in another folder.
std::string bildseitenname(const Verzeichnissatz& directory, int32_t p);

// The prefix from a picture page to the picture pages of `directory`.
std::string bildseiten_verzeichnispraefix(const Verzeichnissatz& directory, const std::string& bild_zu_thumb);

// Writes the page of picture p of directory d (both 1-based) into page_dir;
// `grenzen` are the run's first and last directory with pictures (laufgrenzen).
// Returns 1 when written, 10 when the page file could not be made or put into
// place (after "ErrHTMLCreateFile").
int32_t bildseite_schreiben(int32_t d, int32_t p, const std::string& thumb_page, const std::string& bild_zu_thumb,
                            const std::string& page_dir, const Bildseitenlage& lage, const Laufgrenzen& grenzen);

}  // namespace galvora
