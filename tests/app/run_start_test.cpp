#include "app/run_start.h"

#include "app/app_test_support.h"
#include "app/main_window_view.h"
#include "app/selection_tree_build.h"
#include "generation/run_port.h"
#include "generation/settings_access.h"
#include "profile/script_modules.h"

namespace galvora::testing {
namespace {

constexpr int kSetClonePath = 53;
constexpr int kSetCloneAppendBasename = 54;

class RunStart : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // Nothing to make: only the preparation of the run is looked at here.
        set(kSetGenerateHtml, "0");
        set(kSetThumbnails, "0");
        window().basisverzeichnis = base.string();
        window().basisverzeichnis_tag = "base";
    }
    Startdialog& window() { return startdialog(); }
    // Starts a run and expects it to stop with exactly this message.
    void expect_stop(const std::string& text) {
        port.boxes.clear();
        aufbereitung_starten(window());
        ASSERT_EQ(port.boxes.size(), 1u) << text;
        EXPECT_EQ(port.boxes[0].text, text);
        EXPECT_FALSE(window().RunInProgress);
    }
    void build(int level) {
        DirectoryLevel = level;
        AuswahlBaumAufbauen(window(), level);
    }
};

TEST_F(RunStart, MaskTableTrimsAndDropsEmptyEntries) {
    struct Case {
        const char* filter;
        const char* jpg_ext;
        bool emf;
        std::vector<std::string> masks;
    };
    const Case cases[] = {
        {"*", "JPG", false, {"*.JPG"}},
        {"*", "JPG, JPEG", false, {"*.JPG", "*.JPEG"}},
        {" a* , ,b*", "JPG,,", false, {"a*.JPG", "b*.JPG"}},
        {"a*, b*", "", true, {"a*.EMF", "a*.WMF", "b*.EMF", "b*.WMF"}},
        {"", "JPG", false, {}},
    };
    for (const Case& c : cases) {
        set(kSetFilter, c.filter);
        set(kSetTypeExtensionFirst + 3, c.jpg_ext);  // JPG_EXT
        set(kSetTypeSwitchFirst + 1, c.emf ? "1" : "0");
        std::vector<std::string> masks;
        for (const ExtensionEntry& e : DateiendungenErmitteln()) masks.push_back(e.mask);
        EXPECT_EQ(masks, c.masks) << c.filter << " / " << c.jpg_ext;
    }
}

TEST_F(RunStart, CloneDirectoryFollowsTheSettings) {
    struct Case {
        const char* generate;
        const char* path;
        const char* append;
        std::string expected;
    };
    const std::string b = base.string();
    const Case cases[] = {
        {"0", "clones", "0", ""},
        {"1", "clones", "0", b + "/clones"},
        {"1", "clones", "1", b + "/clones/base"},
        {"1", "out/web", "0", b + "/out/web"},  // a relative path lies below the base directory
        {"1", "/srv/out", "0", "/srv/out"},
        {"1", "/srv/out", "1", "/srv/out/base"},
        {"1", "", "1", ""},
    };
    for (const Case& c : cases) {
        set(kSetGenerateClones, c.generate);
        set(kSetClonePath, c.path);
        set(kSetCloneAppendBasename, c.append);
        CloneverzeichnisEinstellen(window());
        EXPECT_EQ(window().cloneverzeichnis, c.expected) << c.path;
    }
}

TEST_F(RunStart, AFolderThatCannotBeMadeIsNamedInTheMessage) {
    write_jpeg(base / "1.jpg");
    build(0);
    set(kSetGenerateClones, "1");
    write_file(tmp.path() / "plain", "a file where a folder should be");
    const std::string blocked = (tmp.path() / "plain").string();
    window().cloneverzeichnis = blocked + "/clones/big";
    port.boxes.clear();
    aufbereitung_starten(window());
    ASSERT_EQ(port.boxes.size(), 1u);
    const std::string& text = port.boxes[0].text;
    EXPECT_NE(text.find("Clone-Verzeichnis\r\n" + blocked + "\r\nkonnte nicht erzeugt werden"), std::string::npos)
        << text;
    EXPECT_FALSE(window().RunInProgress);
}

