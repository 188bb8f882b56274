#include "generation/run_accessors.h"

#include "foundation/string_helpers.h"
#include "generation/generation_test_support.h"
#include "generation/run_builtin_host.h"
#include "generation/settings_access.h"
#include "image/current_image.h"
#include "image/image_file_record.h"
#include "script/compiler.h"
#include "script/output.h"

namespace galvora::testing {
namespace {

class RunAccessors : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        add("2004/urlaub", 3);
        add("leer", 0);
        add("ä b", 5);
        laufzustand().Wurzelpraefix = "../";
        laufzustand().HtmlEndung = ".html";
        laufzustand().BildseitenErzeugen = true;
    }

    void add(const std::string& path, int count) {
        Verzeichnissatz d;
        d.relativer_pfad = path;
        d.bildanzahl = count;
        for (int i = 1; i <= count; ++i) {
            auto r = std::make_shared<ZNImageFile>();
            r->CDateiname = utf8_substr(path, 0, 1) + "pic " + std::to_string(i);
            r->CDateiart = "jpg";
            r->CDatum = 45000.25;
            r->CBytes = 1000 + i;
            r->CDimX = 640;
            r->CDimY = 480;
            r->TDateiname = r->CDateiname;
            r->TDateiart = "jpg";
            r->TDimX = 120;
            r->TDimY = 90;
            d.bilddateien.push_back(r);
        }
        lauf_auftrag().verzeichnisse.push_back(std::move(d));
    }

    std::string info_text(int32_t d, int32_t p, int32_t selector) {
        ZNSVariable v;
        EXPECT_TRUE(bild_info(d, p, selector, v)) << d << "/" << p << "/" << selector;
        EXPECT_EQ(v.typ, TYP_STRING);
        return v.als_text();
    }
};

TEST_F(RunAccessors, DirectoryInfoGivesCountAndPathWithSlashes) {
    ZNSVariable v;
    ASSERT_TRUE(verzeichnis_info(1, 0, v));
    EXPECT_EQ(v.typ, TYP_INTEGER);
    EXPECT_EQ(v.als_integer(), 3);
    ASSERT_TRUE(verzeichnis_info(1, 1, v));
    EXPECT_EQ(v.als_text(), "2004/urlaub");
    ZNSVariable untouched;
    untouched.set_integer(-7);
    for (auto [n, selector] : {std::pair{0, 0}, {4, 0}, {-1, 1}, {1, 2}}) {
        EXPECT_FALSE(verzeichnis_info(n, selector, untouched));
    }
    EXPECT_EQ(untouched.als_integer(), -7);
}

TEST_F(RunAccessors, PictureNumberZeroCountsThroughAllDirectories) {
    EXPECT_EQ(info_text(0, 4, 4), "äpic 1");  // the first picture of the third directory
    EXPECT_EQ(info_text(0, 3, 4), "2pic 3");
    EXPECT_EQ(info_text(0, 8, 4), "äpic 5");
    ZNSVariable v;
    for (auto [d, p, s] : {std::tuple{0, 9, 4}, {0, 0, 4}, {2, 1, 4}, {1, 4, 4}, {4, 1, 4}, {-1, 1, 4}, {1, 1, 1},
                           {1, 1, 15}}) {
        EXPECT_FALSE(bild_info(d, p, s, v)) << d << "/" << p << "/" << s;
    }
}

TEST_F(RunAccessors, RunningTotalsFindTheSamePicturesAsTheWalk) {
    add("ende", 2);
    EXPECT_EQ(bildsummen(lauf_auftrag().verzeichnisse), (std::vector<int64_t>{3, 3, 8, 10}));
    // Every run-wide number, also those before the first and after the last
    // picture, as the walk over the directories answers it.
    auto answers = [] {
        std::vector<std::string> list;
        for (int32_t p = -1; p <= 12; ++p) {
            ZNSVariable v;
            list.push_back(bild_info(0, p, 4, v) ? v.als_text() : "-");
        }
        return list;
    };
    const std::vector<std::string> walked = answers();
    EXPECT_EQ(walked[5], "äpic 1");  // number 4: the empty directory between is passed over
    EXPECT_EQ(walked[11], "epic 2");
    EXPECT_EQ(walked[12], "-");
    laufzustand().aktiv = true;
    laufzustand().bildsummen = bildsummen(lauf_auftrag().verzeichnisse);
    EXPECT_EQ(answers(), walked);
    // Totals left from another directory list, or kept after the run, are not used.
    laufzustand().bildsummen = {1, 2, 3};
    EXPECT_EQ(answers(), walked);
    laufzustand().bildsummen = {1, 2, 3, 4};
    laufzustand().aktiv = false;
    EXPECT_EQ(answers(), walked);
}

