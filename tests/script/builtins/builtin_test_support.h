#pragma once
// Shared set-up of the built-in tests: a template run checked against its
// output and ERRN_LAST, and a host that holds a picture's metadata, a run's
// directories and the drawing calls it received.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "foundation/language.h"
#include "foundation/string_helpers.h"
#include "script/builtins/builtin_frame.h"
#include "script/builtins/builtin_host.h"
#include "script/script_test_support.h"
#include "script/trial_run.h"

namespace galvora::testing {

struct Fall {
    std::string vorlage;
    std::string ausgabe;
    int32_t errn = 0;
};

class BuiltinTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        eingebaute_funktionen_registrieren();
    }

    // Runs the template; ERRN_LAST starts at 0, so a silent failure leaves 0.
    ZNSProbelauf lauf(const std::string& vorlage, const std::string& modul = "") {
        ZNSProbelauf r = skript_probelauf(vorlage, modul);
        EXPECT_EQ(r.compile_code, 0) << vorlage << "\n" << r.meldung;
        return r;
    }

    void pruefen(const std::vector<Fall>& faelle) {
        for (const auto& f : faelle) {
            ZNSProbelauf r = lauf(f.vorlage);
            EXPECT_EQ(r.ausgabe, f.ausgabe) << f.vorlage;
            EXPECT_EQ(r.errn, f.errn) << f.vorlage << "\n" << r.errs;
        }
    }
};

// A temporary folder removed with the object.
class TempOrdner {
public:
    TempOrdner() {
        pfad_ = std::filesystem::temp_directory_path() /
                ("galvora-builtins-" + std::to_string(::getpid()) + "-" + std::to_string(zaehler()++));
        std::filesystem::create_directories(pfad_);
    }
    ~TempOrdner() {
        std::error_code ec;
        std::filesystem::remove_all(pfad_, ec);
    }
    const std::filesystem::path& pfad() const { return pfad_; }
    std::string datei(const std::string& name) const { return (pfad_ / name).string(); }

private:
    static int& zaehler() {
        static int z = 0;
        return z;
    }
    std::filesystem::path pfad_;
};

// A host holding real values: EXIF sections, definitions, IPTC values,
// comments, directories of pictures, and a record of the drawing calls.
class FakeHost : public BuiltinHost {
public:
    struct Definition {
        int32_t code, section, tag, index;
        ExifDefinition def;
    };
    struct Bild {
        std::string name, typ;
        int32_t breite = 0, hoehe = 0;
    };

    std::map<int32_t, std::vector<ExifEintrag>> exif;  // section -> entries
    int32_t makernote_code = 0;
    double brennweitenfaktor = 1.5;
    std::vector<Definition> definitionen;
    std::vector<std::pair<int32_t, std::string>> iptc;      // dataset, text
    std::map<int32_t, std::string> iptc_namen;              // definitions
    std::vector<std::pair<std::string, std::string>> kommentare;  // key, text
    std::vector<std::pair<std::string, std::vector<Bild>>> verzeichnisse;
    bool bildseiten = true;
    std::vector<std::string> zeichnungen;
    int32_t farbe = 0x336699;

