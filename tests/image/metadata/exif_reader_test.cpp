#include "image/metadata/exif_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "exif_test_support.h"
#include "image/metadata/metadata_definition.h"
#include "image/metadata/picture_metadata.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

std::string segment_of(const TiffBuilder& b) { return marker_segment(0xE1, b.app1_payload()); }

// A picture with the entries of one directory each in IFD0, the EXIF
// directory, the GPS directory and IFD1, built in either byte order.
std::string sample_segment(bool big) {
    TiffBuilder b(big);
    int ifd0 = b.add_directory();
    int exif = b.add_directory();
    int gps = b.add_directory();
    int ifd1 = b.add_directory();
    b.add(ifd0, text(271, "Canon"));
    b.add(ifd0, text(272, "Canon EOS 300D DIGITAL"));
    b.add(ifd0, shorts(274, {6}, big));
    b.add(ifd0, rationals(282, {{72, 1}}, big));
    b.pointer(ifd0, 34665, exif);
    b.pointer(ifd0, 34853, gps);
    b.next(ifd0, ifd1);
    b.add(exif, rationals(33434, {{1, 125}}, big));
    b.add(exif, rationals(33437, {{28, 10}}, big));
    b.add(exif, shorts(34855, {400}, big));
    b.add(exif, text(36867, "2004:05:06 07:08:09"));
    b.add(exif, srationals(37380, {{-1, 3}}, big));
    b.add(exif, bytes(36864, 7, "0220"));
    b.add(exif, bytes(37121, 7, std::string("\x01\x02\x03\x00", 4)));
    b.add(exif, slongs(0x9999, {-5, 7}, big));
    b.add(gps, bytes(0, 1, std::string("\x02\x02\x00\x00", 4)));
    b.add(gps, text(1, "N"));
    b.add(gps, rationals(2, {{48, 1}, {5123, 100}, {0, 1}}, big));
    b.add(ifd1, shorts(259, {6}, big));
    b.add(ifd1, longs(513, {4000}, big));
    b.add(ifd1, longs(514, {1234}, big));
    return segment_of(b);
}

std::vector<std::string> dump(PictureMetadata& pm) {
    std::vector<std::string> out;
    for (int section = 1; section <= 4; ++section) {
        for (std::int64_t i = 1; i <= pm.ExifCount(section); ++i) {
            const ZNExif* e = pm.ExifPos(section, i);
            std::string line = std::to_string(section) + ":" + std::to_string(e->tag) + ":" + std::to_string(e->typ) + "=";
            for (const auto& v : e->inhalt) {
                if (auto* n = std::get_if<std::int64_t>(&v)) line += std::to_string(*n) + ";";
                if (auto* d = std::get_if<double>(&v)) line += std::to_string(*d) + ";";
                if (auto* s = std::get_if<std::string>(&v)) line += *s + ";";
            }
            out.push_back(line);
        }
    }
    return out;
}

PictureMetadata parsed(const std::string& segment, ExifParseResult expected = ExifParseResult::read) {
    PictureMetadata pm;
    EXPECT_EQ(ParseExifApp1(pm, segment), expected);
    return pm;
}

std::string text_value(PictureMetadata& pm, int section, int tag, std::size_t index = 0) {
    const ZNExif* e = pm.ExifTag(section, tag);
    if (!e || index >= e->inhalt.size()) return "<none>";
    if (auto* s = std::get_if<std::string>(&e->inhalt[index])) return *s;
    return "<not text>";
}

std::int64_t int_value(PictureMetadata& pm, int section, int tag, std::size_t index = 0) {
    const ZNExif* e = pm.ExifTag(section, tag);
    if (!e || index >= e->inhalt.size()) return -999;
    return std::get<std::int64_t>(e->inhalt[index]);
}

}  // namespace

TEST(NumberReaders, ReadBothByteOrdersAndGiveZeroWhenShort) {
    EXPECT_EQ(ExifGetWord("\x12\x34", true), 0x1234);
    EXPECT_EQ(ExifGetWord("\x12\x34", false), 0x3412);
    EXPECT_EQ(ExifGetShort("\xFF\xFE", true), -2);
    EXPECT_EQ(ExifGetLong(std::string_view("\x80\x00\x00\x01", 4), true), 0x80000001u);  // kept, not 0
    EXPECT_EQ(ExifGetSLong("\xFF\xFF\xFF\xFF", false), -1);
    EXPECT_EQ(ExifGetWord("\x12", true), 0);
    EXPECT_EQ(ExifGetLong("\x12\x34\x56", false), 0u);
}

