#include "image/metadata/picture_metadata.h"

#include <gtest/gtest.h>

#include "exif_test_support.h"
#include "foundation/error.h"
#include "image/picture_type.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

std::shared_ptr<CapturedMetadata> jpeg_with_make(const std::string& make) {
    TiffBuilder b(false);
    int d = b.add_directory();
    b.add(d, text(271, make));
    auto captured = std::make_shared<CapturedMetadata>();
    captured->jpeg_markers = {{0xE1, b.app1_payload()}, {0xFE, "comment of " + make}};
    return captured;
}

std::string make_of(PictureMetadata& pm) {
    const ZNExif* e = pm.ExifTag(kSectionMain, 271);
    return e ? std::get<std::string>(e->inhalt.at(0)) : "<none>";
}

}  // namespace

TEST(PictureMetadata, ListsAddFindAndCount) {
    PictureMetadata pm;
    for (int i = 0; i < 10; ++i) pm.ExifAdd(kSectionMain, 100 + i, kExifTypInteger, {std::int64_t{i}});
    pm.ExifAdd(kSectionThumbnail, 513, kExifTypInteger, {std::int64_t{1}});
    pm.ExifAdd(kSectionThumbnail, 513, kExifTypInteger, {std::int64_t{2}});
    EXPECT_EQ(pm.ExifCount(), 12);
    EXPECT_EQ(pm.ExifCount(kSectionMain), 10);
    EXPECT_EQ(pm.ExifCount(kSectionGps), 0);
    EXPECT_EQ(pm.ExifCount(7), 0);
    // The same tag may occur twice; ExifTag gives the first.
    EXPECT_EQ(std::get<std::int64_t>(pm.ExifTag(kSectionThumbnail, 513)->inhalt[0]), 1);
    EXPECT_EQ(pm.ExifPos(kSectionMain, 1)->tag, 100);
    EXPECT_EQ(pm.ExifPos(kSectionMain, 10)->tag, 109);
    for (std::int64_t bad : {0, -1, 11}) EXPECT_EQ(pm.ExifPos(kSectionMain, bad), nullptr) << bad;
    EXPECT_EQ(pm.ExifPos(5, 1), nullptr);
    EXPECT_EQ(pm.ExifTag(kSectionMain, 999), nullptr);
    EXPECT_THROW(pm.ExifTag(0, 100), GalvoraError);
    EXPECT_THROW(pm.ExifTag(5, 100), GalvoraError);

    pm.IptcAdd(25, "A");
    pm.IptcAdd(120, "Text");
    pm.IptcAdd(25, "B");
    EXPECT_EQ(pm.IptcCount(), 2);
    EXPECT_EQ(pm.IptcTag(25)->inhalt, "A,B");
    EXPECT_EQ(pm.IptcPos(2)->tag, 120);
    EXPECT_EQ(pm.IptcPos(3), nullptr);
    EXPECT_EQ(pm.IptcTag(5), nullptr);

    pm.ImageCommentAdd("Title", "x");
    pm.ImageCommentAdd("TITLE", "y");
    pm.ImageCommentAdd("Größe", "z");
    EXPECT_EQ(pm.ImageCommentCount(), 2);
    EXPECT_EQ(pm.ImageCommentItem("title")->inhalt, "y");
    EXPECT_EQ(pm.ImageCommentItem("title")->key, "Title");
    EXPECT_EQ(pm.ImageCommentItem("GRÖSSE"), nullptr);
    EXPECT_EQ(pm.ImageCommentItem("GRÖßE")->inhalt, "z");
    EXPECT_EQ(pm.ImageCommentPos(0), nullptr);
}

TEST(PictureMetadata, ReadsItsOwnMarkersLazilyAndOnce) {
    auto first = jpeg_with_make("First");
    auto second = jpeg_with_make("Second");
    PictureMetadata a, b;
    a.set_source(first, picture_type::jpeg);
    b.set_source(second, picture_type::jpeg);
    EXPECT_FALSE(a.metadata_read());
    // Reading b in between must not leak into a: each keeps its own markers.
    EXPECT_EQ(make_of(b), "Second");
    EXPECT_EQ(make_of(a), "First");
    EXPECT_TRUE(a.metadata_read());
    EXPECT_EQ(a.ExifCount(), 1);
    EXPECT_EQ(a.ExifCount(), 1);  // a second reading member reads nothing again
    EXPECT_EQ(a.ImageCommentItem("P1")->inhalt, "comment of First");

    // The next picture: reset and a new source.
    a.reset();
    EXPECT_EQ(a.ExifCount(), 0);
    EXPECT_EQ(a.camera_feq, 1.0);
    a.set_source(second, picture_type::jpeg);
    EXPECT_EQ(make_of(a), "Second");
}

TEST(PictureMetadata, OtherTypesHaveEmptyLists) {
    PictureMetadata pm;
    pm.set_source(jpeg_with_make("X"), picture_type::bmp);
    EXPECT_EQ(pm.ExifCount(), 0);
    EXPECT_EQ(pm.IptcCount(), 0);
    EXPECT_EQ(pm.ImageCommentCount(), 0);
    EXPECT_EQ(pm.camera_id, 0);
    EXPECT_EQ(pm.camera_feq, 1.0);  // a picture without EXIF keeps 1.0
}
