#include "generation/gallery_test_support.h"
#include "generation/directory_loop.h"
#include "generation/page_file.h"
#include "generation/picture_pages.h"
#include "script/compiler.h"

namespace galvora::testing {
namespace {

class GalleryPages : public GalleryTest {
protected:
    // Small templates that show the structure of the pages.
    void plain_picture_templates() {
        set(kSetHtmlDoctype, "<!DOCTYPE html>");
        set(kSetHtmlHtml, "lang=\"de\"");
        set(176, "H");
        set(177, "T{doc}");
        set(178, "");
        set(179, "PB");
        set(180, "[");
        set(184, "<{prev_doc}>");
        set(185, "^{up_doc}");
        set(186, "<{next_doc}>");
        set(190, "]");
        set(191, "pre");
        set(192, "{pic_ref}|{index_ref}");
        set(193, "post");
        set(194, "foot");
        set(kSetHtmlBildPrintDate, "0");
    }
};

TEST_F(GalleryPages, PicturePageIsWrittenByteForByte) {
    plain_picture_templates();
    set(kSetGenerateIndex, "1");
    add_directory("d", "", {"a", "b", "c"});
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_EQ(page("d/b.html"),
              "<!DOCTYPE html>\r\n<html lang=\"de\">\r\n<head>\r\nH\r\n<title>Tb</title>\r\n</head>\r\n<body>\r\n"
              "PB[<a>^d<c>]\r\n\r\npre\r\n../../d/b.jpg|../index.html\r\npost\r\nfoot\r\n</body>\r\n</html>\r\n");
    // The head written as text keeps its braces.
    set(kSetHtmlBildHeadDisable, "1");
    set(176, "{ no script }");
    erzeugung_durchfuehren();
    EXPECT_NE(page("d/a.html").find("<head>\r\n{ no script }\r\n\r\n<title>"), std::string::npos);
}

// A directory without pictures (its pictures could not be read) stays in the
// run: it counts, its node turns as every other's, and _initpath runs for it.
// It gets no thumbnail page, so the first and last page references and the
// index page (also when it lists only first pages) pass over it.
TEST_F(GalleryPages, DirectoriesWithoutPicturesStayInTheRunWithoutPages) {
    set(kSetGenerateIndex, "1");
    set(kSetHtmlIndexFirstThumbpage, "1");
    set(kSetHtmlThumbFooter, "{first_doc}|{last_doc}|{first_ref}|{last_ref}");
    add_directory("empty first", "", {});
    add_directory("a", "", {"x"});
    add_directory("empty", "", {});
    add_directory("b", "", {"y", "z"});
    add_directory("empty last", "", {});
    for (size_t i = 0; i < lauf_auftrag().verzeichnisse.size(); ++i)
        lauf_auftrag().verzeichnisse[i].baumknoten = static_cast<int64_t>(10 + i);
    ASSERT_EQ(uebersetze(0, 1, "m",
                         "function _init() { global seen; seen = \"\"; } "
                         "function _initpath() { global seen, path, count_cur_path, count_files, count_all_path; "
                         "seen = seen + path + \"=\" + count_cur_path + \"/\" + count_files + \"/\" + "
                         "count_all_path + \";\"; }"),
              0);
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    ASSERT_EQ(lauf_auftrag().verzeichnisse.size(), 5u);
    EXPECT_EQ(global("seen")->als_text(), "empty first=1/0/5;a=2/1/5;empty=3/0/5;b=4/2/5;empty last=5/0/5;");
    EXPECT_EQ(global("count_all_files")->als_integer(), 3);
    EXPECT_EQ(run_port_.maximum, 3);
    for (int64_t node = 10; node < 15; ++node) {
        for (const char* image : {"checked_rot", "checked_gelb", "checked_grün", "checked_alle"}) {
            const std::pair<int64_t, std::string> expected{node, image};
            EXPECT_NE(std::find(run_port_.node_images.begin(), run_port_.node_images.end(), expected),
                      run_port_.node_images.end())
                << node << " " << image;
        }
    }
    EXPECT_NE(page("a.html").find("a|b|a.html|b.html"), std::string::npos) << page("a.html");
    for (const char* name : {"empty first.html", "empty.html", "empty last.html"})
        EXPECT_FALSE(fs::exists(out / "html" / name)) << name;
    EXPECT_EQ(page("index.html").find("empty"), std::string::npos) << page("index.html");
    EXPECT_NE(page("index.html").find("b.html"), std::string::npos) << page("index.html");
    EXPECT_EQ(broken_references(out), std::vector<std::string>{});
}

TEST_F(GalleryPages, PicturePagesLinkTheRunsAndTheDirectorysEnds) {
    set(192, "{first_doc}|{last_doc}|{first_ref}|{last_ref}|{first_path_doc}|{last_path_doc}");
    add_directory("leer", "", {});
    add_directory("a", "", {"a1", "a2"});
    add_directory("b b", "", {"b1"});
    add_directory("c", "", {"c1", "c2", "c3"});
    add_directory("zuletzt leer", "", {});
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    // Every page of the run, whichever directory it lies in, names the same
    // first and last picture; the directory's own ends follow the page.
    const std::pair<std::string, std::string> cases[] = {
        {"a/a1.html", "a1|c3|../a/a1.html|../c/c3.html|a1|a2"},
        {"a/a2.html", "a1|c3|../a/a1.html|../c/c3.html|a1|a2"},
        {"b b/b1.html", "a1|c3|../a/a1.html|../c/c3.html|b1|b1"},
        {"c/c2.html", "a1|c3|../a/a1.html|../c/c3.html|c1|c3"},
    };
    for (const auto& [file, line] : cases) {
        SCOPED_TRACE(file);
        EXPECT_NE(page(file).find("\r\n" + line + "\r\n"), std::string::npos) << page(file);
    }
}

TEST_F(GalleryPages, RunWidePictureNumbersFollowTheCollectedOrder) {
    set(kSetGeneratePicpage, "0");
    set(kSetThumbSortierrichtung, "1");
    for (int cell_frame : {165, 166, 169, 170}) set(cell_frame, "");
    set(168, "[{imageinfo(0, count_cur_all_files, @FILENAME)}={file}]");
    add_directory("leer", "", {});
    add_directory("a", "", {"a1", "a2", "a3"});
    add_directory("b", "", {"b1", "b2"});
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    // Each cell finds its own picture through the run-wide number, in the
    // descending order the run gave the pictures.
    EXPECT_NE(page("a.html").find("[a3=a3][a2=a2][a1=a1]"), std::string::npos) << page("a.html");
    EXPECT_NE(page("b.html").find("[b2=b2][b1=b1]"), std::string::npos) << page("b.html");
}

TEST(PictureRunEnds, FirstAndLastDirectoryWithPictures) {
    auto directory = [](int32_t count, int32_t listed) {
        Verzeichnissatz d;
        d.bildanzahl = count;
        d.bilddateien.resize(static_cast<size_t>(listed));
        return d;
    };
    struct Case {
        std::vector<Verzeichnissatz> directories;
        int first;  // 1-based, 0 for none
        int last;
    };
    std::vector<Case> cases;
    cases.push_back({{}, 0, 0});
    cases.push_back({{directory(0, 0), directory(2, 2), directory(0, 0), directory(1, 1), directory(0, 0)}, 2, 4});
    cases.push_back({{directory(3, 3)}, 1, 1});
    // A count the list does not back up holds no picture.
    cases.push_back({{directory(2, 0), directory(1, 1), directory(4, 0)}, 2, 2});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directories.size());
        const Laufgrenzen ends = laufgrenzen(c.directories);
        auto position = [&](const Verzeichnissatz* d) {
            return d == nullptr ? 0 : static_cast<int>(d - c.directories.data()) + 1;
        };
        EXPECT_EQ(position(ends.erstes), c.first);
        EXPECT_EQ(position(ends.letztes), c.last);
    }
}