    bool bild_hat_exif() override {
        for (auto& [s, l] : exif)
            if (!l.empty()) return true;
        return false;
    }
    int32_t bild_exifkennung() override { return makernote_code; }
    int64_t bild_exif_anzahl(int32_t section) override {
        auto it = exif.find(section);
        return it == exif.end() ? 0 : static_cast<int64_t>(it->second.size());
    }
    bool bild_exif_wert(int32_t section, int32_t tag, ExifEintrag& e) override {
        for (const auto& x : exif[section])
            if (x.tag == tag) return e = x, true;
        return false;
    }
    bool bild_exif_nummer(int32_t section, int64_t position, int64_t& tag) override {
        const auto& l = exif[section];
        if (position < 1 || position > static_cast<int64_t>(l.size())) return false;
        tag = l[static_cast<size_t>(position - 1)].tag;
        return true;
    }
    double bild_brennweitenfaktor(double x) override { return x * brennweitenfaktor; }
    int32_t exif_tag_suchen(int32_t code, int32_t section, const std::string& name) override {
        for (const auto& d : definitionen)
            if (d.section == section && (section != 3 || d.code == code) && utf8_equal_nocase(d.def.name, name))
                return d.tag;
        return -1;
    }
    std::optional<ExifDefinition> exif_definition(int32_t code, int32_t section, int32_t tag, int32_t index) override {
        for (const auto& d : definitionen)
            if (d.section == section && (section != 3 || d.code == code) && d.tag == tag && d.index == index)
                return d.def;
        return std::nullopt;
    }
    bool bild_iptc_wert(int32_t nummer, std::string& text) override {
        for (const auto& [n, t] : iptc)
            if (n == nummer) return text = t, true;
        return false;
    }
    int64_t bild_iptc_anzahl() override { return static_cast<int64_t>(iptc.size()); }
    bool bild_iptc_nummer(int64_t position, int64_t& nummer) override {
        if (position < 1 || position > static_cast<int64_t>(iptc.size())) return false;
        nummer = iptc[static_cast<size_t>(position - 1)].first;
        return true;
    }
    int32_t iptc_tag_suchen(const std::string& name) override {
        for (const auto& [n, t] : iptc_namen)
            if (utf8_equal_nocase(t, name)) return n;
        return -1;
    }
    bool iptc_tagname(int32_t nummer, std::string& name) override {
        auto it = iptc_namen.find(nummer);
        if (it == iptc_namen.end()) return false;
        name = it->second;
        return true;
    }
    int64_t bild_kommentar_anzahl() override { return static_cast<int64_t>(kommentare.size()); }
    bool bild_kommentar_text(const std::string& key, std::string& text) override {
        for (const auto& [k, t] : kommentare)
            if (utf8_equal_nocase(k, key)) return text = t, true;
        return false;
    }
    bool bild_kommentar_pos_text(int64_t p, std::string& text) override {
        if (p < 1 || p > static_cast<int64_t>(kommentare.size())) return false;
        text = kommentare[static_cast<size_t>(p - 1)].second;
        return true;
    }
    bool bild_kommentar_schluessel(int64_t p, std::string& key) override {
        if (p < 1 || p > static_cast<int64_t>(kommentare.size())) return false;
        key = kommentare[static_cast<size_t>(p - 1)].first;
        return true;
    }
    bool verzeichnis_info(int32_t n, int32_t modus, ZNSVariable& r) override {
        if (n < 1 || n > static_cast<int32_t>(verzeichnisse.size())) return false;
        const auto& v = verzeichnisse[static_cast<size_t>(n - 1)];
        if (modus == 0) r.set_integer(static_cast<int32_t>(v.second.size()));
        else if (modus == 1) r.set_string(v.first);
        else return false;
        return true;
    }
    bool bild_info(int32_t d, int32_t p, int32_t code, ZNSVariable& r) override {
        if (d < 0 || code < 2 || code > 14 || p < 1) return false;
        if (d == 0) {
            for (size_t i = 0; i < verzeichnisse.size(); ++i) {
                int32_t n = static_cast<int32_t>(verzeichnisse[i].second.size());
                if (p <= n) {
                    d = static_cast<int32_t>(i) + 1;
                    break;
                }
                p -= n;
            }
            if (d == 0) return false;
        }
        if (d > static_cast<int32_t>(verzeichnisse.size())) return false;
        const auto& v = verzeichnisse[static_cast<size_t>(d - 1)];
        if (p > static_cast<int32_t>(v.second.size())) return false;
        const Bild& b = v.second[static_cast<size_t>(p - 1)];
        switch (code) {
        case 2: r.set_string(url_kodieren(v.first + "/" + b.name + "." + b.typ)); break;
        case 3: r.set_string(bildseiten ? url_kodieren(v.first + "/" + b.name + ".html") : ""); break;
        case 4: r.set_string(b.name); break;
        case 5: r.set_string(b.typ); break;
        case 6: r.set_datum(45000.5); break;
        case 8: r.set_integer(b.breite); break;
        case 9: r.set_integer(b.hoehe); break;
        default: r.set_integer(code); break;
        }
        return true;
    }
    void bild_drehen(int32_t v) override { zeichnungen.push_back("drehen " + std::to_string(v)); }
    void bild_spiegeln(int32_t r) override { zeichnungen.push_back("spiegeln " + std::to_string(r)); }
    void linie_zeichnen(int32_t f, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        zeichnungen.push_back("linie " + werte({f, x1, y1, x2, y2}));
    }
    void ellipse_zeichnen(int32_t f, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t d, int32_t m) override {
        zeichnungen.push_back("ellipse " + werte({f, x1, y1, x2, y2, d, m}));
    }
    void rechteck_fuellen(int32_t f, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t d) override {
        zeichnungen.push_back("rechteck " + werte({f, x1, y1, x2, y2, d}));
    }
    int32_t durchschnittsfarbe() override { return farbe; }

private:
    static std::string werte(std::initializer_list<int32_t> l) {
        std::string s;
        for (int32_t v : l) s += (s.empty() ? "" : " ") + std::to_string(v);
        return s;
    }
};

// Installs a host for the lifetime of the object.
class HostScope {
public:
    explicit HostScope(BuiltinHost* h) { set_builtin_host(h); }
    ~HostScope() { set_builtin_host(nullptr); }
};

}  // namespace galvora::testing
