#pragma once
// One page file of a gallery while it is written: registered under a free
// output channel number, so that templates write straight into it, with the
// two write forms of the page skeleton (a line ending in CR LF, or text that
// the next write continues). The page is written to a temporary side file and
// only committed into place when it is complete and every write, the close
// included, succeeded: with replace-if-changed the old page stays when the
// text is the same, otherwise the side file is renamed over it. A page that is
// abandoned (a cancelled run, a write error, a full disk) never replaces the
// page that was there. Pages are UTF-8: bytes of a name or a metadata text
// that are not UTF-8 reach the page as U+FFFD.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "foundation/error.h"

namespace galvora {

class OutputFile;

// A page file that could not be made or put into place; carries the page's
// path for the message "ErrHTMLCreateFile".
class SeitendateiFehler : public GalvoraError {
public:
    SeitendateiFehler(long number, std::string page_path, std::string description)
        : GalvoraError(number, "Seitendatei", std::move(description)), page_path_(std::move(page_path)) {}
    const std::string& seitenpfad() const { return page_path_; }

private:
    std::string page_path_;
};

// Shows "ErrHTMLCreateFile" for the failed page, with the page kind's text.
void seitenfehler_melden(const SeitendateiFehler& error, const std::string& page_kind_text);

class Seitendatei {
public:
    Seitendatei();
    ~Seitendatei();
    Seitendatei(const Seitendatei&) = delete;
    Seitendatei& operator=(const Seitendatei&) = delete;
    // Moving hands an open page over; a page the target held is abandoned.
    Seitendatei(Seitendatei&& other) noexcept;
    Seitendatei& operator=(Seitendatei&& other) noexcept;

    // Opens the side file of `page_path` for output (created new). Throws
    // SeitendateiFehler with the system's error number when it cannot be made.
    // `page_kind_text` names the kind of page should it fail to take its
    // place at the end of the run (see SeitenZurueckhalten).
    void oeffnen(const std::string& page_path, bool only_if_changed, std::string page_kind_text = {});
    bool offen() const { return stream_ != nullptr; }

    // The output channel under which the page is registered.
    int32_t nummer() const { return number_; }
    const std::string& pfad() const { return page_path_; }

    // The text and CR LF.
    void zeile(std::string_view text);
    // The text without a line end.
    void text(std::string_view text);
    // A line end alone.
    void zeilenende() { text("\r\n"); }
    // The template of a settings entry, run into the page.
    void vorlage(int entry);

    // Closes the file and puts it into place, or, while the run holds its
    // pages back, hands the closed file over to be put into place at the
    // run's end (false then). True when the page file changed
    // (replace-if-changed: only when the text differs). Throws SeitendateiFehler
    // when the file could not be written or put into place (a full disk, a
    // file in the way that is no page of this gallery); the old page stays
    // then and the side file is gone.
    bool uebernehmen();
    // Closes the file and deletes the side file; the old page stays.
    void verwerfen();

private:
    class Puffer;
    void schliessen();

    std::unique_ptr<OutputFile> file_;
    std::unique_ptr<Puffer> puffer_;
    std::unique_ptr<std::ostream> stream_;
    int32_t number_ = 0;
    std::string page_path_;
    std::string page_kind_text_;
    bool only_if_changed_ = false;
};

// While it lives, the run's pages are held back: a finished page is closed
// but stays in its side file, and takes its place only at the end of the run
// (zurueckgehaltene_seiten_abschliessen), once every clone, thumbnail and page
// it links to has been written. A run that could not write everything (a
// full disk) thus leaves the pages of the run before as they were, never
// pages that link to files that are not there. What is still held when it
// ends is put in place or removed by the same rule.
class SeitenZurueckhalten {
public:
    SeitenZurueckhalten();
    ~SeitenZurueckhalten();
    SeitenZurueckhalten(const SeitenZurueckhalten&) = delete;
    SeitenZurueckhalten& operator=(const SeitenZurueckhalten&) = delete;
};

// Puts the held pages in place, in the order they were finished, and counts
// them like seite_uebernehmen; with `einsetzen` false (a write of the run
// failed) removes them instead, so the pages there stay. When one of them
// may not take its place (a file there that is not the gallery's), that is
// shown with "ErrHTMLCreateFile", counted as a failed write, and none is put
// in place.
void zurueckgehaltene_seiten_abschliessen(bool einsetzen);

// Opens the page; on failure shows "ErrHTMLCreateFile" with the page kind's
// text and returns false.
bool seite_oeffnen(Seitendatei& page, const std::string& page_path, const std::string& page_kind_text);

// Commits a finished page and counts it: with replace-if-changed only when its
// text changed, otherwise always. A page that cannot be put into place throws
// SeitendateiFehler.
void seite_uebernehmen(Seitendatei& page);

// Commits and counts like seite_uebernehmen; a failure shows "ErrHTMLCreateFile"
// and returns false.
bool seite_uebernehmen(Seitendatei& page, const std::string& page_kind_text);

// A free output channel number (the lowest from 1 that no open page holds).
int32_t freie_dateinummer();

}  // namespace galvora
