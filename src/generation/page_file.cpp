#include "generation/page_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include "foundation/error.h"
#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "foundation/text_codec.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/script_glue.h"
#include "generation/settings_access.h"
#include "script/output.h"

namespace galvora {

// The stream templates write into: every byte goes through the UTF-8 repair
// into the page's temporary file. A failed write leaves the file's error flag
// set, which the commit finds.
class Seitendatei::Puffer : public std::streambuf {
public:
    explicit Puffer(FILE* file) : file_(file) {}

    void beenden() {
        std::string out;
        reparatur_.finish(out);
        schreiben(out);
    }
    // The system error of the first write that failed, 0 when none did.
    int fehler() const { return fehler_; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override {
        out_.clear();  // keeps its capacity from one write to the next
        reparatur_.weiter(std::string_view(s, static_cast<size_t>(n)), out_);
        return schreiben(out_) ? n : 0;
    }

private:
    bool schreiben(const std::string& bytes) {
        errno = 0;
        if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
        if (fehler_ == 0) fehler_ = errno != 0 ? errno : EIO;
        return false;
    }

    FILE* file_;
    int fehler_ = 0;
    std::string out_;
    Utf8Reparatur reparatur_;
};

namespace {

// A finished page waiting for its place.
struct ZurueckgehalteneSeite {
    std::unique_ptr<OutputFile> file;
    std::string page_path;
    std::string page_kind_text;
    bool only_if_changed = false;
};

struct Zurueckhaltung {
    bool aktiv = false;
    std::vector<ZurueckgehalteneSeite> seiten;
};

Zurueckhaltung& zurueckhaltung() {
    static Zurueckhaltung held;
    return held;
}

SeitendateiFehler seitenfehler(int system_error, const std::string& page_path) {
    const std::error_code ec(system_error != 0 ? system_error : EIO, std::generic_category());
    return SeitendateiFehler(error_number_from_system(ec), page_path, ec.message());
}

}  // namespace

void seitenfehler_melden(const SeitendateiFehler& error, const std::string& page_kind_text) {
    ++laufzustand().Schreibfehler;
    meldung(program_title(), MB_ICON_EXCLAMATION, "ErrHTMLCreateFile",
            {std::to_string(error.number()), page_kind_text, error.seitenpfad()});
}

bool seite_oeffnen(Seitendatei& page, const std::string& page_path, const std::string& page_kind_text) {
    try {
        page.oeffnen(page_path, setting_is_one(kSetHtmlChanged), page_kind_text);
        return true;
    } catch (const SeitendateiFehler& e) {
        seitenfehler_melden(e, page_kind_text);
        return false;
    }
}

void seite_uebernehmen(Seitendatei& page) {
    // A cancel that cut a template short (an interrupt stops the script
    // running) leaves the page incomplete: it never replaces the page there.
    if (CancelRequested) {
        page.verwerfen();
        return;
    }
    // A page held back is counted when it takes its place.
    const bool held = zurueckhaltung().aktiv;
    if (page.uebernehmen() || (!held && !setting_is_one(kSetHtmlChanged))) ++laufzustand().Seitenzaehler;
}

bool seite_uebernehmen(Seitendatei& page, const std::string& page_kind_text) {
    try {
        seite_uebernehmen(page);
        return true;
    } catch (const SeitendateiFehler& e) {
        seitenfehler_melden(e, page_kind_text);
        return false;
    }
}

int32_t freie_dateinummer() {
    int32_t number = 1;
    while (ausgabe_kanal(number) != nullptr) ++number;
    return number;
}

Seitendatei::Seitendatei() = default;

Seitendatei::Seitendatei(Seitendatei&& other) noexcept
    : file_(std::move(other.file_)),
      puffer_(std::move(other.puffer_)),
      stream_(std::move(other.stream_)),
      number_(other.number_),
      page_path_(std::move(other.page_path_)),
      page_kind_text_(std::move(other.page_kind_text_)),
      only_if_changed_(other.only_if_changed_) {}

Seitendatei& Seitendatei::operator=(Seitendatei&& other) noexcept {
    if (this == &other) return *this;
    if (offen()) verwerfen();
    file_ = std::move(other.file_);
    puffer_ = std::move(other.puffer_);
    stream_ = std::move(other.stream_);
    number_ = other.number_;
    page_path_ = std::move(other.page_path_);
    page_kind_text_ = std::move(other.page_kind_text_);
    only_if_changed_ = other.only_if_changed_;
    return *this;
}

Seitendatei::~Seitendatei() {
    if (offen()) verwerfen();
}

void Seitendatei::oeffnen(const std::string& page_path, bool only_if_changed, std::string page_kind_text) {
    if (offen()) verwerfen();
    page_path_ = page_path;
    page_kind_text_ = std::move(page_kind_text);
    only_if_changed_ = only_if_changed;
    // Pages are generated output: the run flushes them to disk at its end.
    auto file = std::make_unique<OutputFile>(page_path, false);
    if (!file->is_open()) {
        const std::error_code ec(file->error() != 0 ? file->error() : EACCES, std::generic_category());
        throw SeitendateiFehler(error_number_from_system(ec), page_path, ec.message());
    }
    file_ = std::move(file);
    puffer_ = std::make_unique<Puffer>(file_->file());
    stream_ = std::make_unique<std::ostream>(puffer_.get());
    number_ = freie_dateinummer();
    ausgabe_kanal_registrieren(number_, stream_.get());
}

void Seitendatei::zeile(std::string_view line) {
    text(line);
    text("\r\n");
}

void Seitendatei::text(std::string_view text) {
    if (stream_) stream_->write(text.data(), static_cast<std::streamsize>(text.size()));
}

void Seitendatei::vorlage(int entry) {
    if (stream_) vorlage_ausgeben(number_, entry);
}

void Seitendatei::schliessen() {
    if (!stream_) return;
    ausgabe_kanal_entfernen(number_);
    stream_->flush();
    puffer_->beenden();
}

bool Seitendatei::uebernehmen() {
    if (!stream_) return false;
    schliessen();
    const int write_error = !*stream_ ? (puffer_->fehler() != 0 ? puffer_->fehler() : EIO) : 0;
    stream_.reset();
    puffer_.reset();
    std::unique_ptr<OutputFile> file = std::move(file_);
    if (zurueckhaltung().aktiv) {
        // Closed now, so that a full disk shows at this page, and asked now
        // whether it may take its place (a file in the way stops the run
        // here); that place it takes at the end of the run.
        int err = write_error != 0 ? write_error : file->close() ? 0 : file->error() != 0 ? file->error() : EIO;
        if (err == 0) err = replace_guard_check(page_path_, file->temp_path());
        if (err == 0) {
            zurueckhaltung().seiten.push_back({std::move(file), page_path_, page_kind_text_, only_if_changed_});
            return false;
        }
        file->discard();
        throw seitenfehler(err, page_path_);
    }
    bool replaced = false;
    const bool ok =
        write_error == 0 && (only_if_changed_ ? file->commit_if_changed(replaced) : (replaced = file->commit()));
    if (!ok) {
        // The written page may be incomplete: it never takes the old page's place.
        const int err = write_error != 0 ? write_error : file->error() != 0 ? file->error() : EIO;
        file->discard();
        const std::error_code ec(err, std::generic_category());
        throw SeitendateiFehler(error_number_from_system(ec), page_path_, ec.message());
    }
    return replaced;
}

void Seitendatei::verwerfen() {
    if (!stream_) return;
    schliessen();
    stream_.reset();
    puffer_.reset();
    file_.reset();  // removes the side file; the old page stays
}

SeitenZurueckhalten::SeitenZurueckhalten() {
    zurueckhaltung().seiten.clear();
    zurueckhaltung().aktiv = true;
}

SeitenZurueckhalten::~SeitenZurueckhalten() {
    try {
        zurueckgehaltene_seiten_abschliessen(laufzustand().Schreibfehler == 0);
    } catch (const std::exception&) {
        zurueckhaltung().seiten.clear();  // their side files go with them
    }
    zurueckhaltung().aktiv = false;
}

void zurueckgehaltene_seiten_abschliessen(bool einsetzen) {
    // Taken out first: whatever happens below, nothing stays held.
    std::vector<ZurueckgehalteneSeite> held = std::move(zurueckhaltung().seiten);
    zurueckhaltung().seiten.clear();
    if (!einsetzen) return;  // the side files go with `held`
    // Asked for every page before any moves, so that a page refused its
    // place does not leave the gallery half old and half new.
    for (const ZurueckgehalteneSeite& page : held) {
        if (const int refused = replace_guard_check(page.page_path, page.file->temp_path()); refused != 0) {
            seitenfehler_melden(seitenfehler(refused, page.page_path), page.page_kind_text);
            return;
        }
    }
    for (ZurueckgehalteneSeite& page : held) {
        bool replaced = false;
        const bool ok = page.only_if_changed ? page.file->commit_if_changed(replaced) : (replaced = page.file->commit());
        const int error = page.file->error();
        page.file.reset();  // done with: its folder's descriptor goes now, not after thousands more
        if (!ok) {
            seitenfehler_melden(seitenfehler(error, page.page_path), page.page_kind_text);
            continue;
        }
        if (replaced || !page.only_if_changed) ++laufzustand().Seitenzaehler;
    }
}

}  // namespace galvora