TEST(ExifReader, BigAndLittleEndianTwinsReadEqual) {
    PictureMetadata little = parsed(sample_segment(false));
    PictureMetadata big = parsed(sample_segment(true));
    EXPECT_EQ(dump(little), dump(big));
    EXPECT_EQ(little.ExifCount(), 20);
}

TEST(ExifReader, StoresEachTypeAsTheScriptsExpect) {
    PictureMetadata pm = parsed(sample_segment(true));
    EXPECT_EQ(text_value(pm, 1, 271), "Canon");
    EXPECT_EQ(text_value(pm, 1, 282), "72/1");
    EXPECT_EQ(text_value(pm, 1, 33434), "1/125");
    EXPECT_EQ(text_value(pm, 1, 33437), "28/10");
    EXPECT_EQ(text_value(pm, 1, 37380), "-1/3");
    EXPECT_EQ(text_value(pm, 1, 36867), "2004:05:06 07:08:09");
    EXPECT_EQ(int_value(pm, 1, 274), 6);
    EXPECT_EQ(int_value(pm, 1, 34855), 400);
    EXPECT_EQ(int_value(pm, 1, 0x9999, 0), -5);
    EXPECT_EQ(int_value(pm, 1, 0x9999, 1), 7);
    const ZNExif* version = pm.ExifTag(1, 36864);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->typ, kExifTypInteger);
    EXPECT_EQ(version->inhalt, (std::vector<ExifValue>{std::int64_t{'0'}, std::int64_t{'2'}, std::int64_t{'2'},
                                                       std::int64_t{'0'}}));
    // GPS entries land in section 4, IFD1 in section 2 (its pointer tags as integers).
    EXPECT_EQ(text_value(pm, 4, 2, 1), "5123/100");
    EXPECT_EQ(text_value(pm, 4, 1), "N");
    EXPECT_EQ(int_value(pm, 2, 513), 4000);
    EXPECT_EQ(int_value(pm, 2, 514), 1234);
    EXPECT_EQ(pm.ExifTag(1, 513), nullptr);
    // The pointer tags themselves are stored too.
    EXPECT_NE(pm.ExifTag(1, 34665), nullptr);
}

TEST(ExifReader, EdgeValues) {
    for (bool big : {false, true}) {
        TiffBuilder b(big);
        int d = b.add_directory();
        b.add(d, text(0x9001, "abc"));                 // 4 bytes with its zero: inside the entry
        b.add(d, text(0x9002, "abcdefgh"));            // from the offset
        b.add(d, rationals(0x9003, {{1, 0}}, big));     // denominator 0: stored as it is
        // Kept whole: read as 0, a real value would show as a wrong number, and
        // an offset of 2^31 or more would send the reader to the TIFF header.
        b.add(d, longs(0x9004, {0x80000000u, 0xFFFFFFFFu}, big));
        b.add(d, rationals(0x9005, {{0xFFFFFFFFu, 1}}, big));
        b.add(d, bytes(33432, 2, std::string("Photographer\0Editor\0", 20)));  // copyright keeps its zero
        b.add(d, floats(0x9006, {1.5f, -0.25f}, big));
        b.add(d, doubles(0x9007, {3.125}, big));
        b.add(d, bytes(0x9008, 6, "\xFF"));  // signed byte, not sign-extended
        PictureMetadata pm = parsed(segment_of(b));
        SCOPED_TRACE(big ? "MM" : "II");
        EXPECT_EQ(text_value(pm, 1, 0x9001), "abc");
        EXPECT_EQ(text_value(pm, 1, 0x9002), "abcdefgh");
        EXPECT_EQ(text_value(pm, 1, 0x9003), "1/0");
        EXPECT_EQ(int_value(pm, 1, 0x9004, 0), 2147483648);
        EXPECT_EQ(int_value(pm, 1, 0x9004, 1), 4294967295);
        EXPECT_EQ(text_value(pm, 1, 0x9005), "4294967295/1");
        EXPECT_EQ(text_value(pm, 1, 33432), std::string("Photographer\0Editor\0", 20));
        const ZNExif* f = pm.ExifTag(1, 0x9006);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->typ, kExifTypDouble);
        EXPECT_EQ(f->inhalt, (std::vector<ExifValue>{1.5, -0.25}));
        EXPECT_EQ(pm.ExifTag(1, 0x9007)->inhalt, (std::vector<ExifValue>{3.125}));
        EXPECT_EQ(int_value(pm, 1, 0x9008), 255);
    }
}