TEST_F(GalleryPages, ThumbnailPagesSplitIntoNumberedPages) {
    set(kSetGeneratePicpage, "0");
    set(kSetHtmlSplit, "1");
    set(166, "<td>");
    set(168, "{count_page_files}/{count_pages}");
    add_directory("urlaub", "", numbered("p", 23));
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    const std::string first = page("urlaub-1.html");
    const std::string second = page("urlaub-2.html");
    EXPECT_EQ(occurrences(first, "<td>"), 20u);
    EXPECT_EQ(occurrences(first, "<tr>"), 5u);
    EXPECT_EQ(occurrences(first, "20/2"), 20u);
    // The last page holds the rest in one row and adds no empty cells.
    EXPECT_EQ(occurrences(second, "<td>"), 3u);
    EXPECT_EQ(occurrences(second, "<tr>"), 1u);
    EXPECT_EQ(occurrences(second, "3/2"), 3u);
    EXPECT_EQ(lauf_auftrag().verzeichnisse[0].seitenanzahl, 2);
    EXPECT_EQ(laufzustand().Seitenzaehler, 2);
    // The first thumbnail page is the one the browser opens without index or frame.
    EXPECT_EQ(opened, std::vector<std::string>{(out / "html" / "urlaub-1.html").string()});

    set(kSetHtmlSplit, "0");
    erzeugung_durchfuehren();
    EXPECT_EQ(occurrences(page("urlaub.html"), "<td>"), 23u);
    EXPECT_EQ(occurrences(page("urlaub.html"), "<tr>"), 6u);
}

