#pragma once
// Thumbnail pages: the pictures of one directory as a table of cells, a fixed
// number per row and rows per page, linked to the neighbouring pages, the
// index page and the first and last pages. The directory and picture loop
// calls the steps below in order; the page plan (names and links of one
// page) is a pure function of the directory records and the settings.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/directory_record.h"
#include "generation/page_file.h"
#include "generation/page_skeleton.h"

namespace galvora {

class ZNImageFile;

// The settings a page plan depends on.
struct Seitenplanregeln {
    int32_t level = 0;               // Auswertelevel
    bool split = false;              // HTML_SPLIT is 1
    std::string verweisfolge = "1";  // HTML_VERWEISFOLGE: "1" continuous, "2" wrap, "3" bounded
    std::string maske;               // page number mask (SPLIT_DIGITS zeros)
    std::string endung;              // ".html"
    std::string standardname;        // HTML_DEFAULT, the page base name at level 0
};

// Names, references and navigation slots of one thumbnail page.
struct Seitenverweise {
    std::string name;  // current page name, without extension
    int32_t prev_nummer = 0;
    int32_t next_nummer = 0;
    std::string prev_name, next_name;
    std::string prev_ref, next_ref;  // URL-encoded, with the directory prefix
    int first_slot = 0, path_first_slot = 0, prev_slot = 0, next_slot = 0, path_last_slot = 0, last_slot = 0;
};

// The base name of a directory's thumbnail pages: its own name at levels 1
// and 2, HTML_DEFAULT at level 0.
std::string thumbseiten_basisname(const Verzeichnissatz& directory, const Seitenplanregeln& rules);

// The name of thumbnail page `nummer` of a directory (0: the one page of a
// directory whose pages are not split), without extension: the base name
// and, when split, "-" and the number; fitted to the longest file name.
std::string thumbseitenname(const Verzeichnissatz& directory, int32_t nummer, const Seitenplanregeln& rules);

// The rules of the run in progress (settings and run values).
Seitenplanregeln seitenplanregeln();

// Rows per page (the directory's picture count + 1 without splitting, so one
// page takes every picture) and the page count of a directory.
int32_t zeilen_pro_seite(int32_t pictures, int32_t lines_per_page, bool split);
int32_t seitenanzahl(int32_t pictures, int32_t lines_per_page, int32_t per_line);

// The nearest directory before (step -1) or after (step 1) directory i that
// holds pictures, 1-based; 0 when there is none. Links between directories
// skip the empty ones, which have no pages to link to.
size_t nachbarverzeichnis(const std::vector<Verzeichnissatz>& directories, size_t i, int step);

// The plan of page `page` (1-based, of `pages`) of directory i (1-based) of
// `directories`. Continuous links read the page number that the previous
// directory's record holds (its last page).
Seitenverweise seitenverweise(const std::vector<Verzeichnissatz>& directories, size_t i, int32_t page, int32_t pages,
                              const Seitenplanregeln& rules);

// The run's thumbnail pages, one open page at a time.
class Thumbseiten {
public:
    // Directory step: page plan of directory i, first/last page variables and
    // the page folder (also html_absolute).
    void verzeichnis_beginnen(size_t i);
    // Cell-opening step of picture j; opens a page when its first cell is due.
    // Throws GalvoraError when the page file cannot be made.
    void zelle_oeffnen(int32_t j);
    // Cell step: the cell's clone and thumbnail references and its template.
    void zelle_schreiben(const ZNImageFile& record, bool thumbnails);
    // Cell-closing step: closes the cell and, when the page is full or j is the
    // directory's last picture, finishes and commits the page.
    void zelle_schliessen(int32_t j);
    // Cancel step: an open page is abandoned and the page it would replace stays.
    void abbrechen();

    bool seite_offen() const { return page_.offen(); }
    const std::string& aktueller_seitenname() const { return current_name_; }
    const std::string& ordner() const { return folder_; }
    int32_t zeilen_pro_seite_wert() const { return lines_per_page_; }

    // Counters of the current page, read by the picture pages.
    int32_t zeile = 0;            // row number on the page
    int32_t zellen_in_zeile = 0;  // cells in the current row
    int32_t BildNummerAufSeite = 0;
    int32_t BilderAufSeite = 0;
    int32_t ErstesBildDerSeite = 0;
    int32_t LetztesBildDerSeite = 0;

private:
    void seite_oeffnen(int32_t j);
    void seite_beenden();
    void navigationsleiste();
    Seitenplanregeln regeln() const;

    size_t directory_ = 0;
    int32_t pictures_ = 0;
    int32_t lines_per_page_ = 0;
    int32_t pages_ = 0;
    std::string folder_;
    std::string current_name_;
    Seitenverweise plan_;
    Seitendatei page_;
};

}  // namespace galvora
