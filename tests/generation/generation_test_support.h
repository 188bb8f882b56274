#pragma once
// Shared set-up of the generation tests: a private temporary folder with its
// own per-user folders and program folder, the German texts, the default
// settings in the working table, a fresh script engine with the predefined
// variables, a message port that records every box, and pictures made with
// the imaging layer's writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/language.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "foundation/ui_test_support.h"
#include "generation/run_picture.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"
#include "script/engine.h"
#include "script/machine.h"

namespace galvora::testing {

namespace fs = std::filesystem;

// Writes a JPEG of the given size, filled with one colour.
inline void write_jpeg(const fs::path& path, int32_t width, int32_t height) {
    fs::create_directories(path.parent_path());
    PictureBuffer buffer = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = buffer.pixel(x, y);
            p[0] = 200;
            p[1] = static_cast<uint8_t>(x);
            p[2] = static_cast<uint8_t>(y);
        }
    int32_t used = 0;
    WriteImage(path.string(), 6, buffer, 80, 0, false, 1, used);
}

// Everything on disk below a folder: relative paths, sorted; the hidden
// record of what the program wrote in each output folder is left out.
inline std::vector<std::string> tree_of(const fs::path& folder) {
    std::vector<std::string> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename() != ".galvora-record") entries.push_back(fs::relative(it->path(), folder).string());
    std::sort(entries.begin(), entries.end());
    return entries;
}

// A run port that remembers what the run showed.
struct RecordingRunPort : RunPort {
    std::vector<std::string> texts;
    std::vector<std::pair<int64_t, std::string>> node_images;
    int32_t maximum = -1;
    bool begun = false;
    std::vector<std::string> lines;
    void status_text(const std::string& text) override { texts.push_back(text); }
    void log_line(const std::string& text) override { lines.push_back(text); }
    void tree_node_image(int64_t node, const std::string& key) override { node_images.emplace_back(node, key); }
    void overall_progress_max(int32_t m) override { maximum = m; }
    void overall_progress_begin() override { begun = true; }
};

// A picture object that keeps what the run sets and processes nothing.
class RecordingPicture : public RunPicture {
public:
    void ClonenDurchführen(bool on) override { clonen = on; }
    bool ClonenDurchführen() const override { return clonen; }
    void CloneNurWennNeuerErstellen(bool on) override { nur_wenn_neuer = on; }
    void CloneSeitenwahl(int32_t v) override { clone_seitenwahl = v; }
    void CloneAusdehnung(int32_t v) override { clone_ausdehnung = v; }
    void CloneBreite(int32_t v) override { clone_breite = v; }
    void CloneHöhe(int32_t v) override { clone_hoehe = v; }
    void CloneMaxSize(int32_t v) override { clone_max_size = v; }
    void CloneQualität(int32_t v) override { clone_qualitaet = v; }
    void CloneJPGProgressiveSpeicherung(bool on) override { progressiv = on; }
    void CloneTIFKomprimierung(int32_t v) override { tif_komprimierung = v; }
    void CloneFilter(int32_t v) override { clone_filter = v; }
    void MetadataKopieren(bool on) override { metadaten_kopieren = on; }
    void DatumZeitErhalten(bool on) override { datum_erhalten = on; }
    void CloneStempeln(bool on) override { stempeln = on; }
    void CloneEffekte(const CCloneEffekte* list) override { effekte = list; }
    void ThumbDurchführen(bool on) override { thumbs = on; }
    bool ThumbDurchführen() const override { return thumbs; }
    void ThumbVomClone(bool on) override { thumb_vom_clone = on; }
    void ThumbSeitenwahl(int32_t v) override { thumb_seitenwahl = v; }
    void ThumbAusdehnung(int32_t v) override { thumb_ausdehnung = v; }
    void ThumbBreite(int32_t v) override { thumb_breite = v; }
    void ThumbHöhe(int32_t v) override { thumb_hoehe = v; }
    void ThumbQualität(int32_t v) override { thumb_qualitaet = v; }
    void ThumbRahmenFüllen(bool on) override { rahmen_fuellen = on; }
    void ThumbRahmenfarbePassend(bool on) override { rahmenfarbe_passend = on; }
    void ThumbRahmenfarbe(int32_t c) override { rahmenfarbe = c; }
    void ThumbVergrößernErlauben(bool on) override { vergroessern = on; }
    void OriginalPfad(const std::string& folder) override { original_pfad = folder; }
    void ClonePfad(const std::string& folder) override { clone_pfad = folder; }
    void ThumbPfad(const std::string& folder) override { thumb_pfad = folder; }
    void ImageFile(std::shared_ptr<ZNImageFile> r) override { record = std::move(r); }
    void PictureBox(PictureBoxPort* box) override { picture_box = box; }
    bool DoIt(ErrorInfo& error) override {
        error = {};
        return true;
    }
    bool CloneErstellt() const override { return false; }
    bool ThumbErstellt() const override { return false; }
    const std::string& ErrImage() const override { return err_image; }
    PictureMetadata* metadata() override { return nullptr; }