TEST_F(GalleryPages, NavigationBarsFollowRefPos) {
    set(kSetGeneratePicpage, "0");
    set(153, "<nav>");
    set(kSetHtmlBildRefPos, "0");
    add_directory("a", "", {"p1"});
    for (const auto& [ref_pos, bars] : std::vector<std::pair<std::string, size_t>>{{"0", 0}, {"4", 1}, {"16", 1},
                                                                                   {"32", 1}, {"20", 2}, {"52", 3}}) {
        SCOPED_TRACE(ref_pos);
        set(kSetRefPos, ref_pos);
        erzeugung_durchfuehren();
        EXPECT_EQ(occurrences(page("a.html"), "<nav>"), bars);
    }
}

TEST_F(GalleryPages, IndexCountsEachDirectorysOwnPagesAndGroups) {
    set(kSetGeneratePicpage, "0");
    set(kSetGenerateIndex, "1");
    set(kSetHtmlIndexGroup, "1");
    set(130, "<table>");
    set(135, "{src_doc}:{count_pages}:{count_page_files}:{parent_path};");
    add_directory("g1/a", "g1", numbered("a", 3));
    add_directory("g1/b", "g1", numbered("b", 25));
    add_directory("g2/c", "g2", {"c1"});
    lauf_auftrag().auswertelevel = 2;
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    const std::string index = page("index.html");
    EXPECT_EQ(occurrences(index, "<table>"), 2u);
    EXPECT_NE(index.find("a:1:3:g1;"), std::string::npos) << index;
    EXPECT_NE(index.find("b:1:25:g1;"), std::string::npos) << index;
    EXPECT_NE(index.find("c:1:1:g2;"), std::string::npos) << index;
    EXPECT_TRUE(broken_references(out).empty());
    // The index page replaces the thumbnail page as the page to open.
    EXPECT_EQ(opened.back(), (out / "html" / "index.html").string());
}