// References are URL-encoded: a blank, "#" or an umlaut in a folder or
// picture name, taken into a link as it stands, breaks the link.
TEST_F(RunAccessors, SelectorsGiveTypedValuesAndEncodedReferences) {
    EXPECT_EQ(info_text(1, 2, 2), "../2004/urlaub/2pic%202.jpg");
    EXPECT_EQ(info_text(1, 2, 3), "../html/2004/urlaub/2pic%202.html");
    EXPECT_EQ(info_text(3, 1, 10), "../thumbs/%C3%A4%20b/%C3%A4pic%201.jpg");
    EXPECT_EQ(info_text(1, 1, 5), "jpg");
    EXPECT_EQ(info_text(1, 1, 11), "2pic 1");
    EXPECT_EQ(info_text(1, 1, 12), "jpg");
    struct Number {
        int32_t selector;
        int32_t value;
    };
    for (Number n : {Number{7, 1002}, {8, 640}, {9, 480}, {13, 120}, {14, 90}}) {
        ZNSVariable v;
        ASSERT_TRUE(bild_info(1, 2, n.selector, v));
        EXPECT_EQ(v.typ, TYP_INTEGER);
        EXPECT_EQ(v.als_integer(), n.value) << n.selector;
    }
    ZNSVariable date;
    ASSERT_TRUE(bild_info(1, 1, 6, date));
    EXPECT_EQ(date.typ, TYP_DATUM);
    EXPECT_EQ(date.als_double(), 45000.25);
}

TEST_F(RunAccessors, WithoutPicturePagesOrThumbnailTheReferenceIsEmpty) {
    laufzustand().BildseitenErzeugen = false;
    EXPECT_EQ(info_text(1, 1, 3), "");
    lauf_auftrag().verzeichnisse[0].bilddateien[0]->TDateiname.clear();
    EXPECT_EQ(info_text(1, 1, 10), "");
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(RunAccessors, TemplatesReachTheRunThroughTheBuiltinHost) {
    ASSERT_EQ(uebersetze(0, 0, "t", "{dirinfo(3, @DIRNAME)}|{dirinfo(1, @COUNT)}|{imageinfo(0, 4, @REF)}"), 0);
    ausgabe_puffer.clear();
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("t"));
    EXPECT_EQ(ausgabe_puffer, "ä b|3|../%C3%A4%20b/%C3%A4pic%201.jpg");
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

struct Surface : DrawingSurface {
    PictureBuffer buffer = PictureBuffer::allocate(2, 1);
    PictureBuffer& clone_buffer() override { return buffer; }
    void clone_turned(int32_t, int32_t) override {}
};

TEST(RunBuiltinHostDrawing, RotateTurnsClockwiseAndFillsReachTheCurrentPicture) {
    auto surface = std::make_shared<Surface>();
    surface->buffer.pixel(0, 0)[0] = 255;  // red on the left
    SetImage(surface);
    run_builtin_host().bild_drehen(1);
    ASSERT_EQ(surface->buffer.width(), 1);
    ASSERT_EQ(surface->buffer.height(), 2);
    EXPECT_EQ(surface->buffer.pixel(0, 0)[0], 255);  // a quarter clockwise puts the left edge on top
    run_builtin_host().bild_drehen(2);
    EXPECT_EQ(surface->buffer.pixel(0, 1)[0], 255);
    run_builtin_host().rechteck_fuellen(0x00FF00, 0, 0, -1, -1, 100);
    EXPECT_EQ(run_builtin_host().durchschnittsfarbe(), 0x00FF00);
    SetImage(nullptr);
}

}  // namespace
}  // namespace galvora::testing
