// The clone half of the picture object's processing step: remake rules,
// copy-only, metadata, hooks, the effect list and the failure table.
#include <filesystem>

#include "image/picture/picture_test_support.h"
#include "image/picture/script_hooks.h"
#include "profile/border.h"
#include "profile/picture_effect.h"
#include "profile/text_stamp.h"
#include "script/value.h"

namespace galvora::test {
namespace {

class CloneTest : public PictureTest {
public:
    void SetUp() override {
        PictureTest::SetUp();
        image.ClonenDurchführen(true);
        image.CloneSeitenwahl(1);
        image.CloneAusdehnung(640);
        image.CloneQualität(85);
        image.CloneFilter(-2);
    }
    // A 1000 x 750 JPEG original dated some time ago.
    std::shared_ptr<ZNImageFile> jpeg_original(const std::string& name = "a") {
        const std::string path = write_original(name + ".jpg", pattern(1000, 750), picture_type::jpeg);
        set_date(path, past());
        return record(name, "jpg", picture_type::jpeg);
    }
    // The record and the written clone both have the size width x height.
    void expect_clone_size(const ZNImageFile& r, int32_t width, int32_t height) {
        EXPECT_EQ(r.CDimX, width);
        EXPECT_EQ(r.CDimY, height);
        int32_t w = 0, h = 0;
        GetImageDims(clone_path(r), picture_type::jpeg, w, h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
    }
};

TEST_F(CloneTest, RemakeFollowsDateAndSize) {
    auto r = jpeg_original();
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_EQ(r->CDimX, 640);
    EXPECT_EQ(r->CDimY, 480);
    EXPECT_EQ(r->CQualität, 85);
    EXPECT_EQ(r->CBytes, static_cast<int32_t>(std::filesystem::file_size(clone_path(*r))));
    int32_t w = 0, h = 0;
    GetImageDims(clone_path(*r), picture_type::jpeg, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    // Nothing changed: the clone is kept and not even the original is decoded.
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
    EXPECT_TRUE(image.original_buffer().empty());
    EXPECT_EQ(r->CDimX, 640);

    // A new target size remakes it.
    image.CloneAusdehnung(800);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_EQ(r->CDimX, 800);
    EXPECT_EQ(r->CDimY, 600);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());

    // Same date as the original: kept; one second older: remade.
    set_date(clone_path(*r), r->ODatum);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
    set_date(clone_path(*r), r->ODatum - 1.0 / 86400.0);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
}

// A side choice that gives no scale factor (a 5 in a profile edited by
// hand, say) keeps the picture's size: multiplied by the factor 0, as the
// design does, the clone would be 0 x 0 pixels, which no encoder writes.
TEST_F(CloneTest, SideChoiceWithoutAFactorKeepsTheSize) {
    for (const int32_t side : {5, -1}) {
        SCOPED_TRACE(side);
        auto r = jpeg_original();
        image.CloneSeitenwahl(side);
        ASSERT_TRUE(image.DoIt()) << image.Err().description;
        EXPECT_TRUE(image.CloneErstellt());
        expect_clone_size(*r, 1000, 750);
        std::filesystem::remove(clone_path(*r));
    }
}

TEST_F(CloneTest, KeptDateMakesTheNextRunKeepTheClone) {
    auto r = jpeg_original();
    image.DatumZeitErhalten(true);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_DOUBLE_EQ(r->CDatum, r->ODatum);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
}

TEST_F(CloneTest, EffectsOrCloneHookRemakeUnlessOnlyWhenNewer) {
    auto r = jpeg_original();
    image.CloneStempeln(true);  // an empty list: nothing drawn, but the rule applies
    ASSERT_TRUE(image.DoIt());
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    image.CloneNurWennNeuerErstellen(true);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());