// The design builds a picture page's index link from the prefix to the
// output root and the thumbnail page's own index link, one folder too far
// up, and in a level-2 gallery the links from a picture page to the pictures
// of the neighbouring directories climb one folder too few: links that reach
// no page. Here every link of every page, URL-encoded, leads to a file of
// the gallery.
TEST_F(GalleryPages, EveryReferenceReachesItsFileAtEachLevel) {
    for (int level : {0, 1, 2}) {
        for (const std::string order : {"1", "2", "3"}) {
            SCOPED_TRACE("level " + std::to_string(level) + " order " + order);
            TearDown();
            SetUp();
            set(kSetGenerateIndex, "1");
            set(kSetGenerateFrame, "1");
            set(146, "<frameset><frame src=\"{index_ref}\"></frameset>");
            set(kSetNavExtended, "1");
            set(kSetHtmlBildNavExtended, "1");
            set(kSetHtmlSplit, "1");
            set(kSetLinesPerPage, "1");
            set(kSetThumbsPerLine, "2");
            set(kSetRefPos, "52");
            set(kSetHtmlBildRefPos, "52");
            set(kSetHtmlVerweisfolge, order);
            set(kSetHtmlBildVerweisfolge, order);
            lauf_auftrag().auswertelevel = level;
            if (level == 0) {
                // A picture named like the thumbnail page keeps its own page.
                add_directory(".", "", {"default", "default-1", "Strand Tag 1", "Größe"});
            } else if (level == 1) {
                add_directory("Reise Süd", "", {"a b", "ä"});
                add_directory("leer", "", {});  // adds no page and no broken link
                add_directory("zwei", "", {"x", "y", "z"});
            } else {
                add_directory("Jahr 1/Reise Süd", "Jahr 1", {"a b", "ä", "c"});
                add_directory("Jahr 1/zwei", "Jahr 1", {"x"});
                add_directory("Ö/drei", "Ö", {"y", "z"});
            }
            erzeugung_durchfuehren();
            ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
            EXPECT_EQ(broken_references(out), std::vector<std::string>{});
            if (level == 0) {
                EXPECT_NE(page("default-1.html").find("<table"), std::string::npos);
                EXPECT_NE(page("default_pic.html").find("Galvora - default"), std::string::npos);
                EXPECT_NE(page("default-1_pic.html").find("Galvora - default-1"), std::string::npos);
            }
        }
    }
}

TEST_F(GalleryPages, UnchangedGalleryIsNotRewritten) {
    set(kSetHtmlChanged, "1");
    set(kSetGenerateIndex, "1");
    set(kSetCloneOnlyIfNewer, "1");
    add_directory("a", "", {"p1", "p2"});
    erzeugung_durchfuehren();
    ASSERT_TRUE(port.boxes.empty()) << box_texts()[0];
    EXPECT_EQ(laufzustand().Seitenzaehler, 4);
    std::map<std::string, fs::file_time_type> times;
    for (const auto& entry : fs::recursive_directory_iterator(out))
        if (entry.is_regular_file()) times[entry.path().string()] = entry.last_write_time();

    erzeugung_durchfuehren();
    EXPECT_EQ(laufzustand().Seitenzaehler, 0);
    EXPECT_EQ(laufzustand().Thumbzaehler, 0);
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().string();
        EXPECT_FALSE(path.ends_with("_")) << path;
        if (path.find("/deco/") != std::string::npos) continue;
        ASSERT_TRUE(times.count(path)) << path;
        EXPECT_EQ(entry.last_write_time(), times[path]) << path;
    }
}

// Cancels the run at the n-th time the loop yields.
struct CancellingPort : RecordingRunPort {
    int remaining = 0;
    void process_events() override {
        if (--remaining == 0) CancelRequested = true;
    }
};