TEST(ExifReader, MakerNoteAndEmptyEntriesAreStoredAsOffsetTexts) {
    TiffBuilder b(false);
    int d = b.add_directory();
    b.add(d, text(271, "UnknownMaker"));
    b.add(d, raw(0x9010, 2, 0, 0x20));
    b.makernote(d, 12, [](std::uint32_t) { return std::string("ABCDEFGHIJKL"); });
    std::string seg = segment_of(b);
    PictureMetadata pm = parsed(seg);
    EXPECT_EQ(text_value(pm, 1, 0x9010), "Offset:" + std::to_string(0x20 + 11) + " Bytes:0");
    std::string note = text_value(pm, 1, 37500);
    ASSERT_EQ(note.rfind("Offset:", 0), 0u) << note;
    std::size_t v = std::stoul(note.substr(7));
    EXPECT_EQ(note, "Offset:" + std::to_string(v) + " Bytes:12");
    EXPECT_EQ(seg.substr(v - 1, 12), "ABCDEFGHIJKL");  // positions count from 1
    EXPECT_EQ(pm.camera_id, 0);
    EXPECT_EQ(pm.ExifCount(3), 0);
}

TEST(ExifReader, UnknownTypeEndsTheDirectory) {
    TiffBuilder b(true);
    int d = b.add_directory();
    int d1 = b.add_directory();
    b.add(d, shorts(0x100, {1}, true));
    b.add(d, raw(0x101, 13, 1, 0));
    b.add(d, shorts(0x102, {2}, true));
    b.next(d, d1);
    b.add(d1, shorts(0x103, {3}, true));
    PictureMetadata pm = parsed(segment_of(b), ExifParseResult::damaged);
    EXPECT_EQ(pm.ExifCount(1), 1);
    EXPECT_EQ(pm.ExifCount(2), 0);  // the next-directory link is not followed
}

TEST(ExifReader, NotATiffHeaderStoresNothing) {
    PictureMetadata pm;
    pm.camera_feq = 2.5;
    std::string xmp = marker_segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>");
    EXPECT_EQ(ParseExifApp1(pm, xmp), ExifParseResult::not_exif);
    EXPECT_EQ(ParseExifApp1(pm, ""), ExifParseResult::not_exif);
    EXPECT_EQ(pm.ExifCount(), 0);
    EXPECT_EQ(pm.camera_feq, 2.5);
}

// Hostile structures: each must end quietly, keep what was read before, and
// read nothing outside the segment (AddressSanitizer watches the last part).
TEST(ExifReader, HostileStructuresEndQuietly) {
    struct Case {
        const char* name;
        std::function<std::string()> make;
        int stored;  // entries expected in all sections together
    };
    const bool big = false;
    std::vector<Case> cases = {
        {"next link back to itself",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, shorts(0x100, {1}, big));
             b.next(d, d);
             return segment_of(b);
         },
         1},
        {"EXIF pointer back to IFD0",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, shorts(0x100, {1}, big));
             b.pointer(d, 34665, d);
             return segment_of(b);
         },
         2},
        {"two directories pointing at each other",
         [&] {
             TiffBuilder b(big);
             int d0 = b.add_directory();
             int d1 = b.add_directory();
             b.pointer(d0, 34853, d1);
             b.pointer(d1, 34665, d0);
             return segment_of(b);
         },
         2},
        {"count of 2^32-1",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, shorts(0x100, {1}, big));
             b.add(d, raw(0x101, 3, 0xFFFFFFFFu, 8));
             b.add(d, shorts(0x102, {2}, big));
             return segment_of(b);
         },
         1},
        {"byte size over 32 bits",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, raw(0x101, 12, 0x40000000u, 8));
             return segment_of(b);
         },
         0},
        {"value offset past the end",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, shorts(0x100, {1}, big));
             b.add(d, raw(0x9002, 2, 100, 0x7FFFFFF0u));  // an empty text
             b.add(d, raw(0x9003, 7, 100, 0x7FFFFFF0u));  // bytes: the directory ends
             b.add(d, shorts(0x102, {2}, big));
             return segment_of(b);
         },
         2},
        {"pointer past the end",
         [&] {
             TiffBuilder b(big);
             int d = b.add_directory();
             b.add(d, raw(34665, 4, 1, 0xFFFFFF00u));
             return segment_of(b);
         },
         1},
        {"IFD0 offset past the end",
         [&] {
             std::string seg = marker_segment(0xE1, std::string("Exif\0\0II\x2A\0\xFF\xFF\x00\x00", 14));
             return seg;
         },
         0},
        {"entry count larger than the segment",
         [&] {
             return marker_segment(0xE1, std::string("Exif\0\0II\x2A\0\x08\0\0\0\xFF\xFF\x00\x01\x03\x00", 20));
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureMetadata pm;
        EXPECT_EQ(ParseExifApp1(pm, c.make()), ExifParseResult::damaged);
        EXPECT_EQ(pm.ExifCount(), c.stored);
    }
}

