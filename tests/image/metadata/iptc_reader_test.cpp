#include "image/metadata/iptc_reader.h"

#include <gtest/gtest.h>

#include "exif_test_support.h"
#include "image/metadata/exif_reader.h"
#include "image/metadata/picture_metadata.h"
#include "image/metadata/read_image_metadata.h"
#include "image/picture_type.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

std::string app13(const std::vector<Resource>& resources) {
    return marker_segment(0xED, photoshop_payload(resources));
}

std::vector<std::pair<int, std::string>> iptc_list(PictureMetadata& pm) {
    std::vector<std::pair<int, std::string>> out;
    for (std::int64_t i = 1; i <= pm.IptcCount(); ++i) out.emplace_back(pm.IptcPos(i)->tag, pm.IptcPos(i)->inhalt);
    return out;
}

}  // namespace

TEST(IptcReader, RepeatedDatasetsJoinAndRecordVersionIsSkipped) {
    std::string data = iptc_dataset(0, std::string("\0\x04", 2)) + iptc_dataset(25, "sea") +
                       iptc_dataset(120, "Am Strand") + iptc_dataset(25, "beach");
    PictureMetadata pm;
    EXPECT_EQ(ParseIptcApp13(pm, app13({{0x0404, "", data}})), IptcParseResult::read);
    EXPECT_EQ(iptc_list(pm), (std::vector<std::pair<int, std::string>>{{25, "sea,beach"}, {120, "Am Strand"}}));
    EXPECT_EQ(pm.IptcTag(25)->inhalt, "sea,beach");
}

TEST(IptcReader, FindsTheResourceBehindOthersAndSkipsNamePadding) {
    // A resolution resource first, then IPTC under a two-character name (one padding byte).
    std::string seg = app13({{0x03ED, "", std::string(16, '\x01')}, {0x0404, "ab", iptc_dataset(5, "Titel")}});
    PictureMetadata pm;
    ParseIptcApp13(pm, seg);
    EXPECT_EQ(iptc_list(pm), (std::vector<std::pair<int, std::string>>{{5, "Titel"}}));
    // An odd-length name takes no padding byte: length byte plus three characters.
    PictureMetadata odd;
    ParseIptcApp13(odd, app13({{0x0404, "abc", iptc_dataset(5, "Titel")}}));
    EXPECT_EQ(iptc_list(odd), (std::vector<std::pair<int, std::string>>{{5, "Titel"}}));
}

TEST(IptcReader, BlocksOf32KBAndMoreUseTheirRealLength) {
    // The caption alone is 40000 bytes: an extended dataset (length field of 4 bytes).
    // Read with 16-bit arithmetic, such a length overflows and the error ends
    // the whole metadata read: the picture would lose its EXIF data and every
    // other IPTC value with it.
    const std::string caption(40000, 'x');
    std::string big_dataset = std::string("\x1C\x02\x78\x80\x04", 5) + enc32(40000, true) + caption;
    std::string data = iptc_dataset(25, "a") + big_dataset + iptc_dataset(25, "b");
    PictureMetadata pm;
    EXPECT_EQ(ParseIptcApp13(pm, app13({{0x0404, "", data}})), IptcParseResult::read);
    ASSERT_EQ(pm.IptcCount(), 2);
    EXPECT_EQ(pm.IptcTag(120)->inhalt, caption);
    EXPECT_EQ(pm.IptcTag(25)->inhalt, "a,b");
}

TEST(IptcReader, EndsAtTheFirstForeignDataset) {
    std::string data = iptc_dataset(5, "one") + std::string("\x1C\x01\x5A\x00\x01X", 6) + iptc_dataset(25, "never");
    PictureMetadata pm;
    ParseIptcApp13(pm, app13({{0x0404, "", data}, {0x0404, "", iptc_dataset(25, "later block")}}));
    EXPECT_EQ(iptc_list(pm), (std::vector<std::pair<int, std::string>>{{5, "one"}}));
}

TEST(IptcReader, ReadsEveryIptcResourceOfTheSegment) {
    PictureMetadata pm;
    ParseIptcApp13(pm, app13({{0x0404, "", iptc_dataset(25, "a")}, {0x0404, "", iptc_dataset(25, "b")}}));
    EXPECT_EQ(pm.IptcTag(25)->inhalt, "a,b");
}

TEST(IptcReader, IgnoresOtherSegments) {
    PictureMetadata pm;
    std::string block = std::string("8BIM\x04\x04\0\0\0\0\0\x08", 12) + iptc_dataset(5, "abc");
    std::string not_photoshop = marker_segment(0xED, std::string("Adobe_CM\0", 9) + block);
    EXPECT_EQ(ParseIptcApp13(pm, not_photoshop), IptcParseResult::no_iptc);
    EXPECT_EQ(ParseIptcApp13(pm, app13({{0x03ED, "", "xxxx"}})), IptcParseResult::read);
    EXPECT_EQ(pm.IptcCount(), 0);
}