// The design closes a thumbnail page cut off by a stop as it stands, without
// its table end and closing tags, and puts it in the place of the complete
// page of the run before. A cut-off page is thrown away instead: the page of
// the run before stays, and no temporary file is left.
TEST_F(GalleryPages, CancelledRunKeepsTheCompletePages) {
    set(kSetHtmlSplit, "1");
    set(kSetGenerateIndex, "1");
    add_directory("a", "", numbered("p", 6));
    for (const std::string changed : {"1", "0"}) {
        SCOPED_TRACE(changed);
        set(kSetHtmlChanged, changed);
        erzeugung_durchfuehren();
        const std::string complete = page("a-1.html");
        ASSERT_NE(complete.find("</html>"), std::string::npos);
        fs::remove(out / "html" / "index.html");

        CancellingPort cancelling;
        cancelling.remaining = 5;  // within the second picture
        set_run_port(&cancelling);
        erzeugung_durchfuehren();
        set_run_port(&run_port_);
        EXPECT_EQ(page("a-1.html"), complete);
        EXPECT_FALSE(fs::exists(out / "html" / "index.html"));
        for (const auto& entry : fs::recursive_directory_iterator(out))
            EXPECT_FALSE(entry.path().string().ends_with("_")) << entry.path();
        // The statistics still appear: they say that the run stopped and
        // count the pictures made before the stop, not every chosen one.
        ASSERT_FALSE(cancelling.texts.empty());
        const std::string& statistics = cancelling.texts.back();
        EXPECT_EQ(statistics.rfind("Der Lauf wurde vor seinem Ende angehalten.", 0), 0u) << statistics;
        const size_t counted = statistics.find(" Bilder wurden umgesetzt");
        ASSERT_NE(counted, std::string::npos) << statistics;
        const int made = std::stoi(statistics.substr(statistics.rfind('\n', counted) + 1));
        EXPECT_GE(made, 1) << statistics;
        EXPECT_LT(made, 6) << statistics;
        EXPECT_TRUE(opened.size() == (changed == "1" ? 1u : 2u));
        CancelRequested = false;
    }
}

TEST_F(GalleryPages, PicturesThatFailAreLeftOutNamedAndCounted) {
    // p2 is no picture at all and p5 a JPEG cut short: both are left out
    // before anything is planned. p4 is whole, but its data is damaged: it
    // fails only while it is made.
    write_file(base / "a" / "p2.jpg", "not a picture");
    write_jpeg(base / "a" / "p4.jpg", 64, 48);
    std::string whole = read_file(base / "a" / "p4.jpg");
    write_file(base / "a" / "p5.jpg", whole.substr(0, whole.size() - 40));
    whole.replace(whole.size() - 30, 16, std::string(16, '\xFF'));
    write_file(base / "a" / "p4.jpg", whole);
    add_directory("a", "", {"p1", "p3"});
    ASSERT_EQ(lauf_auftrag().verzeichnisse[0].bildanzahl, 5);

    batchmodus = true;
    erzeugung_durchfuehren();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_TRUE(batchmodus);
    EXPECT_TRUE(fs::exists(out / "html" / "a" / "p3.html"));
    for (const char* left_out : {"p2", "p5"}) {
        EXPECT_FALSE(fs::exists(out / "html" / "a" / (std::string(left_out) + ".html"))) << left_out;
        EXPECT_EQ(page("a.html").find(left_out), std::string::npos) << left_out;
    }
    EXPECT_EQ(laufzustand().Thumbzaehler, 2);
    EXPECT_EQ(laufzustand().FehlerhafteBilder, 3);
    EXPECT_EQ(laufzustand().BilderGesamt, 3);
    std::string named;
    for (const std::string& line : run_port_.lines)
        if (line.rfind("Image-Error ", 0) == 0) named += line + "\n";
    EXPECT_NE(named.find((base / "a" / "p2.jpg").string()), std::string::npos) << named;
    EXPECT_NE(named.find((base / "a" / "p4.jpg").string()), std::string::npos) << named;
    EXPECT_NE(named.find((base / "a" / "p5.jpg").string()), std::string::npos) << named;
    ASSERT_FALSE(run_port_.texts.empty());
    EXPECT_NE(run_port_.texts.back().find("2 Bilder wurden umgesetzt"), std::string::npos) << run_port_.texts.back();

    // The window program asks about each: the two left out before the run
    // plans its pages, then the one that failed while it was made.
    batchmodus = false;
    port.answer = ID_OK;
    auto again = [&] {
        port.boxes.clear();
        fs::remove_all(out / "html");
        lauf_auftrag().verzeichnisse.clear();
        add_directory("a", "", {"p1", "p3"});
        erzeugung_durchfuehren();
    };
    again();
    ASSERT_EQ(port.boxes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(port.boxes[i].text.rfind("Image-Error ", 0), 0u);
        EXPECT_NE(port.boxes[i].text.find(std::vector<std::string>{"p2.jpg", "p5.jpg", "p4.jpg"}[i]), std::string::npos)
            << port.boxes[i].text;
        EXPECT_EQ(port.boxes[i].style, MB_OKCANCEL_STYLE | MB_ICON_EXCLAMATION);
    }
    EXPECT_TRUE(fs::exists(out / "html" / "a" / "p3.html"));
    EXPECT_FALSE(fs::exists(out / "html" / "a" / "p2.html"));
    // Cancel at the first stops the run before it makes anything.
    port.answer = ID_CANCEL;
    again();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_NE(port.boxes[0].text.find("p2.jpg"), std::string::npos);
    EXPECT_FALSE(fs::exists(out / "html" / "a" / "p1.html"));
    EXPECT_FALSE(fs::exists(out / "html" / "a" / "p4.html"));
}

