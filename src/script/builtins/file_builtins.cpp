// read, write, exist and input.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "foundation/file_helpers.h"
#include "foundation/output_file.h"
#include "foundation/path_helpers.h"
#include "foundation/text_codec.h"
#include "platform/ui_port.h"
#include "script/builtins/builtin_frame.h"
#include "script/builtins/builtin_host.h"
#include "script/builtins/value_conversion.h"
#include "script/ini_reader.h"

namespace galvora::builtins {

namespace fs = std::filesystem;

namespace {

// The file error number of a failed open, read or write: a missing folder on
// the way is 76 rather than the 53 of a missing file; a folder where a file
// was expected is 75.
int32_t dateifehler(const fs::path& pfad, const std::error_code& ec) {
    std::error_code egal;
    if (fs::is_directory(pfad, egal)) return 75;
    if (ec.value() == ENOENT) {
        fs::path eltern = pfad.parent_path();
        if (!eltern.empty() && !fs::is_directory(eltern, egal)) return 76;
    }
    return static_cast<int32_t>(error_number_from_system(ec));
}

void read_(Aufruf& a) {
    a.anzahl_pruefen(1, 3);
    ZNS& e = a.engine();
    const std::string& pfad = a.string_arg(1);
    int32_t von = 0, bis = 0;
    if (a.anzahl() >= 2) {
        const ZNSVariable& zweites = a.arg(2);
        if (zweites.typ == TYP_SYMBOL) {
            if (a.anzahl() != 2) melden(QIM_ARGUMENTANZAHL);
            if (a.ist_symbol(2, e.sym_ionfile)) return ion_datei_lesen(pfad, a.result());
            if (a.ist_symbol(2, e.sym_inifile)) return ini_datei_lesen(pfad, a.result());
            melden(QIM_ARGUMENT);
        }
        von = a.integer_arg(2);
    }
    if (a.anzahl() == 3) bis = a.integer_arg(3);

    std::error_code ec;
    auto zeilen = skripttextdatei_lesen(pfad, ec);
    if (!zeilen) {
        if (!ec) ec = std::make_error_code(std::errc::io_error);
        // Interrupted: the run is stopping, the script is not to go on.
        if (ec.value() == EINTR) throw StillerFehler();
        melden(dateifehler(fs::path(pfad), ec));
    }
    const long gesamt = static_cast<long>(zeilen->size());
    long letzte = gesamt;  // the last line read
    if (bis != 0) letzte = std::min<long>(gesamt, std::max<long>(bis, von));
    std::string text;
    if (bis == 0 || bis >= von) {
        const long ende = bis == 0 ? gesamt : std::min<long>(gesamt, bis);
        for (long n = std::max<long>(von, 1); n <= ende; ++n) {
            text += (*zeilen)[static_cast<size_t>(n - 1)];
            if (n != gesamt && n != bis) text += "\r\n";
        }
    }
    if (von > letzte) return a.symbol_kopieren(e.sym_eod);
    a.result().set_string(std::move(text));
}

void write_(Aufruf& a) {
    a.anzahl_pruefen(2, 3);
    ZNS& e = a.engine();
    const std::string& pfad = a.string_arg(1);
    bool anhaengen = false;
    if (a.anzahl() == 3) {
        a.symbol_arg(2);
        if (!a.ist_symbol(2, e.sym_append)) melden(QIM_ARGUMENT);
        anhaengen = true;
    }
    const ZNSVariable& wert = a.arg(a.anzahl());
    std::string text;
    if (wert.typ == TYP_STRING) {
        const std::string& s = wert.als_text();
        textlaenge_pruefen(s.size());
        text.reserve(s.size());
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '%' && i + 1 < s.size() && s[i + 1] == '\\') {
                text += "\r\n";
                ++i;
            } else {
                text += s[i];
            }
        }
    } else if (auto t = als_string_text(wert)) {
        text = std::move(*t);
    }

    const fs::path ziel(pfad);
    std::error_code ec;
    // Refused like a file the user may not write.
    if (BuiltinHost* h = builtin_host(); h != nullptr && !h->schreiben_erlaubt(pfad)) melden(70);
    if (!anhaengen) {
        // A new text replaces the file only once it is completely written.
        if (pfad.empty()) ec = std::make_error_code(std::errc::no_such_file_or_directory);
        else if (fs::is_directory(ziel, ec)) ec = std::make_error_code(std::errc::is_a_directory);
        // A file the user may not write stays as it is, though its folder would allow a rename.
        else if (::access(pfad.c_str(), F_OK) == 0 && ::access(pfad.c_str(), W_OK) != 0)
            ec = std::make_error_code(std::errc::permission_denied);
        else write_file_atomic(ziel, text, ec);
        if (ec) melden(dateifehler(ziel, ec));
    } else {
        if (fs::is_directory(ziel, ec)) ec = std::make_error_code(std::errc::is_a_directory);
        else append_to_file(pfad, text, ec);
        if (ec) melden(dateifehler(ziel, ec));
    }
    a.symbol_kopieren(e.sym_wahr);
}

void exist_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const std::string& pfad = a.string_arg(1);
    a.wahrheit(verzeichnis_existiert(pfad, 0));
}

void input_(Aufruf& a) {
    a.anzahl_pruefen(1, 2);
    auto frage = als_string_text(a.arg(1));
    if (!frage) melden(QIM_ARGUMENTTYP);
    std::string vorgabe;
    if (a.anzahl() == 2) {
        auto v = als_string_text(a.arg(2));
        if (!v) melden(QIM_ARGUMENTTYP);
        vorgabe = std::move(*v);
    }
    UiPort& port = ui_port();
    // Without a window the box takes its preset, as every box of a batch run
    // takes its default answer.
    auto antwort = port.input_box(*frage, vorgabe);
    a.result().set_string(antwort ? std::move(*antwort) : std::string());
}

}  // namespace

void datei_builtins_registrieren() {
    eingebaut("read", read_);
    eingebaut("write", write_);
    eingebaut("exist", exist_);
    eingebaut("input", input_);
}

}  // namespace galvora::builtins
