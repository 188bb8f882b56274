#include <clocale>

#include "generation/generation_test_support.h"
#include "generation/page_keys.h"
#include "generation/run_statistics.h"
#include "generation/thumbnail_pages.h"
#include "image/image_file_record.h"

namespace galvora::testing {
namespace {

Verzeichnissatz directory(const std::string& name, const std::string& group, int32_t pages_so_far) {
    Verzeichnissatz d;
    d.name = name;
    d.relativer_pfad = group.empty() ? name : group + "/" + name;
    d.gruppe = group;
    d.seitenanzahl = pages_so_far;
    d.bildanzahl = 1;
    d.bilddateien.push_back(std::make_shared<ZNImageFile>());
    return d;
}

Seitenplanregeln rules(int32_t level, bool split, const std::string& order) {
    Seitenplanregeln r;
    r.level = level;
    r.split = split;
    r.verweisfolge = order;
    r.maske = "0";
    r.endung = ".html";
    r.standardname = "default";
    return r;
}

TEST(PagePlan, TwentyThreePicturesMakeTwoPagesOnlyWhenSplit) {
    // 4 per line, 5 lines: 20 on the first page, 3 on the second.
    EXPECT_EQ(seitenanzahl(23, zeilen_pro_seite(23, 5, true), 4), 2);
    // Without splitting every directory gets one page, whatever its size.
    EXPECT_EQ(zeilen_pro_seite(23, 5, false), 24);
    EXPECT_EQ(seitenanzahl(23, zeilen_pro_seite(23, 5, false), 4), 1);
    EXPECT_EQ(seitenanzahl(200, zeilen_pro_seite(200, 5, false), 4), 1);
    EXPECT_EQ(seitenanzahl(20, 5, 4), 1);
    EXPECT_EQ(seitenanzahl(21, 5, 4), 2);
    EXPECT_EQ(seitenanzahl(0, 5, 4), 1);

    const std::vector<Verzeichnissatz> dirs{directory("urlaub", "", 0)};
    const Seitenverweise first = seitenverweise(dirs, 1, 1, 2, rules(1, true, "1"));
    EXPECT_EQ(first.name, "urlaub-1");
    EXPECT_EQ(first.prev_name, "");
    EXPECT_EQ(first.next_name, "urlaub-2");
    EXPECT_EQ(first.next_ref, "urlaub-2.html");
    EXPECT_EQ(first.path_first_slot, 0);
    EXPECT_EQ(first.path_last_slot, kThumbPathLast);
    const Seitenverweise second = seitenverweise(dirs, 1, 2, 2, rules(1, true, "1"));
    EXPECT_EQ(second.name, "urlaub-2");
    EXPECT_EQ(second.prev_ref, "urlaub-1.html");
    EXPECT_EQ(second.next_name, "");
    EXPECT_EQ(second.path_first_slot, kThumbPathFirst);
    EXPECT_EQ(second.path_last_slot, 0);
}

TEST(PagePlan, LinkOrdersBetweenPagesAndDirectories) {
    // Three directories; the middle one has three pages; the first ended on page 4.
    const std::vector<Verzeichnissatz> dirs{directory("a", "", 4), directory("urlaub", "", 0), directory("c", "", 0)};
    struct Case {
        std::string order;
        int32_t page;
        std::string prev, next;
        int32_t prev_number, next_number;
    };
    const Case cases[] = {
        {"1", 1, "a-4.html", "urlaub-2.html", 4, 2},
        {"1", 3, "urlaub-2.html", "c-1.html", 2, 1},
        {"2", 1, "urlaub-3.html", "urlaub-2.html", 3, 2},
        {"2", 3, "urlaub-2.html", "urlaub-1.html", 2, 1},
        {"3", 1, "", "urlaub-2.html", 0, 2},
        {"3", 3, "urlaub-2.html", "", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order + " page " + std::to_string(c.page));
        const Seitenverweise plan = seitenverweise(dirs, 2, c.page, 3, rules(1, true, c.order));
        EXPECT_EQ(plan.prev_ref, c.prev);
        EXPECT_EQ(plan.next_ref, c.next);
        EXPECT_EQ(plan.prev_nummer, c.prev_number);
        EXPECT_EQ(plan.next_nummer, c.next_number);
        // First and previous appear together, as do next and last.
        EXPECT_EQ(plan.prev_slot != 0, !c.prev.empty());
        EXPECT_EQ(plan.first_slot != 0, !c.prev.empty());
        EXPECT_EQ(plan.next_slot != 0, !c.next.empty());
        EXPECT_EQ(plan.last_slot != 0, !c.next.empty());
    }
    // Without splitting the order is not read: neighbours are the other directories.
    for (const std::string order : {"1", "2", "3"}) {
        const Seitenverweise plan = seitenverweise(dirs, 2, 1, 1, rules(1, false, order));
        EXPECT_EQ(plan.name, "urlaub");
        EXPECT_EQ(plan.prev_ref, "a.html");
        EXPECT_EQ(plan.next_ref, "c.html");
        EXPECT_EQ(plan.path_first_slot, kThumbPathFirst);
    }
}

TEST(PagePlan, LinksBetweenDirectoriesSkipEmptyOnes) {
    Verzeichnissatz empty = directory("leer", "", 0);
    empty.bildanzahl = 0;
    empty.bilddateien.clear();
    const std::vector<Verzeichnissatz> dirs{directory("a", "", 2), empty, directory("c", "", 0), empty};
    EXPECT_EQ(nachbarverzeichnis(dirs, 3, -1), 1u);
    EXPECT_EQ(nachbarverzeichnis(dirs, 3, 1), 0u);
    EXPECT_EQ(nachbarverzeichnis(dirs, 1, 1), 3u);
    EXPECT_EQ(seitenverweise(dirs, 3, 1, 1, rules(1, true, "1")).prev_ref, "a-2.html");
    EXPECT_EQ(seitenverweise(dirs, 3, 1, 1, rules(1, false, "1")).prev_ref, "a.html");
    EXPECT_EQ(seitenverweise(dirs, 3, 1, 1, rules(1, false, "1")).next_ref, "");
    EXPECT_EQ(seitenverweise(dirs, 1, 2, 2, rules(1, true, "1")).next_ref, "c-1.html");
}

TEST(PagePlan, GroupsAndUnsafeNamesAtLevelTwoAndTheDefaultNameAtLevelZero) {
    const std::vector<Verzeichnissatz> dirs{directory("Tag 1", "Reise", 2), directory("Größe", "Zürich", 0)};
    const Seitenverweise plan = seitenverweise(dirs, 2, 1, 1, rules(2, true, "1"));
    EXPECT_EQ(plan.name, "Größe-1");
    EXPECT_EQ(plan.prev_ref, "../Reise/Tag%201-2.html");
    const Seitenverweise back = seitenverweise(dirs, 1, 2, 2, rules(2, true, "1"));
    EXPECT_EQ(back.next_ref, "../Z%C3%BCrich/Gr%C3%B6%C3%9Fe-1.html");

    const std::vector<Verzeichnissatz> base{directory(".", "", 0)};
    Seitenplanregeln two_digits = rules(0, true, "2");
    two_digits.maske = "00";
    const Seitenverweise level0 = seitenverweise(base, 1, 1, 4, two_digits);
    EXPECT_EQ(level0.name, "default-01");
    EXPECT_EQ(level0.prev_ref, "default-04.html");
    EXPECT_EQ(seitenverweise(base, 1, 1, 1, rules(0, false, "1")).name, "default");
}

class RunStatistics : public GenerationTest {};

TEST_F(RunStatistics, TextsCarryTheRunsNumbers) {
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(sekunden_text(1234), "1.2");
    EXPECT_EQ(sekunden_text(49), "0.0");
    EXPECT_EQ(sekunden_text(1250), "1.3");
    EXPECT_EQ(zahl_gruppiert(0), "0");
    EXPECT_EQ(zahl_gruppiert(999), "999");
    EXPECT_EQ(zahl_gruppiert(1234567), "1,234,567");
    EXPECT_EQ(zahl_gruppiert(-1000), "-1,000");

    const std::string german =
        "%1 Sekunden Laufzeit%n%n%2 Verzeichnisse wurden umgesetzt%n%3 Bilder wurden umgesetzt%n%4 Bytes umfassen die "
        "umgesetzten Bilder%n%n%5 Clones wurden erstellt%n%6 Thumbnails wurden erstellt%n%7 HTML-Dateien wurden erstellt";
    Laufstatistik values;
    values.millisekunden = 61234;
    values.verzeichnisse = 3;
    values.bilder = 12;
    values.bytes = 5000000000;
    values.clones = 10;
    values.thumbnails = 11;
    values.seiten = 17;
    EXPECT_EQ(statistik_text(german, values),
              "61.2 Sekunden Laufzeit\r\n\r\n3 Verzeichnisse wurden umgesetzt\r\n12 Bilder wurden umgesetzt\r\n"
              "5,000,000,000 Bytes umfassen die umgesetzten Bilder\r\n\r\n10 Clones wurden erstellt\r\n11 Thumbnails "
              "wurden erstellt\r\n17 HTML-Dateien wurden erstellt");

    ZNImageFile record;
    record.ODateiname = "Strand Tag 1";
    record.ODatum = 45000.5;  // 15.03.2023 12:00
    record.ODimX = 4000;
    record.ODimY = 3000;
    record.OBytes = 2345678;
    EXPECT_EQ(bildprotokoll_text("%1%n%2%n%3 Pixel%n%4 Bytes", record),
              "Strand Tag 1\r\n15.03.2023 12:00:00\r\n4000 x 3000 Pixel\r\n2,345,678 Bytes");
}

}  // namespace
}  // namespace galvora::testing