TEST_F(GalleryPages, PageThatCannotBeWrittenStopsTheRun) {
    set(kSetGeneratePicpage, "0");
    add_directory("a", "", {"p1"});
    add_directory("b", "", {"p2"});
    fs::create_directories(out / "html" / "b.html");  // the page's name is taken by a folder
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler ", 0), 0u);
    EXPECT_NE(port.boxes[0].text.find("HTML-Thumbnailseite"), std::string::npos);
    EXPECT_NE(port.boxes[0].text.find((out / "html" / "b.html").string()), std::string::npos);
    EXPECT_TRUE(schleifenzustand().abgebrochen);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

// A picture named like the thumbnail page or the index page would have its
// page written over that page (or the other way round), and a "/" in a name
// would put the page into another folder: such names get a page name of
// their own.
TEST_F(GalleryPages, PicturePageNamesStayClearOfOtherPages) {
    Verzeichnissatz d;
    for (const std::string name : {"default", "default-2", "index", "a/b", "Strand"}) {
        auto record = std::make_shared<ZNImageFile>();
        record->CDateiname = name;
        d.bilddateien.push_back(record);
    }
    d.bildanzahl = 5;
    laufzustand().ThumbseitenErzeugen = true;
    laufzustand().IndexErzeugen = true;
    struct Case {
        int level;
        const char* split;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {0, "1", {"default_pic", "default-2_pic", "index_pic", "a_b", "Strand"}},
        {0, "0", {"default_pic", "default-2", "index_pic", "a_b", "Strand"}},
        {1, "1", {"default", "default-2", "index", "a_b", "Strand"}},
    };
    for (const Case& c : cases) {
        lauf_auftrag().auswertelevel = c.level;
        set(kSetHtmlSplit, c.split);
        for (int32_t p = 1; p <= 5; ++p) EXPECT_EQ(bildseitenname(d, p), c.names[static_cast<size_t>(p) - 1]);
    }
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(GalleryPages, ErrorInsideAPageLeavesTheEarlierPage) {
    set(kSetGeneratePicpage, "0");
    add_directory("a", "", {"p1", "p2"});
    erzeugung_durchfuehren();
    const std::string complete = page("a.html");
    ASSERT_NE(complete.find("</html>"), std::string::npos);
    set(kSetRefPos, "oben");  // read once the page is open
    erzeugung_durchfuehren();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler 13", 0), 0u) << port.boxes[0].text;
    EXPECT_EQ(page("a.html"), complete);
    EXPECT_FALSE(fs::exists(out / "html" / "a.html_"));
    EXPECT_EQ(opened.size(), 1u);
}

}  // namespace
}  // namespace galvora::testing