    image.CloneStempeln(false);
    image.CloneNurWennNeuerErstellen(false);
    compile("_clone", "{x = 1}");
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.CloneErstellt());
    image.CloneNurWennNeuerErstellen(true);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
}

TEST_F(CloneTest, SameTypeWithoutProcessingIsCopiedByteForByte) {
    CapturedMetadata markers;
    markers.jpeg_markers.push_back({0xE1, std::string("Exif\0\0", 6) + "II*\0\x08\0\0\0\0\0"});
    markers.jpeg_markers.push_back({0xFE, "a comment of the original"});
    const std::string path = write_original("a.jpg", pattern(300, 200), picture_type::jpeg, &markers);
    set_date(path, past());
    auto r = record("a", "jpg", picture_type::jpeg);
    r->CQualität = -7;
    image.CloneSeitenwahl(0);
    image.MetadataKopieren(false);
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_TRUE(image.CloneErstellt());
    EXPECT_EQ(read_bytes(clone_path(*r)), read_bytes(path));
    EXPECT_EQ(r->CQualität, -7);
    EXPECT_EQ(r->CDimX, 300);
    EXPECT_TRUE(image.original_buffer().empty());  // a copy decodes nothing
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneErstellt());
}

TEST_F(CloneTest, CopiedMetadataIsThePicturesOwn) {
    // First a JPEG with a comment marker, copied into its clone ...
    CapturedMetadata markers;
    markers.jpeg_markers.push_back({0xFE, "belongs to a.jpg"});
    set_date(write_original("a.jpg", pattern(400, 300), picture_type::jpeg, &markers), past());
    auto a = record("a", "jpg", picture_type::jpeg);
    image.MetadataKopieren(true);
    ASSERT_TRUE(image.DoIt());
    CapturedMetadata seen;
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImage(clone_path(*a), picture_type::jpeg, b, w, h, &seen);
    bool has_comment = false;
    for (const auto& [code, payload] : seen.jpeg_markers) has_comment |= code == 0xFE && payload == "belongs to a.jpg";
    EXPECT_TRUE(has_comment);

    // ... then a PNG on the same object: its JPEG clone gets no marker of a.jpg.
    set_date(write_original("b.png", pattern(400, 300), picture_type::png), past());
    auto bpng = record("b", "png", picture_type::png);
    ASSERT_TRUE(image.DoIt());
    ReadImage(clone_path(*bpng), picture_type::jpeg, b, w, h, &seen);
    for (const auto& [code, payload] : seen.jpeg_markers) EXPECT_NE(payload, "belongs to a.jpg");
}

TEST_F(CloneTest, CloneHookRunsOnTheCurrentClone) {
    auto r = jpeg_original();
    std::string seen_name;
    set_picture_variables_setter([&](const ZNImageFile& rec) { seen_name = rec.CDateiname; });
    compile("_clone", "{cloned = \"ja\"}");
    ASSERT_TRUE(image.DoIt());
    set_picture_variables_setter(nullptr);
    EXPECT_EQ(seen_name, "a");
    auto v = zns()->gvar_oba.inq("cloned");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->als_text(), "ja");
    EXPECT_FALSE(current_image());  // cleared after the hook
}

TEST_F(CloneTest, TextStampScriptFollowsTheListPosition) {
    jpeg_original();
    effects.add(std::make_shared<CBorder>());
    effects.add(std::make_shared<CTextStamp>());
    effects.add(std::make_shared<CTextStamp>());  // its text did not compile: no function
    compile("_stamptext_1", "wrong");
    compile("_stamptext_2", "second {\"item\"}");
    std::vector<std::string> calls;
    std::vector<std::string> drawn_texts;
    CloneEffectSteps steps;
    steps.border = [&](PictureBuffer& p, const CBorder&, ErrorInfo&) {
        calls.push_back("border");
        EXPECT_TRUE(current_image());
        // An outer frame grows the picture: the record follows the buffer.
        PictureBuffer bigger = PictureBuffer::allocate(p.width() + 20, p.height() + 20);
        p = std::move(bigger);
        return true;
    };
    steps.text_stamp = [&](PictureBuffer& p, const CTextStamp&, const std::string& text, ErrorInfo&) {
        calls.push_back("text");
        drawn_texts.push_back(text);
        EXPECT_EQ(p.width(), 660);
        return true;
    };
    image.effect_steps(steps);
    image.CloneStempeln(true);
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_EQ(calls, (std::vector<std::string>{"border", "text", "text"}));
    EXPECT_EQ(drawn_texts, (std::vector<std::string>{"second item", ""}));
    EXPECT_EQ(image.ImageFile()->CDimX, 660);
    EXPECT_EQ(image.ImageFile()->CDimY, 500);
    int32_t w = 0, h = 0;
    GetImageDims(clone_path(*image.ImageFile()), picture_type::jpeg, w, h);
    EXPECT_EQ(w, 660);
}

