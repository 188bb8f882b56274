// Runs with settings a stranger's profile could hold: the run keeps its work
// inside the output root and never takes the originals with it.
#include "generation/gallery_test_support.h"
#include "generation/page_keys.h"
#include "generation/run_builtin_host.h"

namespace galvora::testing {
namespace {

class HostileSettings : public GalleryTest {
protected:
    void SetUp() override {
        GalleryTest::SetUp();
        outside = tmp.path() / "outside";
        write_file(outside / "keep.txt", "keep");
    }
    bool any_box_holds(const std::string& text) const {
        for (const auto& b : port.boxes)
            if (b.text.find(text) != std::string::npos) return true;
        return false;
    }
    fs::path outside;
};

TEST_F(HostileSettings, CleanUpSparesAChosenPictureFolderAlsoThroughALink) {
    set(kSetCloneDirclean, "1");
    add_directory("a", "", {"p1"});
    add_directory("b", "", {"p2"});
    fs::create_directory_symlink(base / "a", tmp.path() / "alink");
    for (const fs::path& root : {base / "a", tmp.path() / "alink"}) {
        port.boxes.clear();
        lauf_auftrag().cloneverzeichnis = root.string();
        erzeugung_durchfuehren();
        EXPECT_TRUE(any_box_holds("ist das Basisverzeichnis")) << root;
        EXPECT_TRUE(fs::exists(base / "a" / "p1.jpg")) << root;
    }
    // A folder of the output that holds no original is emptied as asked.
    port.boxes.clear();
    lauf_auftrag().cloneverzeichnis = (base / "web").string();
    write_file(base / "web" / "old.html", "old");
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_FALSE(fs::exists(base / "web" / "old.html"));
    EXPECT_TRUE(fs::exists(base / "web" / "a" / "p1.jpg"));
}

// A page name setting holding "/" (or "..") names a file in another folder:
// the run would write its pages outside the output, over files that are not
// the gallery's. Such a name is refused before anything is written.
TEST_F(HostileSettings, PageNamesWithAPathAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        int setting;
        const char* value;
        int32_t level;
    };
    const Case cases[] = {
        {kSetHtmlExtension, "html/../../../evil", 1},
        {kSetHtmlDefault, "../../evil", 0},
        {kSetHtmlIndexFilename, "../../evil", 1},
        {kSetHtmlFrameFilename, "sub/evil", 1},
    };
    add_directory(".", "", {"p1"});
    lauf_auftrag().verzeichnisse[0].name = ".";
    set(kSetGenerateIndex, "1");
    set(kSetGenerateFrame, "1");
    for (const Case& c : cases) {
        const std::string kept = setting_text(c.setting);
        set(c.setting, c.value);
        lauf_auftrag().auswertelevel = c.level;
        port.boxes.clear();
        erzeugung_durchfuehren();
        ASSERT_EQ(port.boxes.size(), 1u) << c.value;
        EXPECT_NE(port.boxes[0].text.find("Erlaubt ist ein Dateiname ohne Pfad"), std::string::npos);
        EXPECT_TRUE(tree_of(out).empty()) << c.value;
        set(c.setting, kept);
    }
    // The standard name names no page above level 0, so it stops nothing there.
    set(kSetHtmlDefault, "a/b");
    lauf_auftrag().auswertelevel = 1;
    port.boxes.clear();
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(HostileSettings, RenamedClonesStayFilesOfTheirCloneFolder) {
    set(kSetCloneRename, "1");
    set(kSetCloneRenameMask, "$");
    set(kSetCloneRenameFind, "p");
    set(kSetCloneRenameReplace, "../../../");
    add_directory("a", "", {"p1"});
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_EQ(lauf_auftrag().verzeichnisse[0].bilddateien[0]->CDateiname, ".._.._.._1");
    EXPECT_TRUE(fs::is_regular_file(out / "a" / ".._.._.._1.jpg"));
    EXPECT_TRUE(fs::is_regular_file(out / "html" / "a" / ".._.._.._1.html"));
    EXPECT_FALSE(fs::exists(tmp.path() / "1.jpg"));
}

TEST_F(HostileSettings, ScriptsWriteOnlyIntoTheOutputFolders) {
    fs::create_symlink(outside / "keep.txt", out / "link.txt");
    const std::string calls[] = {
        "write(\"" + (outside / "keep.txt").string() + "\", \"x\")",
        "write(\"" + (out / ".." / "outside" / "new.txt").string() + "\", \"x\")",
        "write(\"" + (out / "link.txt").string() + "\", @APPEND, \"x\")",
        "write(\"outside/relative.txt\", \"x\")",
    };
    std::string tmpl;
    for (const std::string& call : calls) tmpl += "{" + call + "}{ERRN_LAST}|";
    tmpl += "{write(\"" + (out / "html" / "notes.txt").string() + "\", \"inside\")}";
    set(kPicPic, tmpl);
    add_directory("a", "", {"p1"});
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_EQ(read_file(outside / "keep.txt"), "keep");
    EXPECT_FALSE(fs::exists(outside / "new.txt"));
    EXPECT_NE(page("a/p1.html").find("@error70|@error70|@error70|@error70|@true"), std::string::npos) << page("a/p1.html");
    EXPECT_EQ(read_file(out / "html" / "notes.txt"), "inside");
    // Scripts the program runs outside the run (the oracle while the folders
    // are read) are held to the same folders.
    EXPECT_FALSE(laufzustand().aktiv);
    EXPECT_FALSE(run_builtin_host().schreiben_erlaubt((outside / "keep.txt").string()));
    EXPECT_TRUE(run_builtin_host().schreiben_erlaubt((out / "html" / "more.txt").string()));
}

}  // namespace
}  // namespace galvora::testing
