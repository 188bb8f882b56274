// The common dialogs: their filters, titles and cancel results as they reach
// the dialog port.
#include "app/app_test_support.h"
#include "app/common_dialogs.h"
#include "platform/dialog_port.h"

namespace galvora::testing {
namespace {

using namespace std::string_literals;

// A dialog port that keeps each request and gives preset answers.
struct ScriptedDialogs : DialogPort {
    FileDialogRequest file;
    std::string folder_start, folder_prompt, folder_title, colour_title;
    uint32_t colour_initial = 0;
    std::string file_answer, folder_answer;
    std::optional<uint32_t> colour_answer;
    std::string choose_file(const FileDialogRequest& request) override {
        file = request;
        return file_answer;
    }
    std::string choose_folder(const std::string& start, const std::string& prompt, const std::string& title) override {
        folder_start = start;
        folder_prompt = prompt;
        folder_title = title;
        return folder_answer;
    }
    std::optional<uint32_t> choose_colour(const std::string& title, uint32_t initial) override {
        colour_title = title;
        colour_initial = initial;
        return colour_answer;
    }
};

class CommonDialogs : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        set_dialog_port(&dialogs);
    }
    void TearDown() override {
        set_dialog_port(nullptr);
        AppTest::TearDown();
    }
    ScriptedDialogs dialogs;
};

TEST_F(CommonDialogs, FileDialogsTakeTheFilterPairsAndTheProgramsTitle) {
    EXPECT_EQ(dateifilter_zerlegen("Skriptdateien\0*.zsf\0*.*\0*.*\0"s),
              (std::vector<std::pair<std::string, std::string>>{{"Skriptdateien", "*.zsf"}, {"*.*", "*.*"}}));
    EXPECT_EQ(dateifilter_zerlegen("A\0*.a\0\0B\0*.b\0"s).size(), 1u);  // two NULs end the list
    EXPECT_EQ(dateifilter_zerlegen("Nur eine Beschreibung\0"s).size(), 0u);

    dialogs.file_answer = "/home/m/x.zsf";
    EXPECT_EQ(ShowFileDialog(true, "Skriptdateien\0*.zsf\0"s, "alt.zsf", "zsf", "Skriptdatei", kDateiUeberschreibenFragen),
              "/home/m/x.zsf");
    EXPECT_TRUE(dialogs.file.save);
    EXPECT_TRUE(dialogs.file.confirm_overwrite);
    EXPECT_EQ(dialogs.file.title, "Galvora - Skriptdatei");
    EXPECT_EQ(dialogs.file.preset, "alt.zsf");
    EXPECT_EQ(dialogs.file.default_suffix, "zsf");
    ASSERT_EQ(dialogs.file.filters.size(), 1u);

    dialogs.file_answer.clear();
    EXPECT_EQ(ShowFileDialog(false, ""s, "", "", "", 0), "");
    EXPECT_FALSE(dialogs.file.confirm_overwrite);
    EXPECT_EQ(dialogs.file.title, "Galvora - ");
}

TEST_F(CommonDialogs, FolderAndColourDialogsGiveEmptyAndMinusOneOnCancel) {
    dialogs.folder_answer = "/pics";
    EXPECT_EQ(BrowseForFolder(kOrdnerArbeitsplatz, "/home/m", "Verzeichnis wählen", "Basisverzeichnis", 512), "/pics");
    EXPECT_EQ(dialogs.folder_start, "/home/m");
    EXPECT_EQ(dialogs.folder_prompt, "Verzeichnis wählen");
    EXPECT_EQ(dialogs.folder_title, "Galvora - Basisverzeichnis");
    dialogs.folder_answer.clear();
    EXPECT_EQ(BrowseForFolder(0, "", "", "", 0), "");
    EXPECT_EQ(dialogs.folder_title, "");  // an empty caption leaves the dialog's own title

    dialogs.colour_answer = 0x00FF8040;
    EXPECT_EQ(ShowColorDialog("Rahmenfarbe", 0x123456), 0x00FF8040);
    EXPECT_EQ(dialogs.colour_initial, 0x123456u);
    EXPECT_EQ(dialogs.colour_title, "Galvora - Rahmenfarbe");
    dialogs.colour_answer.reset();
    EXPECT_EQ(ShowColorDialog("", 0), -1);
    // Without a window program every dialog is cancelled.
    set_dialog_port(nullptr);
    EXPECT_EQ(ShowColorDialog("x", 0), -1);
    EXPECT_EQ(BrowseForFolder(0, "/", "", "", 0), "");
}

}  // namespace
}  // namespace galvora::testing