TEST(IptcReader, HostileBlocksAreSafe) {
    const std::string good = app13({{0x0404, "", iptc_dataset(25, "sea") + iptc_dataset(25, "beach")}});
    // Every truncation of a good segment.
    for (std::size_t n = 0; n <= good.size(); ++n) {
        PictureMetadata pm;
        ParseIptcApp13(pm, std::string_view(good).substr(0, n));
        EXPECT_LE(pm.IptcCount(), 1);
    }
    // A size of 4 GB, a dataset length past the end, an extended length field of 0x7FFF bytes.
    const std::vector<std::string> hostile = {
        marker_segment(0xED, std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\xFF\xFF\xFF\xFF", 26) + iptc_dataset(5, "x")),
        marker_segment(0xED, std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\0\0\0\x20\x1C\x02\x05\x01\x00xy", 33)),
        marker_segment(0xED, std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\0\0\0\x20\x1C\x02\x05\xFF\xFFxy", 33)),
        marker_segment(0xED, std::string("Photoshop 3.0\0" "8BIM\x04\x04\xFF", 21)),
    };
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        SCOPED_TRACE(i);
        PictureMetadata pm;
        EXPECT_EQ(ParseIptcApp13(pm, hostile[i]), IptcParseResult::damaged);
        EXPECT_LE(pm.IptcCount(), 1);
    }
}

// ---- comments and the whole read ------------------------------------------------

TEST(ImageComments, JpegCommentsAreKeyedByTheirNumber) {
    auto captured = std::make_shared<CapturedMetadata>();
    captured->jpeg_markers = {{0xFE, "first"}, {0xE0, "JFIF"}, {0xFE, std::string("second\0tail", 11)}, {0xFE, ""},
                              {0xFE, "fourth"}};
    PictureMetadata pm;
    pm.set_source(captured, picture_type::jpeg);
    ASSERT_EQ(pm.ImageCommentCount(), 3);
    EXPECT_EQ(pm.ImageCommentItem("P1")->inhalt, "first");
    EXPECT_EQ(pm.ImageCommentItem("p2")->inhalt, "second");
    EXPECT_EQ(pm.ImageCommentItem("P3"), nullptr);  // an empty segment adds nothing, the numbers stay
    EXPECT_EQ(pm.ImageCommentPos(3)->key, "P4");
}

TEST(ImageComments, PngTextsAreKeyedByKeywordOnceEach) {
    auto captured = std::make_shared<CapturedMetadata>();
    captured->png_texts = {{"Comment", "one"}, {"Author", "Anna"}, {"COMMENT", "two"}, {"Empty", ""}};
    PictureMetadata pm;
    pm.set_source(captured, picture_type::png);
    ASSERT_EQ(pm.ImageCommentCount(), 2);
    EXPECT_EQ(pm.ImageCommentPos(1)->key, "Comment");
    EXPECT_EQ(pm.ImageCommentItem("comment")->inhalt, "two");
    EXPECT_EQ(pm.ImageCommentItem("Empty"), nullptr);
}

TEST(ReadImageMetadata, ReadsEverySegmentOfAJpegAndNothingOfOtherTypes) {
    TiffBuilder b(false);
    int d = b.add_directory();
    b.add(d, text(271, "Maker"));
    TiffBuilder b2(true);
    int d2 = b2.add_directory();
    b2.add(d2, text(272, "Second segment"));
    CapturedMetadata captured;
    captured.jpeg_markers = {{0xE1, b.app1_payload()},
                             {0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>"},
                             {0xED, photoshop_payload({{0x0404, "", iptc_dataset(25, "k")}})},
                             {0xE1, b2.app1_payload()},
                             {0xFE, "note"}};
    PictureMetadata pm;
    MetadataReadReport report = ReadImageMetadata(pm, captured, picture_type::jpeg);
    EXPECT_EQ(report.exif_segments, 3);
    EXPECT_EQ(report.iptc_segments, 1);
    EXPECT_FALSE(report.damaged);
    EXPECT_EQ(pm.ExifCount(1), 2);  // later segments add to the same lists
    EXPECT_EQ(pm.IptcCount(), 1);
    EXPECT_EQ(pm.ImageCommentCount(), 1);

    for (int type : {picture_type::bmp, picture_type::tiff, picture_type::png}) {
        PictureMetadata other;
        ReadImageMetadata(other, captured, type);
        EXPECT_EQ(other.ExifCount() + other.IptcCount() + other.ImageCommentCount(), 0) << type;
    }
}