// A plain text comparison would let "base/" pass; the run compares the
// folders the two paths name, because clones written into the base folder
// would replace the originals of the same name.
TEST_F(RunStart, CloneFolderEqualToTheBaseIsRefusedWhateverItsSpelling) {
    write_jpeg(base / "1.jpg");
    build(0);
    set(kSetGenerateClones, "1");
    fs::create_directory_symlink(base, tmp.path() / "link");
    for (const std::string& spelling :
         {base.string() + "/", base.string() + "/sub/..", base.string() + "/.", (tmp.path() / "link").string()}) {
        window().cloneverzeichnis = spelling;
        expect_stop(msg("ErrClonesDirIsBase", {spelling}));
        EXPECT_TRUE(lauf_auftrag().verzeichnisse.empty());
    }
    window().cloneverzeichnis = "";
    expect_stop(msg("ErrClonesMissingDir"));
}

TEST_F(RunStart, RenameChecksStopInOrder) {
    write_jpeg(base / "1.jpg");
    build(0);
    set(kSetGenerateClones, "1");
    window().cloneverzeichnis = (tmp.path() / "out").string();
    set(kSetCloneRename, "1");
    struct Case {
        const char* mask;
        const char* find;
        const char* replace;
        const char* key;
    };
    const Case cases[] = {
        {"", "", "", "ErrRenameClonesMaskMissing"},
        {"fixed", "", "", "ErrRenameClonesNotUnique"},
        {"a/#", "", "", "ErrRenameClonesNameInvalid"},
        {"clone_#", "a,b", "c", "ErrRenameClonesFindReplaceCount"},
    };
    for (const Case& c : cases) {
        set(kSetCloneRenameMask, c.mask);
        set(kSetCloneRenameFind, c.find);
        set(kSetCloneRenameReplace, c.replace);
        expect_stop(msg(c.key));
    }
}

TEST_F(RunStart, WalkMakesRecordsOfTickedDirectoriesAndCountsTheOthers) {
    write_jpeg(base / "a" / "1.jpg");
    write_jpeg(base / "a" / "2.jpg");
    write_jpeg(base / "b" / "1.jpg");
    write_jpeg(base / "c" / "1.jpg");
    build(1);
    window().baum.click(*window().baum.find("Kb"));
    aufbereitung_starten(window());
    EXPECT_TRUE(port.boxes.empty()) << (port.boxes.empty() ? "" : port.boxes[0].text);
    const LaufAuftrag& job = lauf_auftrag();
    ASSERT_EQ(job.verzeichnisse.size(), 2u);
    EXPECT_EQ(job.verzeichnisse[0].name, "a");
    EXPECT_EQ(job.verzeichnisse[0].relativer_pfad, "a");
    EXPECT_EQ(job.verzeichnisse[0].bildanzahl, 2);
    EXPECT_EQ(job.verzeichnisse[1].name, "c");
    EXPECT_EQ(job.verzeichnisse[1].baumknoten, window().baum.find("Kc")->id);
    EXPECT_EQ(job.basis_verzeichnisanzahl, 3);
    EXPECT_EQ(job.basis_bildanzahl, 4);
    EXPECT_GT(job.bildbytes_gesamt, 0);
    EXPECT_EQ(job.cloneverzeichnis, job.basisverzeichnis);
    EXPECT_EQ(job.loeschoption, 64);
}

TEST_F(RunStart, LevelTwoRecordsCarryTheirGroup) {
    write_jpeg(base / "g" / "x" / "1.jpg");
    write_jpeg(base / "g" / "1.jpg");  // pictures of a group itself are never processed
    build(2);
    aufbereitung_starten(window());
    const LaufAuftrag& job = lauf_auftrag();
    ASSERT_EQ(job.verzeichnisse.size(), 1u);
    EXPECT_EQ(job.verzeichnisse[0].relativer_pfad, "g/x");
    EXPECT_EQ(job.verzeichnisse[0].gruppe, "g");
    EXPECT_EQ(job.basis_bildanzahl, 1);
}

TEST_F(RunStart, NothingSelectedAndNothingToMake) {
    write_jpeg(base / "a" / "1.jpg");
    build(1);
    window().baum.click(*window().baum.top());
    expect_stop(msg("ErrNothingToDo"));

    set(kSetGenerateHtml, "1");
    for (int index : {kSetGenerateFrame, kSetGenerateIndex, kSetGenerateThumbpages, kSetGeneratePicpage}) set(index, "0");
    expect_stop(msg("ErrHTMLNothingToDo"));
}

