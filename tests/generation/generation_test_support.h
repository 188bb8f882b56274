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
#include "foundation/temp_folder.h"
#include "foundation/ui_test_support.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"
#include "profile/profile_lists.h"
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

// Everything on disk below a folder: relative paths, sorted.
inline std::vector<std::string> tree_of(const fs::path& folder) {
    std::vector<std::string> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(fs::relative(it->path(), folder).string());
    std::sort(entries.begin(), entries.end());
    return entries;
}

// A run port that remembers what the run showed.
struct RecordingRunPort : RunPort {
    std::vector<std::string> texts;
    std::vector<std::pair<int64_t, std::string>> node_images;
    int32_t maximum = -1;
    bool begun = false;
    void status_text(const std::string& text) override { texts.push_back(text); }
    void tree_node_image(int64_t node, const std::string& key) override { node_images.emplace_back(node, key); }
    void overall_progress_max(int32_t m) override { maximum = m; }
    void overall_progress_begin() override { begun = true; }
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
        set_program_folder(previous_program_);
        lauf_auftrag() = LaufAuftrag{};
        laufzustand() = Laufzustand{};
        WorkingCloneEffects().clear();
    }

    void set(int index, const std::string& value) { profilwert_setzen(index, value); }

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
