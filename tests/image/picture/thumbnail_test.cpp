// The thumbnail half of the picture object's processing step and the preview.
#include <filesystem>
#include <vector>

#include "image/picture/picture_test_support.h"

namespace galvora::test {
namespace {

class ThumbnailTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        image.ThumbDurchführen(true);
        image.ThumbSeitenwahl(1);
        image.ThumbAusdehnung(120);
        image.ThumbQualität(80);
    }
    std::shared_ptr<ZNImageFile> original(const PictureBuffer& picture, const std::string& name = "a") {
        set_date(write_original(name + ".png", picture, picture_type::png), past());
        return record(name, "png", picture_type::png);
    }
    PictureBuffer written_thumbnail(const ZNImageFile& r) {
        PictureBuffer b;
        int32_t w = 0, h = 0;
        ReadImage(thumb_path(r), r.TBildtyp, b, w, h);
        return b;
    }
};

TEST_F(ThumbnailTest, SizeFollowsTheSideChoiceWithoutEnlarging) {
    struct Case {
        int32_t width, height;
        bool enlarge;
        int32_t expected_width, expected_height;
    };
    const Case cases[] = {
        {400, 300, false, 120, 90},
        {100, 50, false, 100, 50},
        {100, 50, true, 120, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        auto r = original(pattern(c.width, c.height));
        image.ThumbVergrößernErlauben(c.enlarge);
        ASSERT_TRUE(image.DoIt()) << image.Err().description;
        EXPECT_TRUE(image.ThumbErstellt());
        EXPECT_EQ(r->TDimX, c.expected_width);
        EXPECT_EQ(r->TDimY, c.expected_height);
        const PictureBuffer t = written_thumbnail(*r);
        EXPECT_EQ(t.width(), c.expected_width);
        EXPECT_EQ(t.height(), c.expected_height);
        std::filesystem::remove(thumb_path(*r));
    }
}

// A side choice outside 1 to 4 gives no scale factor: the thumbnail keeps
// the picture's size. Multiplied by the factor 0, as the design does, it
// would be 0 x 0 pixels, which no encoder writes.
TEST_F(ThumbnailTest, SideChoiceWithoutAFactorKeepsTheSize) {
    for (const int32_t side : {0, 5}) {
        SCOPED_TRACE(side);
        auto r = original(pattern(40, 30));
        image.ThumbSeitenwahl(side);
        ASSERT_TRUE(image.DoIt()) << image.Err().description;
        EXPECT_TRUE(image.ThumbErstellt());
        EXPECT_EQ(r->TDimX, 40);
        EXPECT_EQ(r->TDimY, 30);
        const PictureBuffer t = written_thumbnail(*r);
        EXPECT_EQ(t.width(), 40);
        EXPECT_EQ(t.height(), 30);
        std::filesystem::remove(thumb_path(*r));
    }
}

TEST_F(ThumbnailTest, BoxIsFilledAroundTheThumbnail) {
    image.ThumbSeitenwahl(4);
    image.ThumbRahmenFüllen(true);
    image.ThumbRahmenfarbe(static_cast<int32_t>(make_colour(255, 0, 0)));
    struct Case {
        int32_t box_width, box_height;
        int32_t left;  // first thumbnail column
        int32_t right; // first fill column after the thumbnail
    };
    for (const Case& c : {Case{160, 120, 20, 140}, Case{161, 120, 20, 140}}) {
        SCOPED_TRACE(c.box_width);
        auto r = original(solid(200, 200, 0, 255, 0));
        image.ThumbBreite(c.box_width);
        image.ThumbHöhe(c.box_height);
        ASSERT_TRUE(image.DoIt()) << image.Err().description;
        EXPECT_EQ(r->TDimX, c.box_width);
        const PictureBuffer t = written_thumbnail(*r);
        ASSERT_EQ(t.width(), c.box_width);
        ASSERT_EQ(t.height(), 120);
        for (int32_t x : {0, c.left - 1, c.right, c.box_width - 1}) {
            EXPECT_EQ(t.pixel(x, 60)[0], 255) << x;  // fill
            EXPECT_EQ(t.pixel(x, 60)[1], 0) << x;
        }
        for (int32_t x : {c.left, c.right - 1}) EXPECT_EQ(t.pixel(x, 60)[1], 255) << x;  // picture
        std::filesystem::remove(thumb_path(*r));
    }
}

TEST_F(ThumbnailTest, ExactFitNeedsNoFillAndAverageColourFillsMargins) {
    image.ThumbSeitenwahl(4);
    image.ThumbRahmenFüllen(true);
    image.ThumbBreite(160);
    image.ThumbHöhe(120);
    image.ThumbRahmenfarbe(static_cast<int32_t>(make_colour(255, 0, 0)));
    auto r = original(solid(1200, 900, 0, 0, 255));
    ASSERT_TRUE(image.DoIt());
    PictureBuffer t = written_thumbnail(*r);
    EXPECT_EQ(t.pixel(0, 0)[2], 255);  // no red margin: the picture fills the box
    EXPECT_EQ(t.pixel(0, 0)[0], 0);

    std::filesystem::remove(thumb_path(*r));
    r = original(solid(100, 100, 0, 0, 255), "b");
    image.ThumbRahmenfarbePassend(true);
    ASSERT_TRUE(image.DoIt());
    t = written_thumbnail(*r);
    ASSERT_EQ(t.width(), 160);
    EXPECT_EQ(t.pixel(0, 50)[0], 0);
    EXPECT_EQ(t.pixel(0, 50)[2], 255);
}

TEST_F(ThumbnailTest, RemakeFollowsTheOriginalsDate) {
    auto r = original(pattern(400, 300));
    ASSERT_TRUE(image.DoIt());
    set_date(thumb_path(*r), r->ODatum);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.ThumbErstellt());
    EXPECT_TRUE(image.original_buffer().empty());  // nothing decoded for a kept thumbnail
    set_date(thumb_path(*r), r->ODatum - 1.0 / 86400.0);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.ThumbErstellt());
    image.ThumbAusdehnung(100);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.ThumbErstellt());
    EXPECT_EQ(r->TDimX, 100);

    // A damaged thumbnail, however new, is made again: judged by its date
    // alone, as the design does, a thumbnail cut short by a crash or a full
    // disk would stay broken in every later run.
    write_bytes(thumb_path(*r), "broken");
    set_date(thumb_path(*r), r->ODatum + 1);
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_TRUE(image.ThumbErstellt());
    EXPECT_EQ(written_thumbnail(*r).width(), 100);
}

