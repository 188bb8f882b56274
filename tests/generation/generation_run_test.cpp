#include "generation/generation_run.h"

#include "generation/generation_test_support.h"
#include "generation/picture_scanner.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "profile/profiles.h"
#include "profile/text_stamp.h"
#include "script/compiler.h"

namespace galvora::testing {
namespace {

class GenerationRun : public GenerationTest {
protected:
    // A chosen directory below the base folder with JPEGs (name, width, height).
    void add_directory(const std::string& relative, const std::string& group,
                       const std::vector<std::tuple<std::string, int, int>>& pictures, int64_t node = -1) {
        Verzeichnissatz d;
        d.relativer_pfad = relative;
        d.name = fs::path(relative).filename().string();
        d.gruppe = group;
        d.baumknoten = node;
        fs::create_directories(base / relative);
        for (const auto& [name, w, h] : pictures) write_jpeg(base / relative / (name + ".jpg"), w, h);
        bilddateien_einlesen((base / relative).string(), {{"*.JPG", 6}}, false, d.bildanzahl, d.bilddateien,
                             d.bildbytes);
        lauf_auftrag().bildbytes_gesamt += d.bildbytes;
        lauf_auftrag().verzeichnisse.push_back(std::move(d));
    }

    std::vector<std::string> clone_names(size_t directory) const {
        std::vector<std::string> names;
        for (const auto& r : lauf_auftrag().verzeichnisse.at(directory).bilddateien)
            names.push_back(r->CDateiname + "." + r->CDateiart + "|" + r->TDateiname + "." + r->TDateiart);
        return names;
    }

    std::string text(const std::string& name) { return global(name)->als_text(); }
};

TEST_F(GenerationRun, EarlyExitsShowTheirMessageAndTouchNothingOnDisk) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string expected_start;
    };
    const Case cases[] = {
        {"stamp", [] {
             auto stamp = std::make_shared<CTextStamp>();
             stamp->Text("{ x = ; }");
             WorkingCloneEffects().add(stamp);
         },
         "Textstempel\r\nTextstamp\r\n\r\n"},
        {"template", [this] { set(150, "ok\n{ wrong ( }"); }, "HTML-Thumbnailseite\r\n"},
        {"index template though no index page", [this] { set(kSetGenerateIndex, "0"); set(130, "{ ( }"); },
         "HTML-Indexseite\r\n"},
        {"missing function", [] { ASSERT_EQ(uebersetze(0, 1, "modul_a", "function f() { return g(); }"), 0); },
         "ZantoScript-Funktion\r\ng\r\nnicht vorhanden.\r\n\r\nGerufen in Modul\r\nmodul_a"},
        {"no pictures per line", [this] { set(kSetThumbsPerLine, "0"); }, "Ungültiger Wert\r\nTHUMBS_PER_LINE = 0"},
        {"negative lines per page", [this] { set(kSetLinesPerPage, "-2"); }, "Ungültiger Wert\r\nLINES_PER_PAGE"},
        {"setting that is no number", [this] { set(kSetGenerateHtml, "yes"); }, "Fehler 13"},
        {"base folder gone", [this] { lauf_auftrag().basisverzeichnis = (tmp.path() / "gone").string(); },
         "Bei diesen Einstellungen ist kein Bild umzusetzen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        port.boxes.clear();
        set(kSetGenerateClones, "1");
        set(kSetCloneDirclean, "1");
        write_file(out / "old.html", "keep");
        add_directory("a", "", {{"p1", 8, 6}});
        const auto base_before = tree_of(base);
        c.arrange();
        erzeugung_durchfuehren();
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].text.rfind(c.expected_start, 0), 0u) << port.boxes[0].text;
        EXPECT_EQ(tree_of(out), std::vector<std::string>{"old.html"});
        EXPECT_EQ(tree_of(base), base_before);
        EXPECT_FALSE(run_port_.begun);
        EXPECT_FALSE(laufzustand().aktiv);
    }
}

TEST_F(GenerationRun, CompileErrorsCarryTheLine) {
    set(177, "Titel\n\n{ 1 + ; }");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_NE(port.boxes[0].text.find("3"), std::string::npos) << port.boxes[0].text;
}