    bool clonen = false, nur_wenn_neuer = false, progressiv = false, metadaten_kopieren = false;
    bool datum_erhalten = false, stempeln = false, thumbs = false, thumb_vom_clone = false;
    bool rahmen_fuellen = false, rahmenfarbe_passend = false, vergroessern = false;
    int32_t clone_seitenwahl = 0, clone_ausdehnung = 0, clone_breite = 0, clone_hoehe = 0;
    int32_t clone_max_size = 0, clone_qualitaet = 0, clone_filter = 0, tif_komprimierung = 0;
    int32_t thumb_seitenwahl = 0, thumb_ausdehnung = 0, thumb_breite = 0, thumb_hoehe = 0, thumb_qualitaet = 0;
    int32_t rahmenfarbe = 0;
    const CCloneEffekte* effekte = nullptr;
    PictureBoxPort* picture_box = nullptr;
    std::string original_pfad, clone_pfad, thumb_pfad, err_image;
    std::shared_ptr<ZNImageFile> record;
};

class GenerationTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool german = [] {
            deutsche_texte_anlegen();
            sprache_waehlen("de");
            return true;
        }();
        (void)german;
        erzeugung_anmelden();
        previous_program_ = program_folder();
        fs::create_directories(tmp.path() / "program" / "decopool" / "standard");
        set_program_folder(tmp.path() / "program");
        profil_schluessel_definieren();
        Profileinstellungen() = geladene_Profileinstellungen();
        script_objekt_anlegen();
        skriptvariablen_anlegen();
        maschine().grenzen() = ZNSLaufgrenzen{};
        WorkingCloneEffects().clear();
        lauf_auftrag() = LaufAuftrag{};
        laufzustand() = Laufzustand{};
        set_run_port(&run_port_);
        base = tmp.path() / "base";
        out = tmp.path() / "out";
        fs::create_directories(base);
        fs::create_directories(out);
        lauf_auftrag().basisverzeichnis = base.string();
        lauf_auftrag().cloneverzeichnis = out.string();
    }
    void TearDown() override {
        set_run_port(nullptr);
        set_run_picture_factory(nullptr);
        set_program_folder(previous_program_);
        lauf_auftrag() = LaufAuftrag{};
        laufzustand() = Laufzustand{};
        WorkingCloneEffects().clear();
    }

    void set(int index, const std::string& value) { profilwert_setzen(index, value); }

    // The user's profile folder, stored and made as the main window's start
    // does; the tests of profiles saved without that start call it.
    static std::string user_profile_folder() {
        const std::string folder = standard_benutzerprofilordner();
        registry_schreiben("LastSession", "userprofiledir", folder);
        fs::create_directories(folder);
        return folder;
    }

    // The value of a global script variable.
    ZNSWertRef global(const std::string& name) { return zns()->gvar_oba.inq(name); }

    // The texts of the boxes shown so far.
    std::vector<std::string> box_texts() const {
        std::vector<std::string> texts;
        for (const auto& b : port.boxes) texts.push_back(b.text);
        return texts;
    }

    TempFolder tmp;
    ScopedUserFolders user{tmp.path()};
    test::RecordingPort port;
    RecordingRunPort run_port_;
    fs::path base;
    fs::path out;

private:
    fs::path previous_program_;
};

}  // namespace galvora::testing