TEST_F(ThumbnailTest, FromTheCloneReadsAKeptCloneBack) {
    auto r = original(pattern(400, 300));
    image.ClonenDurchführen(true);
    image.CloneSeitenwahl(1);
    image.CloneAusdehnung(200);
    image.ThumbVomClone(true);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_TRUE(image.ThumbErstellt());
    EXPECT_EQ(r->TDimX, 120);

    // Clone kept, thumbnail missing: made from the clone file, original not decoded.
    std::filesystem::remove(thumb_path(*r));
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
    EXPECT_TRUE(image.ThumbErstellt());
    EXPECT_TRUE(image.original_buffer().empty());
    EXPECT_FALSE(image.CloneRGB().empty());

    // An unreadable clone that is up to date by its header cannot exist:
    // a damaged clone is remade, and the thumbnail with it.
    write_bytes(clone_path(*r), "broken");
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_TRUE(image.ThumbErstellt());
}

TEST_F(ThumbnailTest, WriteFailureNamesTheThumbnail) {
    auto r = original(pattern(400, 300));
    image.ThumbPfad((dir.path() / "missing").string());
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(image.ErrImage(), (dir.path() / "missing" / "t_a.png").string());
    EXPECT_EQ(image.Err().source, "WriteImage");
    EXPECT_FALSE(image.ThumbErstellt());
}