TEST_F(GenerationRun, LiteralHeadStaysOutOfTheCompile) {
    set(149, "<meta {broken (>");
    set(kSetHtmlHeadDisable, "1");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_FALSE(zns()->fkt_oba.funktion_per_bezeichner("HTML_HEAD"));
    EXPECT_TRUE(zns()->fkt_oba.funktion_per_bezeichner("HTML_TITLE"));
    EXPECT_TRUE(fs::is_directory(out / "html"));
}

TEST_F(GenerationRun, TextStampFunctionsAreNumberedByListPosition) {
    auto first = std::make_shared<CTextStamp>();
    first->Text("erster");
    WorkingCloneEffects().add(std::make_shared<CTextStamp>());
    WorkingCloneEffects().add(first);
    set(kSetGenerateClones, "0");  // compiled all the same
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_TRUE(zns()->fkt_oba.funktion_per_bezeichner("_stamptext_1"));
    EXPECT_TRUE(zns()->fkt_oba.funktion_per_bezeichner("_stamptext_2"));
}

TEST_F(GenerationRun, OutputFolderThatCannotBeMadeStopsBeforeAnyPage) {
    const fs::path unreachable = tmp.path() / "missing" / "out";
    lauf_auftrag().cloneverzeichnis = unreachable.string();
    add_directory("a", "", {{"p1", 8, 6}});
    bool completed_with_pages = true;
    laufabschnitte().abschluss = [&](Laufzustand&, bool pages) { completed_with_pages = pages; };
    erzeugung_durchfuehren();
    laufabschnitte() = Laufabschnitte{};
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text,
              "Fehler 53\r\n\r\nThumbnail-Pfad\r\n" + (unreachable / "thumbs").string() + "\r\nkonnte nicht erzeugt werden");
    EXPECT_FALSE(fs::exists(tmp.path() / "missing"));
    EXPECT_FALSE(completed_with_pages);
}

TEST_F(GenerationRun, FolderNamesMayNotClimbOutOfTheOutput) {
    set(kSetThumbDirname, "../escaped");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler 53\r\n\r\nThumbnail-Pfad", 0), 0u);
    EXPECT_FALSE(fs::exists(tmp.path() / "escaped"));
}

// The design empties the clone folder without a look at what it holds: with
// the originals inside, they would go with the old output. Such a clean-up
// is refused with a message, and the refusal stops the run: a gallery made
// over output that was to be emptied first would keep the pages and clones
// of pictures that are gone.
TEST_F(GenerationRun, CleanUpNeverEmptiesAFolderHoldingTheOriginals) {
    lauf_auftrag().cloneverzeichnis = tmp.path().string();  // the parent of the base folder
    set(kSetGenerateClones, "1");
    set(kSetCloneDirclean, "1");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("ist das Basisverzeichnis"), std::string::npos);
    EXPECT_TRUE(fs::exists(base / "a" / "p1.jpg"));
    EXPECT_FALSE(fs::exists(tmp.path() / "html"));
    EXPECT_FALSE(fs::exists(tmp.path() / "thumbs"));
    EXPECT_FALSE(fs::exists(tmp.path() / "a" / "p1.jpg"));
}

// A clean-up removes what the program wrote (its record names it), and a
// folder of its own once that leaves it empty; files someone else put into
// the output are not the program's to remove.
TEST_F(GenerationRun, CleanUpsRemoveWhatTheProgramWroteAndFoldersAreMadeAgain) {
    set(kSetGenerateClones, "1");
    const fs::path pool = tmp.path() / "program" / "decopool" / "standard";
    write_file(pool / "links.gif", "GIF89a");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    ASSERT_TRUE(fs::exists(out / "deco" / "links.gif"));
    write_file(out / "old" / "page.html", "x");
    write_file(out / "thumbs" / "old.jpg", "x");
    fs::remove(pool / "links.gif");
    write_file(pool / "rechts.gif", "GIF89a");
    set(kSetCloneDirclean, "1");
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(tree_of(out), (std::vector<std::string>{"deco", "deco/rechts.gif", "html", "old", "old/page.html",
                                                       "thumbs", "thumbs/old.jpg"}));
}