// A turn from the clone-effect list reaches the picture object as a turn by
// a script does: a quarter turn either way exchanges the sides and sets the
// turned flag, a half turn leaves both.
TEST_F(CloneTest, ARotateEffectMarksTheCloneTurned) {
    struct Case {
        const char* name;
        int32_t code;
        bool turned;
        int32_t width, height;
    };
    for (const Case& c : {Case{"right", 0, true, 480, 640}, Case{"left", 2, true, 480, 640},
                          Case{"half", 1, false, 640, 480}}) {
        auto r = jpeg_original(c.name);
        effects.clear();
        auto turn = std::make_shared<CBildEffekt>();
        turn->Bildeffektart(13);
        turn->LongArray(1, c.code);
        effects.add(turn);
        image.CloneStempeln(true);
        ASSERT_TRUE(image.DoIt()) << image.Err().description;
        EXPECT_EQ(image.OriginalRotated(), c.turned) << c.name;
        EXPECT_EQ(r->CDimX, c.width) << c.name;
        EXPECT_EQ(r->CDimY, c.height) << c.name;
        int32_t w = 0, h = 0;
        GetImageDims(clone_path(*r), picture_type::jpeg, w, h);
        EXPECT_EQ(w, c.width) << c.name;
    }
}

TEST_F(CloneTest, DrawingOnTheCurrentImageReachesTheClone) {
    auto r = jpeg_original();
    effects.add(std::make_shared<CBildEffekt>());
    CloneEffectSteps steps;
    steps.picture_effect = [](PictureBuffer&, const CBildEffekt&, ErrorInfo&) {
        RotateImage(0);  // a quarter turn through the current image, as the script built-ins do
        return true;
    };
    image.effect_steps(steps);
    image.CloneStempeln(true);
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_TRUE(image.OriginalRotated());
    expect_clone_size(*r, 480, 640);
    ASSERT_TRUE(image.DoIt());
    EXPECT_TRUE(image.OriginalRotated());
}

// The design goes on after a failed effect or frame and writes the clone
// without it: the gallery would show a picture other than the profile asks
// for, and report it as made. The picture fails with the effect's error.
TEST_F(CloneTest, FailedEffectOrFrameLeavesNoClone) {
    for (const bool frame : {false, true}) {
        SCOPED_TRACE(frame ? "frame" : "picture effect");
        auto r = jpeg_original();
        effects.clear();
        CloneEffectSteps steps;
        if (frame) {
            effects.add(std::make_shared<CBorder>());
            steps.border = [](PictureBuffer&, const CBorder&, ErrorInfo& e) {
                e = ErrorInfo{1001, "DrawBorder", "IS_DrawBorder"};
                return false;
            };
        } else {
            effects.add(std::make_shared<CBildEffekt>());
            steps.picture_effect = [](PictureBuffer&, const CBildEffekt&, ErrorInfo& e) {
                e = ErrorInfo{1000, "ApplyEffect", "ApplyEffect: not available"};
                return false;
            };
        }
        image.effect_steps(steps);
        image.CloneStempeln(true);
        EXPECT_FALSE(image.DoIt());
        EXPECT_EQ(image.ErrImage(), clone_path(*r));
        EXPECT_EQ(image.Err().source, frame ? "DrawBorder" : "ApplyEffect");
        EXPECT_FALSE(image.CloneErstellt());
        EXPECT_FALSE(std::filesystem::exists(clone_path(*r)));
    }
}

