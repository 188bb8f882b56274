// The shipped language files against the program's own texts: every window
// caption of the about box and the small dialogs has a text in every shipped
// language, and every language names a small flag picture that is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/small_dialogs.h"
#include "foundation/language.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"

namespace galvora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> shipped_languages() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(GALVORA_SOURCE_DIR) / "resources" / "languages"))
        if (entry.path().extension() == ".lng") files.push_back(entry.path());
    return files;
}

struct Window {
    const char* name;
    const std::vector<Designtext>& texts;
};

TEST(ShippedLanguages, EveryWindowCaptionOfTheseWindowsHasAText) {
    const std::vector<Window> windows = {
        {kInformFenster, inform_designtexte()},
        {kProfilNeuFenster, profilneu_designtexte()},
        {kModulNeuFenster, modulneu_designtexte()},
        {kDateiartenFenster, dateiarten_designtexte()},
    };
    const std::vector<fs::path> files = shipped_languages();
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        ZNLanguages languages;
        ZNLanguage* language = languages.AddFile(file.string());
        ASSERT_NE(language, nullptr) << file << ": " << languages.last_error().description;
        for (const Window& w : windows)
            for (const Designtext& t : w.texts) {
                const std::string text = language->inq(w.name, t.tag);
                EXPECT_NE(text, "?" + std::string(t.tag) + "?") << file.filename() << " [" << w.name << "] " << t.tag;
            }
    }
}

// A script stopped at one of its limits (errors 101 to 104) is named in the
// run's language: without these texts an English gallery's log and messages
// would name the limit in German.
TEST(ShippedLanguages, EachNamesTheScriptLimits) {
    for (const fs::path& file : shipped_languages()) {
        ZNLanguages languages;
        ZNLanguage* language = languages.AddFile(file.string());
        ASSERT_NE(language, nullptr) << file;
        for (const std::string key : {"ErrQIMInstructionLimit", "ErrQIMCallDepth", "ErrQIMCancelled", "ErrQIMOutOfMemory"})
            EXPECT_NE(language->inq("Msg", key), "?" + key + "?") << file.filename() << " " << key;
    }
}

TEST(ShippedLanguages, EachNamesASmallFlagPictureBesideIt) {
    std::vector<std::string> images;
    for (const GermanText& row : german_text_table())
        if (std::string(row.section) == "Sprache" && std::string(row.key) == "LanguageImage") images.push_back(row.text);
    for (const fs::path& file : shipped_languages()) {
        ZNLanguages languages;
        ZNLanguage* language = languages.AddFile(file.string());
        ASSERT_NE(language, nullptr) << file;
        images.push_back(language->inq("Sprache", "LanguageImage"));
    }
    ASSERT_GE(images.size(), 2u);
    for (const std::string& image : images) {
        const fs::path picture = fs::path(GALVORA_SOURCE_DIR) / "resources" / "languages" / image;
        ASSERT_TRUE(fs::is_regular_file(picture)) << image;
        PictureBuffer buffer;
        int32_t width = 0, height = 0;
        ReadImage(picture.string(), 0, buffer, width, height);
        EXPECT_GT(width, 0) << picture;
        EXPECT_LE(width, 32) << picture;
        EXPECT_GT(height, 0) << picture;
        EXPECT_LE(height, 32) << picture;
    }
}

}  // namespace
}  // namespace galvora
