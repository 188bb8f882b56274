#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "foundation/error.h"
#include "image/picture_io.h"
#include "profile/border.h"
#include "profile/clone_effect_list.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/text_stamp.h"

namespace galvora {
namespace {

// Counts reads and hands out a small picture, or fails for names beginning "bad".
class FakePictureReader : public ::testing::Test {
protected:
    void SetUp() override {
        set_effect_picture_reader([this](const std::string& file) {
            ++reads;
            last_file = file;
            if (file.starts_with("bad")) throw GalvoraError(1002, "ReadImage", "IS_OpenFileSource");
            return PictureBuffer::allocate(4, 3);
        });
    }
    void TearDown() override { set_effect_picture_reader(nullptr); }

    int reads = 0;
    std::string last_file;
};

TEST(CloneEffectsTest, NewObjectsHoldTheirDefaultsAndAreMarked) {
    CTextStamp t;
    EXPECT_EQ(t.Description(), "Textstamp");
    EXPECT_EQ(t.Text(), "Text");
    EXPECT_EQ(t.Font(), "Arial");
    EXPECT_EQ(t.Height(), 15);
    EXPECT_EQ(t.Color(), 0xFFFFFF);
    EXPECT_EQ(t.Opacity(), 100);
    EXPECT_EQ(t.Weight(), 400);
    EXPECT_EQ(t.BackgroundColor(), 0x0000FF);
    EXPECT_EQ(t.BackgroundOpacity(), 50);
    EXPECT_EQ(t.BorderColor(), 0x00FF00);
    EXPECT_EQ(t.BorderWidth(), 1);
    EXPECT_TRUE(t.verändert());

    CImageStamp s;
    EXPECT_EQ(s.Description(), "Image");
    EXPECT_EQ(s.deckkraft(), 50);
    EXPECT_EQ(s.TransparenteFarbe(), 0xFFFFFF);
    EXPECT_EQ(s.Position(), 1);
    EXPECT_TRUE(s.pRGB().empty());

    CBorder b;
    EXPECT_EQ(b.Description(), "Border");
    EXPECT_EQ(b.Position(), 15);
    EXPECT_EQ(b.Breite(), 10);
    EXPECT_EQ(b.deckkraft(), 50);

    CBildEffekt e;
    EXPECT_EQ(e.Description(), "Imageeffect");
    EXPECT_EQ(e.Bildeffektart(), 0);
    EXPECT_EQ(e.LongArray(1), 50);
    EXPECT_EQ(e.LongArray(2), 7);
    EXPECT_EQ(e.DoubleArray(1), 0.0);
}

TEST(CloneEffectsTest, SettersMarkOnlyDifferentValues) {
    CTextStamp t;
    t.verändert(false);
    t.Height(15);
    t.Text("Text");
    EXPECT_FALSE(t.verändert());
    t.Text("text");
    EXPECT_TRUE(t.verändert()) << "case counts";

    CBildEffekt e;
    e.verändert(false);
    e.DoubleArray(3, 0.0);
    e.LongArray(1, 50);
    EXPECT_FALSE(e.verändert());
    e.DoubleArray(3, 0.25);
    EXPECT_TRUE(e.verändert());
}

TEST(CloneEffectsTest, PictureEffectKindChangeResetsThatKindsDefaults) {
    CBildEffekt e;
    e.LongArray(3, 77);
    e.verändert(false);
    e.Bildeffektart(15);
    EXPECT_TRUE(e.verändert());
    EXPECT_EQ(e.LongArray(1), 10);
    EXPECT_EQ(e.LongArray(2), 135);
    EXPECT_EQ(e.LongArray(3), 0xFFFFFF);
    EXPECT_EQ(e.LongArray(4), 0);
    EXPECT_EQ(e.LongArray(5), 0);
    EXPECT_EQ(e.LongArray(6), 10);

    e.LongArray(3, 5);
    e.Bildeffektart(0);
    EXPECT_EQ(e.LongArray(1), 50);
    EXPECT_EQ(e.LongArray(2), 7);
    EXPECT_EQ(e.LongArray(3), 5) << "parameters without a default keep their value";
    EXPECT_EQ(e.LongArray(6), 10);

    e.verändert(false);
    e.LongArray(1, 1);
    e.verändert(false);
    e.Bildeffektart(0);
    EXPECT_EQ(e.LongArray(1), 1) << "the same kind again changes nothing";
    EXPECT_FALSE(e.verändert());

    struct Case {
        int kind;
        int long1;
        double double1;
    };
    for (const Case& c : {Case{5, 50, 0.5}, Case{22, 50, 0.1}, Case{23, 128 | (64 << 8), 0.1}, Case{25, 2, 0.1}}) {
        e.Bildeffektart(c.kind);
        EXPECT_EQ(e.LongArray(1), c.long1) << c.kind;
        EXPECT_DOUBLE_EQ(e.DoubleArray(1), c.double1) << c.kind;
    }
    EXPECT_DOUBLE_EQ(e.DoubleArray(2), 0) << "kind 22 sets D2 to 0 after kind 5 set it to 2";

    CBildEffekt quiet;
    quiet.verändert(false);
    quiet.LongArray(1, 3);
    quiet.verändert(false);
    quiet.ResetToBildeffekt(0);
    EXPECT_EQ(quiet.LongArray(1), 50);
    EXPECT_FALSE(quiet.verändert()) << "resetting writes past the setters";
}

TEST(CloneEffectsTest, ParameterIndexOutsideTheArrayIsASubscriptError) {
    CBildEffekt e;
    for (int index : {-1, 11}) {
        try {
            e.LongArray(index, 1);
            ADD_FAILURE();
        } catch (const GalvoraError& err) {
            EXPECT_EQ(err.number(), 9);
        }
        EXPECT_THROW((void)e.DoubleArray(index), GalvoraError);
    }
    e.LongArray(0, 4);
    EXPECT_EQ(e.LongArray(0), 4);
}

TEST_F(FakePictureReader, PictureNameLoadsOnceAndKeepsTheError) {
    CBorder b;
    EXPECT_EQ(b.ErrNumber(), 1000);
    EXPECT_EQ(b.ErrSource(), "CImageStamp:Name");
    EXPECT_EQ(b.ErrDescription(), "Missing Imagestamp-Name");

    b.verändert(false);
    b.Bildname("frame.png");
    b.Bildname("frame.png");
    EXPECT_EQ(reads, 1) << "the same name twice loads once";
    EXPECT_TRUE(b.verändert());
    EXPECT_EQ(b.ErrNumber(), 0);
    EXPECT_EQ(b.Bildbreite(), 4);
    EXPECT_EQ(b.Bildhöhe(), 3);

    b.Bildname("bad.png");
    EXPECT_TRUE(b.pRGB().empty()) << "the old picture is dropped";
    EXPECT_EQ(b.ErrNumber(), 1002);
    EXPECT_EQ(b.ErrSource(), "ReadImage");
    EXPECT_EQ(b.ErrDescription(), "IS_OpenFileSource");

    CImageStamp s;
    s.Name("stamp.png");
    EXPECT_EQ(s.Breite(), 4);
    s.Name("");
    EXPECT_TRUE(s.pRGB().empty());
    EXPECT_EQ(s.ErrNumber(), 1000);
    EXPECT_EQ(s.ErrDescription(), "Missing Imagestamp-Name");
}

TEST_F(FakePictureReader, CloneCopiesSettingsAndLoadsItsOwnPicture) {
    CBorder b;
    b.Bildverteilung(1);
    b.Bildname("frame.png");
    b.Farbe(0x123456);
    CBorder copy;
    copy.verändert(false);
    b.clone(copy);
    EXPECT_EQ(copy.Bildverteilung(), 1);
    EXPECT_EQ(copy.Farbe(), 0x123456);
    EXPECT_EQ(copy.Bildname(), "frame.png");
    EXPECT_EQ(reads, 2) << "the copy reads the picture itself";
    EXPECT_FALSE(copy.pRGB().empty());
    EXPECT_TRUE(copy.verändert());

    CBildEffekt e;
    e.Bildeffektart(21);
    e.LongArray(0, 9);
    e.LongArray(10, 3);
    e.DoubleArray(10, 1.5);
    CBildEffekt ecopy;
    e.clone(ecopy);
    EXPECT_EQ(ecopy.Bildeffektart(), 21);
    EXPECT_EQ(ecopy.LongArray(10), 3);
    EXPECT_EQ(ecopy.DoubleArray(10), 1.5);
    EXPECT_DOUBLE_EQ(ecopy.DoubleArray(1), 0.5);
    EXPECT_EQ(ecopy.LongArray(0), 0) << "index 0 is not copied";

    CTextStamp t;
    EXPECT_THROW(e.clone(t), GalvoraError) << "a target of another class is refused";
}

// A move deliberately marks the list changed: the order of the effects is
// what the clone gets, and a reorder left unmarked would never be saved.
TEST(CloneEffectListTest, MovesSwapNeighboursAndMarkTheList) {
    CCloneEffekte list;
    auto a = std::make_shared<CTextStamp>();
    auto b = std::make_shared<CBorder>();
    auto c = std::make_shared<CBildEffekt>();
    list.add(a);
    list.add(b);
    list.add(c);
    list.verändert_reset();

    list.moveup(1);
    list.movedown(3);
    EXPECT_FALSE(list.verändert()) << "moves at the ends change nothing";
    EXPECT_EQ(list.item(1), a);

    list.moveup(3);
    EXPECT_EQ(list.item(2), c);
    EXPECT_EQ(list.item(3), b);
    EXPECT_TRUE(list.verändert()) << "a move changes what is saved";

    list.verändert_reset();
    list.movedown(1);
    EXPECT_EQ(list.item(1), c);
    EXPECT_EQ(list.item(2), a);
    EXPECT_TRUE(list.verändert());

    EXPECT_EQ(list.item(0), nullptr);
    EXPECT_EQ(list.item(4), nullptr);
}

TEST(CloneEffectListTest, ChangedFlagFollowsListAndMembers) {
    CCloneEffekte list;
    auto a = std::make_shared<CTextStamp>();
    list.add(a);
    list.verändert_reset();
    EXPECT_FALSE(list.verändert());
    EXPECT_FALSE(a->verändert());
    a->OffsetX(99);
    EXPECT_TRUE(list.verändert());

    list.verändert_reset();
    list.remove(5);
    EXPECT_FALSE(list.verändert()) << "removing nothing is no change";
    list.remove(1);
    EXPECT_TRUE(list.verändert());
    EXPECT_EQ(list.count(), 0);
}

TEST(CloneEffectListTest, CloneReplacesTheTargetWithEqualIndependentMembers) {
    CCloneEffekte source;
    auto t = std::make_shared<CTextStamp>();
    t->Text("Hello\r\nWorld");
    auto e = std::make_shared<CBildEffekt>();
    e->Bildeffektart(12);
    source.add(t);
    source.add(e);
    source.verändert_reset();
    e->verändert(true);

    CCloneEffekte target;
    target.add(std::make_shared<CBorder>());
    source.clone(target);

    ASSERT_EQ(target.count(), 2);
    auto t2 = std::dynamic_pointer_cast<CTextStamp>(target.item(1));
    auto e2 = std::dynamic_pointer_cast<CBildEffekt>(target.item(2));
    ASSERT_TRUE(t2);
    ASSERT_TRUE(e2);
    EXPECT_NE(t2, t);
    EXPECT_EQ(t2->Text(), "Hello\r\nWorld");
    EXPECT_EQ(e2->Bildeffektart(), 12);
    EXPECT_EQ(e2->LongArray(1), 10);
    EXPECT_FALSE(t2->verändert()) << "member marks as in the source";
    EXPECT_TRUE(e2->verändert());
    EXPECT_TRUE(target.verändert());

    t2->Text("other");
    EXPECT_EQ(t->Text(), "Hello\r\nWorld");
}

}  // namespace
}  // namespace galvora

namespace galvora {
namespace {

// The frame and stamp read their pictures through the imaging layer.
TEST(EffectPictureTest, RealReaderLoadsAPictureAndReportsAMissingOne) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("galvora_effect_picture_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string png = (folder / "frame.png").string();
    auto picture = PictureBuffer::allocate(5, 2);
    int32_t used_quality = 0;
    WriteImage(png, picture_type::png, picture, 75, 0, false, 0, used_quality);

    CBorder border;
    border.Bildname(png);
    EXPECT_EQ(border.ErrNumber(), 0) << border.ErrDescription();
    EXPECT_EQ(border.Bildbreite(), 5);
    EXPECT_EQ(border.Bildhöhe(), 2);

    CImageStamp stamp;
    stamp.Name((folder / "missing.png").string());
    EXPECT_TRUE(stamp.pRGB().empty());
    EXPECT_NE(stamp.ErrNumber(), 0);
    EXPECT_EQ(stamp.ErrSource(), "ReadImage");
    EXPECT_FALSE(stamp.ErrDescription().empty());

    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace galvora