// Values that lie past the end of the segment read as the number readers
// give them there, 0, and texts keep what lies inside; the directory goes on.
// Only byte values there end it, without its next-directory link.
TEST(ExifReader, ValuesPastTheEndReadAsZeroUntilAByteValue) {
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        TiffBuilder b(big);
        int d = b.add_directory();
        int d1 = b.add_directory();
        b.add(d, shorts(0x100, {1}, big));
        b.add(d, raw(0x101, 3, 3, 0x7FFFFFF0u));   // three shorts
        b.add(d, raw(0x102, 4, 2, 0xFFFFFF00u));   // two longs
        b.add(d, raw(0x103, 5, 1, 0x7FFFFFF0u));   // a rational
        b.add(d, raw(0x104, 10, 1, 0x7FFFFFF0u));  // a signed rational
        b.add(d, raw(0x105, 9, 2, 0x7FFFFFF0u));   // two signed longs
        b.add(d, raw(0x106, 2, 20, 0x7FFFFFF0u));  // a text
        b.add(d, shorts(0x107, {7}, big));
        b.add(d, raw(0x108, 1, 8, 0x7FFFFFF0u));   // bytes: the end of this directory
        b.add(d, shorts(0x109, {9}, big));
        b.next(d, d1);
        b.add(d1, shorts(0x10A, {10}, big));
        PictureMetadata pm = parsed(segment_of(b), ExifParseResult::damaged);
        EXPECT_EQ(dump(pm), (std::vector<std::string>{"1:256:1=1;", "1:257:1=0;0;0;", "1:258:1=0;0;", "1:259:4=0/0;",
                                                      "1:260:4=0/0;", "1:261:1=0;0;", "1:262:4=;", "1:263:1=7;"}));
    }
    // A text and three shorts that begin inside the segment, on its last four
    // bytes, and run past its end: the text keeps the part inside, the short
    // past the end reads 0.
    const std::string tiff = std::string("II") + enc16(42, false) + enc32(8, false) + enc16(2, false) +
                             enc16(0x200, false) + enc16(2, false) + enc32(10, false) + enc32(38, false) +
                             enc16(0x201, false) + enc16(3, false) + enc32(3, false) + enc32(38, false) +
                             enc32(0, false) + "ABCD";
    PictureMetadata pm = parsed(marker_segment(0xE1, std::string("Exif\0\0", 6) + tiff), ExifParseResult::damaged);
    EXPECT_EQ(dump(pm), (std::vector<std::string>{"1:512:4=ABCD;", "1:513:1=16961;17475;0;"}));
}

TEST(ExifReader, EveryTruncationOfASegmentIsSafe) {
    const std::string full = sample_segment(true);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        PictureMetadata pm;
        ParseExifApp1(pm, std::string_view(full).substr(0, n));
        EXPECT_LE(pm.ExifCount(), 20);
    }
}

// ---- maker notes --------------------------------------------------------------