TEST_F(ThumbnailTest, PreviewIsCentredInTheBox) {
    auto r = original(pattern(400, 300));
    image.ThumbAusdehnung(100);
    FakePictureBox box(201, 201);
    image.PictureBox(&box);
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_EQ(box.clears, 1);
    EXPECT_EQ(box.drawn_x, 50);  // 50.5 goes to the even 50
    EXPECT_EQ(box.drawn_y, 63);
    EXPECT_EQ(box.drawn_w, 100);
    EXPECT_EQ(box.drawn_h, 75);

    // Kept thumbnail: read from its file and drawn again.
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.ThumbErstellt());
    EXPECT_EQ(box.clears, 2);
    EXPECT_EQ(box.drawn_w, 100);

    // A box smaller than the thumbnail gets a shrunken copy, centred.
    FakePictureBox small(50, 50);
    image.PictureBox(&small);
    ASSERT_TRUE(image.DoIt());
    EXPECT_EQ(small.drawn_w, 50);
    EXPECT_EQ(small.drawn_h, 38);  // 37.5 goes to the even 38
    EXPECT_EQ(small.drawn_buffer_w, 50);
    EXPECT_EQ(small.drawn_x, 0);
    EXPECT_EQ(small.drawn_y, 6);  // 6.0
    EXPECT_EQ(image.thumbnail_buffer().width(), 50);
}

TEST_F(ThumbnailTest, FailedPreviewKeepsTheWrittenThumbnail) {
    auto r = original(pattern(400, 300));
    FakePictureBox box(200, 200);
    box.draw_succeeds = false;
    image.PictureBox(&box);
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(image.Err().description, "IS_StretchDrawRGB");
    EXPECT_EQ(image.Err().source, "ZNImage.DoIt");
    EXPECT_GT(image.Err().number, 1000);
    EXPECT_EQ(image.ErrImage(), thumb_path(*r));
    EXPECT_TRUE(image.ThumbErstellt());
    EXPECT_TRUE(std::filesystem::exists(thumb_path(*r)));
}

TEST_F(ThumbnailTest, PictureBoxGrabBecomesTheClone) {
    record("a", "png", picture_type::png);
    FakePictureBox box(40, 30);
    ZNImage fresh;
    fresh.ImageFile(image.ImageFile());
    fresh.usePicturebox(box, 20, 15);
    ASSERT_EQ(fresh.CloneRGB().width(), 20);
    EXPECT_EQ(fresh.CloneDimX(), 20);
    EXPECT_EQ(fresh.CloneDimY(), 15);
    EXPECT_EQ(fresh.CloneRGB().pixel(10, 7)[0], 200);
    EXPECT_EQ(fresh.CloneRGB().pixel(10, 7)[2], 50);
}

// A box of two pixels, black and white, grabbed into a clone four pixels
// wide: each pixel becomes a block of two, not a ramp between them.
TEST_F(ThumbnailTest, PictureBoxGrabRepeatsPixelsAsBlocks) {
    class TwoPixels : public FakePictureBox {
    public:
        TwoPixels() : FakePictureBox(2, 1) {}
        void copy_content(PictureBuffer& target) const override {
            for (int32_t x = 0; x < target.width(); ++x) {
                uint8_t* p = target.pixel(x, 0);
                p[0] = p[1] = p[2] = x == 0 ? 0 : 255;
            }
        }
    } box;
    record("b", "png", picture_type::png);
    ZNImage fresh;
    fresh.ImageFile(image.ImageFile());
    fresh.usePicturebox(box, 4, 2);
    ASSERT_EQ(fresh.CloneRGB().width(), 4);
    std::vector<int> row;
    for (int32_t x = 0; x < 4; ++x) row.push_back(fresh.CloneRGB().pixel(x, 1)[0]);
    EXPECT_EQ(row, (std::vector<int>{0, 0, 255, 255}));
}

}  // namespace
}  // namespace galvora::test