TEST_F(GenerationRun, DecorationIsNotOverwrittenWithoutCopyEver) {
    write_file(tmp.path() / "program" / "decopool" / "standard" / "links.gif", "new");
    write_file(tmp.path() / "program" / "decopool" / "standard" / "home.gif", "home");
    // A gallery of the version before, whose records it did not keep.
    write_file(out / "deco" / "links.gif", "old");
    fs::create_directories(out / "html");
    set(kSetDecoCopyEver, "0");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    EXPECT_EQ(read_file(out / "deco" / "links.gif"), "old");
    EXPECT_EQ(read_file(out / "deco" / "home.gif"), "home");
    set(kSetDecoCopyEver, "1");
    erzeugung_durchfuehren();
    EXPECT_EQ(read_file(out / "deco" / "links.gif"), "new");
}

TEST_F(GenerationRun, MissingDecorationSourceEndsTheRunsWork) {
    set(kSetDecoSource, "blue");
    add_directory("a", "", {{"p1", 8, 6}});
    bool loop_ran = false;
    laufabschnitte().verzeichnisschleife = [&](Laufzustand&) { loop_ran = true; };
    erzeugung_durchfuehren();
    laufabschnitte() = Laufabschnitte{};
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler 53\r\n\r\nDie Deco-Datei\r\n" + (out / "deco").string() + "/\r\n", 0), 0u)
        << port.boxes[0].text;
    EXPECT_FALSE(loop_ran);
}

TEST_F(GenerationRun, LinkPrefixesFollowTheDirectoryLevel) {
    struct Case {
        int level;
        const char* thumb;
        const char* picture;
        const char* picture_to_thumb;
        const char* deco_ref;
    };
    const Case cases[] = {
        {0, "../", "../", "", "../deco"},
        {1, "../", "../../", "../", "../deco"},
        {2, "../../", "../../../", "../", "../../deco"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        lauf_auftrag().auswertelevel = c.level;
        if (lauf_auftrag().verzeichnisse.empty()) add_directory("g/a", "g", {{"p1", 8, 6}});
        erzeugung_durchfuehren();
        for (const auto& b : port.boxes) ADD_FAILURE() << b.text;
        const Laufzustand& run = laufzustand();
        EXPECT_EQ(run.ThumbseitenPraefix, c.thumb);
        EXPECT_EQ(run.BildseitenPraefix, c.picture);
        EXPECT_EQ(run.BildZuThumbPraefix, c.picture_to_thumb);
        EXPECT_EQ(text("deco_ref"), c.deco_ref);
    }
}

TEST_F(GenerationRun, PicturesAreSortedByTheProfileOnlyWithHtml) {
    add_directory("a", "", {{"b10", 30, 10}, {"B2", 10, 50}, {"a1", 20, 20}});
    // Sizes in bytes follow the pixel count closely enough for these three.
    struct Case {
        const char* html;
        const char* kind;
        const char* direction;
        std::vector<std::string> order;
    };
    const std::vector<Case> cases = {
        {"1", "1", "0", {"a1", "b10", "B2"}},
        {"1", "1", "1", {"B2", "b10", "a1"}},
        {"1", "7", "0", {"a1", "B2", "b10"}},
        {"1", "4", "1", {"B2", "b10", "a1"}},
        {"0", "5", "1", {"a1", "b10", "B2"}},  // without HTML: by name, ascending
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + "/" + c.direction);
        set(kSetGenerateHtml, c.html);
        set(kSetThumbSortierung, c.kind);
        set(kSetThumbSortierrichtung, c.direction);
        erzeugung_durchfuehren();
        std::vector<std::string> order;
        for (const auto& r : lauf_auftrag().verzeichnisse[0].bilddateien) order.push_back(r->ODateiname);
        EXPECT_EQ(order, c.order);
    }
}

TEST_F(GenerationRun, RenameNumberingStartsAgainInEveryDirectory) {
    set(kSetGenerateClones, "1");
    set(kSetCloneRename, "1");
    set(kSetCloneRenameDigits, "2");
    add_directory("a", "", {{"x", 8, 6}, {"y", 8, 6}});
    add_directory("b", "", {{"z", 8, 6}});
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(clone_names(0), (std::vector<std::string>{"clone_01.jpg|clone_01.jpg", "clone_02.jpg|clone_02.jpg"}));
    EXPECT_EQ(clone_names(1), (std::vector<std::string>{"clone_01.jpg|clone_01.jpg"}));
}

