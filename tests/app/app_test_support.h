#pragma once
// Shared set-up of the shell tests: a private temporary folder with its own
// per-user folders and program folder, the German texts, the default
// settings in the working table, a message port that records every box, and
// small JPEG files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/temp_folder.h"
#include "foundation/ui_test_support.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"
#include "profile/profile_lists.h"
#include "profile/settings_table.h"
#include "script/engine.h"

namespace galvora::testing {

namespace fs = std::filesystem;

inline void write_jpeg(const fs::path& path, int32_t width = 16, int32_t height = 12) {
    fs::create_directories(path.parent_path());
    PictureBuffer buffer = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = buffer.pixel(x, y);
            p[0] = 90;
            p[1] = static_cast<uint8_t>(x * 8);
            p[2] = static_cast<uint8_t>(y * 8);
        }
    int32_t used = 0;
    WriteImage(path.string(), 6, buffer, 80, 0, false, 1, used);
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool german = [] {
            deutsche_texte_anlegen();
            sprache_waehlen("de");
            return true;
        }();
        (void)german;
        erzeugung_anmelden();
        profilzustand_anmelden();
        previous_program_ = program_folder();
        fs::create_directories(tmp.path() / "program" / "decopool" / "standard");
        set_program_folder(tmp.path() / "program");
        profil_schluessel_definieren();
        Profileinstellungen() = geladene_Profileinstellungen();
        script_objekt_anlegen();
        skriptvariablen_anlegen();
        ProfileModules().clear();
        ScriptFileModules().clear();
        WorkingCloneEffects().clear();
        lauf_auftrag() = LaufAuftrag{};
        startdialog() = Startdialog{};
        DirectoryLevel = 0;
        DirSortKind = 1;
        DirSortDirection = 0;
        batchmodus = false;
        batch_unterbrochen = false;
        base = tmp.path() / "base";
        fs::create_directories(base);
    }
    void TearDown() override {
        set_program_folder(previous_program_);
        lauf_auftrag() = LaufAuftrag{};
        startdialog() = Startdialog{};
        WorkingCloneEffects().clear();
        batchmodus = false;
        batch_unterbrochen = false;
    }

    void set(int index, const std::string& value) { profilwert_setzen(index, value); }

    // The message keys are not kept by the port; the texts are, so a test
    // compares with the German text of the key.
    static std::string msg(const char* key, const std::vector<std::string>& arguments = {}) {
        return platzhalter_ersetzen(inq("Msg", key), arguments);
    }
    std::vector<std::string> box_texts() const {
        std::vector<std::string> texts;
        for (const auto& b : port.boxes) texts.push_back(b.text);
        return texts;
    }

    TempFolder tmp;
    ScopedUserFolders user{tmp.path()};
    test::RecordingPort port;
    fs::path base;

private:
    fs::path previous_program_;
};

}  // namespace galvora::testing