TEST_F(RunStart, ModuleAndOracleErrorsStopTheRun) {
    write_jpeg(base / "1.jpg");
    build(0);
    ProfileModules().add("good", "function f() { return 1; }", kModuleNotCompiled);
    ProfileModules().add("bad", "function g( {", kModuleNotCompiled);
    aufbereitung_starten(window());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(ProfileModules().item("good")->status(), kModuleCompiled);
    EXPECT_EQ(ProfileModules().item("bad")->status(), kModuleCompileError);
    EXPECT_TRUE(lauf_auftrag().verzeichnisse.empty());

    ProfileModules().clear();
    port.boxes.clear();
    set(kSetImageOracle, " \r\n  \r\n");
    EXPECT_FALSE(orakel_gesetzt());
    set(kSetImageOracle, "_return_value = nosuchfunction();");
    EXPECT_TRUE(orakel_gesetzt());
    aufbereitung_starten(window());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_NE(port.boxes[0].text.find("nosuchfunction"), std::string::npos) << port.boxes[0].text;
    EXPECT_TRUE(lauf_auftrag().verzeichnisse.empty());
}

TEST_F(RunStart, APressDuringARunOnlyAsksItToStop) {
    window().RunInProgress = true;
    batchmodus = true;
    CancelRequested = false;
    aufbereitung_starten(window());
    EXPECT_TRUE(CancelRequested);
    EXPECT_FALSE(batchmodus);
    EXPECT_TRUE(window().RunInProgress);
    CancelRequested = false;
}

// What the window shows of a run: captured when the run lets it process its
// events, and the view's repaints.
struct LockWatch : RunPort {
    std::vector<std::string> buttons;
    std::vector<bool> menus;
    std::vector<bool> choosing;
    std::vector<int32_t> pointers;
    void process_events() override {
        const Startdialog& w = startdialog();
        buttons.push_back(w.ok_text);
        menus.push_back(w.menues_sichtbar);
        choosing.push_back(w.auswahl_aktiv);
        pointers.push_back(w.mauszeiger);
    }
};
struct RepaintCount : StartdialogAnsicht {
    int log_cleared = 0;
    int box_cleared = 0;
    void logging_leeren() override { ++log_cleared; }
    void kontrollbild_leeren() override { ++box_cleared; }
};

TEST_F(RunStart, TheWindowIsLockedWhileARunGoesAndIdleAfterIt) {
    write_jpeg(base / "a" / "one.jpg");
    build(1);
    window().basistitel = "Galvora - Voreinstellung";
    window().titel = "37% - Galvora - Voreinstellung";
    LockWatch watch;
    RepaintCount view;
    window().ansicht = &view;
    set_run_port(&watch);
    aufbereitung_starten(window());
    window().ansicht = nullptr;
    ASSERT_FALSE(watch.buttons.empty());
    EXPECT_EQ(watch.buttons.front(), "anhalten");
    EXPECT_FALSE(watch.menus.front());
    EXPECT_FALSE(watch.choosing.front());
    EXPECT_EQ(watch.pointers.front(), kZeigerSanduhr);
    EXPECT_EQ(view.log_cleared, 1);
    EXPECT_EQ(view.box_cleared, 1);
    // Idle again: the start word, the menus, the tree, the pointer, the caption.
    EXPECT_EQ(window().ok_text, "starten");
    EXPECT_TRUE(window().menues_sichtbar);
    EXPECT_TRUE(window().auswahl_aktiv);
    EXPECT_EQ(window().mauszeiger, kZeigerNormal);
    EXPECT_EQ(window().titel, "Galvora - Voreinstellung");
    EXPECT_FALSE(window().RunInProgress);
    EXPECT_EQ(window().gesamtfortschritt.Text(), "1 Verzeichnis mit 1 Bild");

    // A run stopped by a check goes back to idle the same way.
    port.boxes.clear();
    window().baum.clear();
    aufbereitung_starten(window());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrNothingToDo"));
    EXPECT_EQ(window().ok_text, "starten");
    EXPECT_TRUE(window().auswahl_aktiv);
    EXPECT_EQ(window().mauszeiger, kZeigerNormal);
}

}  // namespace
}  // namespace galvora::testing