TEST_F(GenerationRun, ClonesKeepTheirFormatOrBecomeJpeg) {
    add_directory("a", "", {{"x", 8, 6}});
    lauf_auftrag().verzeichnisse[0].bilddateien[0]->ODateiart = "png";
    lauf_auftrag().verzeichnisse[0].bilddateien[0]->OBildtyp = 10;
    int32_t used = 0;
    WriteImage((base / "a" / "x.png").string(), 10, PictureBuffer::allocate(8, 6), 80, 0, false, 1, used);
    struct Case {
        const char* clones;
        const char* convert;
        std::string names;
        int32_t type;
    };
    const Case cases[] = {
        {"0", "1", "x.png|x.jpg", 10},
        {"1", "1", "x.jpg|x.jpg", 6},
        {"1", "0", "x.png|x.jpg", 10},
    };
    for (const Case& c : cases) {
        set(kSetGenerateClones, c.clones);
        set(kSetCloneConvert, c.convert);
        erzeugung_durchfuehren();
        EXPECT_EQ(clone_names(0), std::vector<std::string>{c.names});
        EXPECT_EQ(lauf_auftrag().verzeichnisse[0].bilddateien[0]->CBildtyp, c.type);
    }
}

TEST_F(GenerationRun, RunVariablesOfASmallTree) {
    lauf_auftrag().auswertelevel = 2;
    lauf_auftrag().basis_verzeichnisanzahl = 4;
    lauf_auftrag().basis_bildanzahl = 9;
    set(kSetGenerateIndex, "1");
    set(kSetHtmlIndexInBasedir, "1");
    set(kSetHtmlSplit, "1");
    set(kSetSplitDigits, "2");
    set(kSetThumbSelectedSide, "4");
    set(kSetThumbWidth, "160");
    set(kSetThumbHeight, "120");
    add_directory("2004/urlaub x", "2004", {{"a", 8, 6}});
    std::vector<std::tuple<std::string, int, int>> many;
    for (int i = 0; i < 41; ++i) many.emplace_back("p" + std::to_string(i), 4, 4);
    add_directory("2005/fest", "2005", many);
    ASSERT_EQ(uebersetze(0, 1, "m",
                         "function _init() { global seen_first, seen_profile, first_doc, profile; seen_first = first_doc; "
                         "seen_profile = profile; \"discarded\"; }"),
              0);
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];

    EXPECT_EQ(text("profile"), aktuelles_profil()->Name());
    EXPECT_EQ(global("count_base_all_path")->als_integer(), 4);
    EXPECT_EQ(global("count_base_all_files")->als_integer(), 9);
    EXPECT_EQ(global("count_all_path")->als_integer(), 2);
    EXPECT_EQ(global("count_all_files")->als_integer(), 42);
    EXPECT_EQ(global("size_byte_all")->als_integer(), lauf_auftrag().bildbytes_gesamt);
    EXPECT_EQ(global("size_byte_all_original")->als_integer(), lauf_auftrag().bildbytes_gesamt);
    EXPECT_EQ(global("thumb_dim")->als_integer(), 160);
    EXPECT_EQ(text("base_absolute"), base.string());
    EXPECT_EQ(text("clone_absolute"), out.string());
    EXPECT_EQ(text("galvora_absolute"), (tmp.path() / "program").string());
    EXPECT_EQ(text("file_prefix"), "");  // only at level 0
    EXPECT_EQ(laufzustand().Indexverweis, "../../index.html");
    EXPECT_EQ(laufzustand().up_slot, kSetHtmlUp);
    EXPECT_EQ(text("first_doc"), "urlaub x-01");
    EXPECT_EQ(text("last_doc"), "fest-03");  // 41 pictures at 5 x 4 per page
    // URL-encoded like every other reference: a blank or an umlaut taken
    // into a link as it stands breaks the link in a browser.
    EXPECT_EQ(text("first_ref"), "../2004/urlaub%20x-01.html");
    EXPECT_EQ(text("last_ref"), "../2005/fest-03.html");
    EXPECT_EQ(text("first_page_doc"), "");
    // _init saw this run's profile but the page references from before the
    // run (none yet), and its output went nowhere.
    EXPECT_EQ(text("errs_last"), "");
    EXPECT_EQ(text("seen_first"), "");
    EXPECT_EQ(text("seen_profile"), aktuelles_profil()->Name());
    for (const auto& entry : tree_of(out)) {
        if (fs::is_regular_file(out / entry)) {
            EXPECT_EQ(read_file(out / entry).find("discarded"), std::string::npos);
        }
    }
    // The next run's _init sees the references the first run left.
    erzeugung_durchfuehren();
    EXPECT_EQ(text("seen_first"), "urlaub x-01");
}