namespace {

struct NoteFixture {
    std::string segment;
};

// A picture of the given make and model whose maker note is built by `note`
// from the maker note's offset (counted from the TIFF header).
std::string picture_with_note(bool big, const std::string& make, const std::string& model, std::size_t size,
                              std::function<std::string(std::uint32_t)> note) {
    TiffBuilder b(big);
    int d = b.add_directory();
    int exif = b.add_directory();
    b.add(d, text(271, make));
    b.add(d, text(272, model));
    b.pointer(d, 34665, exif);
    b.makernote(exif, size, std::move(note));
    return segment_of(b);
}

// A maker-note directory of one SHORT entry (tag 7 = value) and no next link.
std::string note_directory(bool big, std::uint32_t offset, std::uint16_t value) {
    return encode_directory({shorts(7, {value}, big)}, big, offset, 0);
}

}  // namespace

TEST(ExifReader, MakerNoteLayoutsByMake) {
    struct Case {
        std::string make, model;
        bool big;
        int id;
        // builds the note bytes from the note's TIFF offset
        std::function<std::string(std::uint32_t)> note;
    };
    const std::vector<Case> cases = {
        {"Canon", "Canon PowerShot S400", false, 4,
         [](std::uint32_t off) { return note_directory(false, off, 77); }},
        {"OLYMPUS OPTICAL CO.,LTD", "C2500L", true, 18,
         [](std::uint32_t off) { return std::string("OLYMP\0\x01\0", 8) + note_directory(true, off + 8, 77); }},
        {"Panasonic", "DMC-FZ8", false, 19,
         [](std::uint32_t off) { return std::string("Panasonic\0\0\0", 12) + note_directory(false, off + 12, 77); }},
        {"SIGMA", "SIGMA SD10", false, 25,
         [](std::uint32_t off) { return std::string("SIGMA\0\0\0\x01\0", 10) + note_directory(false, off + 10, 77); }},
        {"PENTAX Corporation", "PENTAX Optio 430", true, 3,
         [](std::uint32_t off) { return std::string("AOC\0MM", 6) + note_directory(true, off + 6, 77); }},
        {"CASIO", "QV-3000EX", true, 5,
         // offsets of the older Casio layout count from the maker note itself
         [](std::uint32_t) { return note_directory(true, 0, 77); }},
        {"NIKON", "E950", false, 16,
         [](std::uint32_t off) { return std::string("Nikon\0\x01\0", 8) + note_directory(false, off + 8, 77); }},
        {"NIKON CORPORATION", "NIKON D70", true, 17,
         // "Nikon\0\2\0\0\0" then an own TIFF header; offsets count from that header
         [](std::uint32_t) {
             return std::string("Nikon\0\x02\x10\0\0", 10) + "MM" + enc16(42, true) + enc32(8, true) +
                    note_directory(true, 8, 77);
         }},
        {"NIKON", "COOLPIX 885", false, 17,
         [](std::uint32_t off) { return note_directory(false, off, 77); }},
        {"RICOH", "Caplio RR30", true, 21,
         [](std::uint32_t off) { return std::string("RICOH\0\0\0", 8) + note_directory(true, off + 8, 77); }},
        {"JENOPTIK", "JD 4.1 z8", false, 10,
         [](std::uint32_t off) { return std::string("SKANHxxx", 8) + note_directory(false, off + 8, 77); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.make + " / " + c.model);
        PictureMetadata pm = parsed(picture_with_note(c.big, c.make, c.model, 64, c.note));
        EXPECT_EQ(pm.camera_id, c.id);
        EXPECT_EQ(int_value(pm, 3, 7), 77);
    }
}

TEST(ExifReader, MakeOfFourBytesIsReadFromTheEntry) {
    // "AGFA" without a closing zero fits the entry's value field: the make
    // comes from there, not from an offset the field does not hold.
    TiffBuilder b(false);
    int d = b.add_directory();
    int exif = b.add_directory();
    b.add(d, bytes(271, 2, "AGFA"));
    b.pointer(d, 34665, exif);
    b.makernote(exif, 32, [](std::uint32_t off) { return std::string("AGFA\0\x01\0\0", 8) + note_directory(false, off + 8, 5); });
    PictureMetadata pm = parsed(segment_of(b));
    EXPECT_EQ(text_value(pm, 1, 271), "AGFA");
    EXPECT_EQ(pm.camera_id, 18);
    EXPECT_EQ(int_value(pm, 3, 7), 5);
}

TEST(ExifReader, MakeAndModelOfAnyTypeChooseTheMakerNote) {
    // Make and model written as undefined (7) or byte (1) values instead of
    // text: their bytes up to the first zero still name the camera.
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        TiffBuilder b(big);
        int d = b.add_directory();
        int exif = b.add_directory();
        b.add(d, bytes(271, 1, std::string("NIKON\0xyz", 9)));
        b.add(d, bytes(272, 7, std::string("E950\0", 5)));
        b.pointer(d, 34665, exif);
        b.makernote(exif, 32, [big](std::uint32_t off) {
            return std::string("Nikon\0\x01\0", 8) + note_directory(big, off + 8, 5);
        });
        PictureMetadata pm = parsed(segment_of(b));
        EXPECT_EQ(pm.camera_id, 16);  // only a model containing "E95" gives 16
        EXPECT_EQ(int_value(pm, 3, 7), 5);
        EXPECT_EQ(pm.ExifTag(1, 271)->typ, kExifTypInteger);  // stored as the bytes they are
    }
}

