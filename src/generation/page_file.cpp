#include "generation/page_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "foundation/error.h"
#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "generation/run_state.h"
#include "generation/script_glue.h"
#include "generation/settings_access.h"
#include "script/output.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

std::string side_file(const std::string& page_path) { return page_path + "_"; }

}  // namespace

void seitenfehler_melden(const SeitendateiFehler& error, const std::string& page_kind_text) {
    meldung(program_title(), MB_ICON_EXCLAMATION, "ErrHTMLCreateFile",
            {std::to_string(error.number()), page_kind_text, error.seitenpfad()});
}

bool seite_oeffnen(Seitendatei& page, const std::string& page_path, const std::string& page_kind_text) {
    try {
        page.oeffnen(page_path, setting_is_one(kSetHtmlChanged));
        return true;
    } catch (const SeitendateiFehler& e) {
        seitenfehler_melden(e, page_kind_text);
        return false;
    }
}

void seite_uebernehmen(Seitendatei& page) {
    if (page.uebernehmen() || !setting_is_one(kSetHtmlChanged)) ++laufzustand().Seitenzaehler;
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

Seitendatei::Seitendatei(Seitendatei&& other) noexcept
    : stream_(std::move(other.stream_)),
      number_(other.number_),
      page_path_(std::move(other.page_path_)),
      only_if_changed_(other.only_if_changed_) {}

Seitendatei& Seitendatei::operator=(Seitendatei&& other) noexcept {
    if (this == &other) return *this;
    if (offen()) verwerfen();
    stream_ = std::move(other.stream_);
    number_ = other.number_;
    page_path_ = std::move(other.page_path_);
    only_if_changed_ = other.only_if_changed_;
    return *this;
}

Seitendatei::~Seitendatei() {
    if (offen()) verwerfen();
}

void Seitendatei::oeffnen(const std::string& page_path, bool only_if_changed) {
    if (offen()) verwerfen();
    page_path_ = page_path;
    only_if_changed_ = only_if_changed;
    // A file or link left under the side file's name goes first: a link must
    // not lead the page into a file elsewhere.
    const std::string side = side_file(page_path);
    std::error_code ignored;
    if (!fs::is_directory(fs::symlink_status(side, ignored))) fs::remove(side, ignored);
    errno = 0;
    auto stream = std::make_unique<std::ofstream>(side, std::ios::binary | std::ios::trunc);
    if (!stream->is_open()) {
        const int err = errno != 0 ? errno : EACCES;
        const std::error_code ec(err, std::generic_category());
        throw SeitendateiFehler(error_number_from_system(ec), page_path, ec.message());
    }
    stream_ = std::move(stream);
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
    stream_->close();
}

bool Seitendatei::uebernehmen() {
    if (!stream_) return false;
    const bool written = static_cast<bool>(*stream_);
    schliessen();
    stream_.reset();
    const std::string side = side_file(page_path_);
    std::error_code ec;
    if (!written) {
        fs::remove(side, ec);
        throw SeitendateiFehler(61, page_path_, "The page could not be written");
    }
    if (only_if_changed_) {
        try {
            return datei_uebernehmen_wenn_geaendert(page_path_, side);
        } catch (const GalvoraError& e) {
            throw SeitendateiFehler(e.number(), page_path_, e.description());
        }
    }
    if (::rename(side.c_str(), page_path_.c_str()) != 0) {
        const std::error_code rename_ec(errno, std::generic_category());
        fs::remove(side, ec);
        throw SeitendateiFehler(error_number_from_system(rename_ec), page_path_, rename_ec.message());
    }
    return true;
}

void Seitendatei::verwerfen() {
    if (!stream_) return;
    schliessen();
    stream_.reset();
    std::error_code ec;
    fs::remove(side_file(page_path_), ec);
}

}  // namespace galvora