TEST_F(GenerationRun, LevelZeroNamesThePagesAfterTheDefault) {
    set(kSetHtmlSplit, "1");
    add_directory(".", "", {{"a", 8, 6}});
    lauf_auftrag().verzeichnisse[0].name = ".";
    erzeugung_durchfuehren();
    EXPECT_EQ(text("file_prefix"), "default");
    EXPECT_EQ(text("first_doc"), "default-1");
    EXPECT_EQ(text("last_doc"), "default-1");
    EXPECT_EQ(laufzustand().Indexverweis, "");
    EXPECT_EQ(laufzustand().up_slot, 0);
}

TEST_F(GenerationRun, PictureObjectTakesTheProfilesSettings) {
    set(kSetGenerateClones, "1");
    set(kSetCloneMaxsize, "1");
    set(kSetCloneMaxsizeBytes, "50000");
    set(kSetCloneTifCompmode, "2");
    set(kSetCloneSelectedSide, "4");
    set(kSetThumbSize, "77");
    RecordingPicture p;
    Bildkonfiguration c = bildobjekt_konfigurieren(p, WorkingCloneEffects());
    EXPECT_TRUE(p.clonen);
    EXPECT_EQ(p.clone_max_size, 50000);
    EXPECT_EQ(p.clone_qualitaet, 25);  // CLONE_MINQUALITY, not CLONE_QUALITY
    EXPECT_EQ(p.tif_komprimierung, 8);
    EXPECT_EQ(p.clone_seitenwahl, 4);
    EXPECT_EQ(p.clone_filter, -2);
    EXPECT_FALSE(p.stempeln);
    EXPECT_EQ(p.effekte, &WorkingCloneEffects());
    EXPECT_TRUE(p.thumbs);
    EXPECT_EQ(p.thumb_ausdehnung, 77);
    EXPECT_EQ(p.rahmenfarbe, 16777215);
    EXPECT_FALSE(c.format_behalten);
    EXPECT_FALSE(c.umbenennung.an);

    // Compression code 3 keeps what the object had; without thumbnails their
    // settings are not read at all.
    set(kSetCloneTifCompmode, "3");
    set(kSetThumbnails, "0");
    set(kSetThumbSize, "not a number");
    set(kSetCloneConvert, "0");
    WorkingCloneEffects().add(std::make_shared<CTextStamp>());
    RecordingPicture q;
    q.tif_komprimierung = 42;
    c = bildobjekt_konfigurieren(q, WorkingCloneEffects());
    EXPECT_EQ(q.tif_komprimierung, 42);
    EXPECT_FALSE(q.thumbs);
    EXPECT_EQ(q.thumb_ausdehnung, 0);
    EXPECT_TRUE(q.stempeln);
    EXPECT_TRUE(c.format_behalten);
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

class GenerationRunFailures : public GenerationRun {};

// A thumbnail folder that is a link out of the output is refused with a
// message: nothing is emptied or written there.
TEST_F(GenerationRunFailures, ThumbnailFolderLeadingOutOfTheOutputIsRefused) {
    write_file(tmp.path() / "elsewhere" / "precious.txt", "keep");
    fs::create_directory_symlink(tmp.path() / "elsewhere", out / "thumbs");
    set(kSetThumbdirClean, "1");
    add_directory("a", "", {{"p1", 8, 6}});
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("symbolischen Link"), std::string::npos) << port.boxes[0].text;
    EXPECT_EQ(read_file(tmp.path() / "elsewhere" / "precious.txt"), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path() / "elsewhere"), fs::directory_iterator{}), 1);
}

