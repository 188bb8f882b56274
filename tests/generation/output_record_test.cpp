#include "generation/output_record.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "foundation/temp_folder.h"

namespace galvora {
namespace {

namespace fs = std::filesystem;

// The run sets a picture folder up before it makes it: a picture processed
// ahead on a worker writes into the folder as soon as it sees it, which may
// be before the run's thread has come back from making it. A folder nobody
// set up still takes no new file.
TEST(OutputRecord, AFolderSetUpBeforeItIsMadeTakesNewFilesAsSoonAsItExists) {
    galvora::testing::TempFolder scratch;
    const std::string root = (scratch.path() / "out").string();
    fs::create_directories(root + "/thumbs");
    Ausgabeaufzeichnung record;
    record.beginnen(root, {root + "/thumbs"}, false);

    const std::string picture_folder = root + "/thumbs/beta";
    record.ordner_einrichten(picture_folder);
    fs::create_directory(picture_folder);
    EXPECT_EQ(record.zulassen(picture_folder + "/three.jpg", ""), 0);

    const std::string foreign = root + "/thumbs/made-by-someone-else";
    fs::create_directory(foreign);
    EXPECT_EQ(record.zulassen(foreign + "/three.jpg", ""), EPERM);
    record.beenden();
}

}  // namespace
}  // namespace galvora