TEST_F(CloneTest, FailedStampEndsThePictureWithItsError) {
    auto r = jpeg_original();
    effects.add(std::make_shared<CTextStamp>());
    CloneEffectSteps steps;
    steps.text_stamp = [](PictureBuffer&, const CTextStamp&, const std::string&, ErrorInfo& e) {
        e = ErrorInfo{1003, "DrawTextStamp", "IS_DrawText"};
        return false;
    };
    image.effect_steps(steps);
    image.CloneStempeln(true);
    image.ThumbDurchführen(true);
    image.ThumbSeitenwahl(1);
    image.ThumbAusdehnung(100);
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(image.ErrImage(), clone_path(*r));
    EXPECT_EQ(image.Err().source, "DrawTextStamp");
    EXPECT_FALSE(std::filesystem::exists(thumb_path(*r)));  // later steps did not run
}

struct FailureCase {
    const char* what;
    // Prepares the gallery; returns the path ErrImage must name.
    std::function<std::string(CloneTest&, ZNImageFile&)> prepare;
    long number;  // 0: any number
    const char* source;
};

TEST_F(CloneTest, FailureTable) {
    const std::vector<FailureCase> cases = {
        {"original missing",
         [](CloneTest& t, ZNImageFile&) {
             std::filesystem::remove(t.originals / "a.jpg");
             return (t.originals / "a.jpg").string();
         },
         53, "DoIt"},
        {"original unreadable",
         [](CloneTest& t, ZNImageFile&) {
             write_bytes((t.originals / "a.jpg").string(), "this is no picture at all");
             return (t.originals / "a.jpg").string();
         },
         0, "GetImageDims"},
        {"original cut short after its header",
         [](CloneTest& t, ZNImageFile&) {
             const std::string p = (t.originals / "a.jpg").string();
             write_bytes(p, read_bytes(p).substr(0, 700));
             return p;
         },
         0, "ReadImage"},
        {"clone folder missing",
         [](CloneTest& t, ZNImageFile& r) {
             t.image.ClonePfad((t.dir.path() / "no" / "such").string());
             return (t.dir.path() / "no" / "such" / (r.ODateiname + ".jpg")).string();
         },
         0, "WriteImage"},
        {"clone type that cannot be written",
         [](CloneTest& t, ZNImageFile& r) {
             r.CBildtyp = picture_type::camera_raw;
             return (t.clones / (r.ODateiname + ".jpg")).string();
         },
         0, "WriteImage"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = jpeg_original();
        image.ClonePfad(clones.string());
        image.ThumbDurchführen(true);
        image.ThumbSeitenwahl(1);
        image.ThumbAusdehnung(100);
        const std::string expected = c.prepare(*this, *r);
        EXPECT_FALSE(image.DoIt());
        EXPECT_EQ(image.ErrImage(), expected);
        if (c.number != 0) {
            EXPECT_EQ(image.Err().number, c.number);
        }
        EXPECT_NE(image.Err().number, 0);
        EXPECT_EQ(image.Err().source, c.source);
        EXPECT_FALSE(image.CloneErstellt());
        EXPECT_FALSE(image.ThumbErstellt());
        EXPECT_FALSE(std::filesystem::exists(thumb_path(*r)));
        // A later picture is processed normally by the same object.
        jpeg_original("next");
        image.ClonePfad(clones.string());
        EXPECT_TRUE(image.DoIt()) << image.Err().description;
        std::filesystem::remove_all(clones);
        std::filesystem::create_directories(thumbs);
    }
}

// The design writes straight into the clone's place: a write that fails
// half way leaves a damaged file where a good clone was. The new clone is
// written beside it and takes its place only when complete.
TEST_F(CloneTest, FailedWriteKeepsTheExistingClone) {
    auto r = jpeg_original();
    ASSERT_TRUE(image.DoIt());
    const std::string before = read_bytes(clone_path(*r));
    set_date(clone_path(*r), r->ODatum - 1);  // outdated, so it is remade
    r->CBildtyp = picture_type::camera_raw;
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(r->CDimX, 0);
    EXPECT_EQ(read_bytes(clone_path(*r)), before);
    const auto leftovers = std::distance(std::filesystem::directory_iterator(clones), {});
    EXPECT_EQ(leftovers, 2);  // the clone and the thumbnail folder, no temporary file
}

// The design looks only at the dates: a clone cut short by a crash or a
// full disk, being newer than its original, would be kept for ever and the
// gallery show a broken picture. A clone that cannot be read is made again.
TEST_F(CloneTest, DamagedCloneIsMadeAgain) {
    auto r = jpeg_original();
    ASSERT_TRUE(image.DoIt());
    write_bytes(clone_path(*r), "half a clone");
    set_date(clone_path(*r), r->ODatum + 1);  // newer than the original, yet unreadable
    ASSERT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_TRUE(image.CloneErstellt());
    int32_t w = 0, h = 0;
    GetImageDims(clone_path(*r), picture_type::jpeg, w, h);
    EXPECT_EQ(w, 640);
}

TEST_F(CloneTest, CloneNeverReplacesItsOriginal) {
    auto r = jpeg_original();
    const std::string original = (originals / "a.jpg").string();
    const std::string before = read_bytes(original);
    image.ClonePfad(originals.string());
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(image.ErrImage(), original);
    EXPECT_EQ(read_bytes(original), before);

    // Unprocessed, the original already is its own clone.
    image.CloneSeitenwahl(0);
    EXPECT_TRUE(image.DoIt()) << image.Err().description;
    EXPECT_EQ(read_bytes(original), before);
}

TEST_F(CloneTest, CopyIntoAMissingFolderReportsFileCopy) {
    auto r = jpeg_original();
    image.CloneSeitenwahl(0);
    image.ClonePfad((dir.path() / "missing").string());
    EXPECT_FALSE(image.DoIt());
    EXPECT_EQ(image.Err().source, "DoIt");
    EXPECT_EQ(image.Err().description, "FileCopy");
    EXPECT_EQ(image.ErrImage(), (dir.path() / "missing" / "a.jpg").string());
}

TEST_F(CloneTest, WithoutCloneOrThumbnailOnlyTheFactsAreFilled) {
    auto r = jpeg_original();
    image.ClonenDurchführen(false);
    ASSERT_TRUE(image.DoIt());
    EXPECT_EQ(r->ODimX, 1000);
    EXPECT_EQ(r->ODimY, 750);
    EXPECT_EQ(r->CDimX, 1000);
    EXPECT_EQ(r->CDatum, r->ODatum);
    EXPECT_EQ(r->CBytes, r->OBytes);
    EXPECT_GT(r->OBytes, 0);
    EXPECT_TRUE(image.original_buffer().empty());
    EXPECT_FALSE(std::filesystem::exists(clone_path(*r)));
}

TEST_F(CloneTest, ResetReleasesBuffersAndKeepsSettings) {
    auto r = jpeg_original();
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.CloneRGB().empty());
    image.reset();
    EXPECT_TRUE(image.CloneRGB().empty());
    EXPECT_TRUE(image.original_buffer().empty());
    EXPECT_TRUE(image.ClonenDurchführen());
    EXPECT_EQ(image.ImageFile(), r);
    EXPECT_TRUE(image.CloneErstellt());
}

TEST_F(CloneTest, MetadataIsReadOnceAndOnlyForJpegAndPng) {
    CapturedMetadata markers;
    markers.jpeg_markers.push_back({0xFE, "hello"});
    set_date(write_original("a.jpg", pattern(64, 48), picture_type::jpeg, &markers), past());
    record("a", "jpg", picture_type::jpeg);
    image.ClonenDurchführen(false);
    ASSERT_TRUE(image.DoIt());
    EXPECT_FALSE(image.metadata_read());
    EXPECT_EQ(image.metadata().ImageCommentCount(), 1);
    EXPECT_TRUE(image.metadata_read());

    set_date(write_original("g.gif", pattern(64, 48), picture_type::gif), past());
    record("g", "gif", picture_type::gif);
    ASSERT_TRUE(image.DoIt());
    image.LiesMetadaten();
    EXPECT_FALSE(image.metadata_read());
    EXPECT_EQ(image.metadata().ImageCommentCount(), 0);
}

}  // namespace
}  // namespace galvora::test