TEST_F(GenerationRunFailures, ASettingThatIsNoNumberLaterOnEndsWithTheStatistics) {
    set(kSetThumbSortierung, "by name");
    add_directory("a", "", {{"p1", 8, 6}});
    int completions = 0;
    bool with_pages = true;
    bool loop_ran = false;
    laufabschnitte().verzeichnisschleife = [&](Laufzustand&) { loop_ran = true; };
    laufabschnitte().abschluss = [&](Laufzustand&, bool pages) {
        ++completions;
        with_pages = pages;
    };
    erzeugung_durchfuehren();
    laufabschnitte() = Laufabschnitte{};
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("THUMB_SORTIERUNG"), std::string::npos) << port.boxes[0].text;
    EXPECT_FALSE(loop_ran);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(with_pages);
    EXPECT_FALSE(laufzustand().aktiv);
}

TEST_F(GenerationRunFailures, ACompletionThatFailsIsReportedOnce) {
    add_directory("a", "", {{"p1", 8, 6}});
    int completions = 0;
    laufabschnitte().abschluss = [&](Laufzustand&, bool) {
        ++completions;
        throw GalvoraError(75, "indexseite_schreiben", "Path/File access error");
    };
    erzeugung_durchfuehren();
    laufabschnitte() = Laufabschnitte{};
    EXPECT_EQ(completions, 1);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler 75", 0), 0u);
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(GenerationRunFailures, APictureThatCannotBeMeasuredIsLeftOutOfTheRun) {
    add_directory("a", "", {{"big", 30, 20}, {"small", 10, 5}});
    write_file(base / "a" / "broken.jpg", "not a picture");
    Verzeichnissatz& d = lauf_auftrag().verzeichnisse[0];
    bilddateien_einlesen((base / "a").string(), {{"*.JPG", 6}}, false, d.bildanzahl, d.bilddateien, d.bildbytes);
    lauf_auftrag().bildbytes_gesamt = d.bildbytes;
    const int64_t broken_bytes = static_cast<int64_t>(fs::file_size(base / "a" / "broken.jpg"));
    set(kSetThumbSortierung, "4");
    erzeugung_durchfuehren();
    // The window program asks about it; OK leaves it out and goes on.
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Image-Error ", 0), 0u);
    EXPECT_NE(port.boxes[0].text.find((base / "a" / "broken.jpg").string()), std::string::npos);
    std::vector<std::string> order;
    for (const auto& r : d.bilddateien) order.push_back(r->ODateiname);
    EXPECT_EQ(order, (std::vector<std::string>{"small", "big"}));
    EXPECT_EQ(d.bildanzahl, 2);
    EXPECT_EQ(laufzustand().BilderGesamt, 2);
    EXPECT_EQ(laufzustand().FehlerhafteBilder, 1);
    EXPECT_EQ(lauf_auftrag().bildbytes_gesamt + broken_bytes,
              static_cast<int64_t>(fs::file_size(base / "a" / "big.jpg") + fs::file_size(base / "a" / "small.jpg") +
                                   static_cast<uintmax_t>(broken_bytes)));
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(GenerationRun, OutputFoldersFollowTheSwitches) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, const char*>> settings;
        std::vector<std::string> tree;
    };
    write_file(tmp.path() / "program" / "decopool" / "standard" / "home.gif", "GIF89a");
    const Case cases[] = {
        {"no clones: the output root is not emptied",
         {{kSetGenerateClones, "0"}, {kSetCloneDirclean, "1"}},
         {"deco", "deco/home.gif", "html", "old.txt", "thumbs"}},
        {"no thumbnails: no thumbnail folder, even with its clean-up",
         {{kSetThumbnails, "0"}, {kSetThumbdirClean, "1"}},
         {"deco", "deco/home.gif", "html", "old.txt"}},
        {"no HTML: no HTML folder and no decoration",
         {{kSetGenerateHtml, "0"}, {kSetDecoCopy, "1"}},
         {"old.txt", "thumbs"}},
        {"HTML without decoration copy", {{kSetDecoCopy, "0"}}, {"html", "old.txt", "thumbs"}},
    };
    add_directory("a", "", {{"p1", 8, 6}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Profileinstellungen() = geladene_Profileinstellungen();
        fs::remove_all(out);
        write_file(out / "old.txt", "x");
        for (const auto& [index, value] : c.settings) set(index, value);
        erzeugung_durchfuehren();
        EXPECT_TRUE(port.boxes.empty());
        EXPECT_EQ(tree_of(out), c.tree);
    }
}

}  // namespace
}  // namespace galvora::testing
