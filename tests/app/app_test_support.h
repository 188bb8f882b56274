#pragma once
// Shared set-up of the shell tests: the generation tests' private folders,
// German texts, default settings and recording ports, plus the shell's own
// state (main window model, run state from the profile, batch flags).
#include <string>
#include <vector>

#include "app/main_window.h"
#include "foundation/messages.h"
#include "generation/generation_test_support.h"

namespace galvora::testing {

// A small JPEG for the directory scans.
inline void write_jpeg(const fs::path& path) { write_jpeg(path, 16, 12); }

class AppTest : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        profilzustand_anmelden();
        ProfileModules().clear();
        ScriptFileModules().clear();
        reset_shell();
    }
    void TearDown() override {
        reset_shell();
        GenerationTest::TearDown();
    }

    // The text a message box shows for a key of section "Msg".
    static std::string msg(const char* key, const std::vector<std::string>& arguments = {}) {
        return platzhalter_ersetzen(inq("Msg", key), arguments);
    }

private:
    static void reset_shell() {
        startdialog() = Startdialog{};
        DirectoryLevel = 0;
        DirSortKind = 1;
        DirSortDirection = 0;
        batchmodus = false;
        batch_unterbrochen = false;
    }
};

}  // namespace galvora::testing