TEST(ExifReader, FujifilmNoteIsLittleEndianInABigEndianFile) {
    // "FUJIFILM", then the 32-bit little-endian offset of the directory from the note start.
    auto note = [](std::uint32_t) {
        return std::string("FUJIFILM") + enc32(12, false) + encode_directory({shorts(7, {0x0102}, false)}, false, 12, 0);
    };
    for (const std::string make : {"FUJIFILM", "LEICA"}) {
        SCOPED_TRACE(make);
        PictureMetadata pm = parsed(picture_with_note(true, make, "FinePix Z1", 64, note));
        EXPECT_EQ(pm.camera_id, 8);
        EXPECT_EQ(int_value(pm, 3, 7), 0x0102);
    }
}

TEST(ExifReader, MakesWithoutNoteLayout) {
    // Pentax without "AOC", Ricoh without "RICOH", Jenoptik without "SKANH" and
    // unknown makes keep code 0: the maker note is only its offset text.
    for (const std::string make : {"PENTAX", "RICOH", "JENOPTIK", "Samsung Techwin"}) {
        SCOPED_TRACE(make);
        PictureMetadata pm =
            parsed(picture_with_note(false, make, "X", 64, [](std::uint32_t off) { return note_directory(false, off, 1); }));
        EXPECT_EQ(pm.camera_id, 0);
        EXPECT_EQ(pm.ExifCount(3), 0);
    }
}

TEST(ExifReader, TruncatedMakerNoteIsSafe) {
    // The note claims a directory of 200 entries but the segment ends after a few bytes.
    std::string seg = picture_with_note(false, "Canon", "Canon EOS 10D", 6,
                                        [](std::uint32_t) { return enc16(200, false) + std::string(4, '\x01'); });
    PictureMetadata pm;
    EXPECT_EQ(ParseExifApp1(pm, seg), ExifParseResult::damaged);
    EXPECT_EQ(pm.camera_id, 4);
    EXPECT_EQ(pm.ExifCount(3), 0);
    EXPECT_EQ(text_value(pm, 1, 271), "Canon");
}

TEST(ExifReader, FocalFactorOfTheModel) {
    TempDir dir;
    const auto file = dir.path() / "metadata.def";
    std::ofstream(file) << "#version 2\n#focalequiv Canon\n+Canon EOS 300D (Rebel),1.6\n";
    MetadataDefinition& defs = metadata_definition();
    defs.clear();
    ASSERT_TRUE(LoadMetadataDefinition(file, [](const std::string&, const std::string&) {}));

    PictureMetadata listed = parsed(sample_segment(false));  // model "Canon EOS 300D DIGITAL"
    EXPECT_EQ(listed.camera_feq, 0.0);  // not the listed model: no factor known
    TiffBuilder b(true);
    int d = b.add_directory();
    b.add(d, text(271, "Whoever"));
    b.add(d, text(272, "canon eos 300d"));
    PictureMetadata other_make = parsed(segment_of(b));
    EXPECT_EQ(other_make.camera_feq, 1.6);  // the make plays no part
    EXPECT_EQ(other_make.camera_id, 0);
    defs.clear();
}
