#include "generation/metadata_accessors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

#include "foundation/error.h"
#include "image/metadata/exif_test_support.h"
#include "image/metadata/metadata_definition.h"
#include "image/picture_type.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

long error_number(const std::function<void()>& call) {
    try {
        call();
    } catch (const GalvoraError& e) {
        return e.number();
    }
    return 0;
}

class MetadataAccessors : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir_.path() / "metadata.def")
            << "#version 2\n#main\n+271,0,0,Hersteller\n#makernote canon01\n+7,0,0,Firmware-Version\n"
               "#iptc\n+25,Stichwörter\n";
        metadata_definition().clear();
        ASSERT_TRUE(LoadMetadataDefinition(dir_.path() / "metadata.def", [](const std::string&, const std::string&) {}));
    }
    void TearDown() override {
        set_current_picture_metadata(nullptr);
        metadata_definition().clear();
    }

    // A JPEG picture of the given make whose EXIF directory holds a maker note
    // (one entry, tag 7) and the exposure time twice; with IPTC and comments.
    static std::shared_ptr<CapturedMetadata> picture(const std::string& make, const std::string& model) {
        TiffBuilder b(false);
        int d = b.add_directory();
        int exif = b.add_directory();
        b.add(d, text(271, make));
        b.add(d, text(272, model));
        b.add(d, rationals(33434, {{1, 60}}, false));
        b.pointer(d, 34665, exif);
        b.add(exif, rationals(33434, {{1, 125}}, false));
        b.add(exif, rationals(37386, {{50, 1}}, false));
        b.makernote(exif, 32, [](std::uint32_t off) { return encode_directory({shorts(7, {3}, false)}, false, off, 0); });
        return holiday_jpeg(b);
    }

    TempDir dir_;
};

}  // namespace

TEST_F(MetadataAccessors, NoCurrentPictureIsARunTimeError) {
    set_current_picture_metadata(nullptr);
    std::string text;
    std::int64_t number = 0;
    ZNExif value;
    const std::vector<std::function<void()>> calls = {
        [] { bild_hat_exif(); },
        [] { bild_exifkennung(); },
        [] { bild_exif_anzahl(1); },
        [&] { bild_exif_wert(1, 271, value); },
        [&] { bild_exif_nummer(1, 1, number); },
        [&] { bild_exif_tagname(1, 271, 0, text); },
        [] { bild_brennweitenfaktor(5.0); },
        [&] { bild_iptc_wert(25, text); },
        [] { bild_iptc_anzahl(); },
        [&] { bild_iptc_nummer(1, number); },
        [] { bild_kommentar_anzahl(); },
        [&] { bild_kommentar_text("P1", text); },
        [&] { bild_kommentar_pos_text(1, text); },
        [&] { bild_kommentar_schluessel(1, text); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(error_number(calls[i]), 91) << i;
    // The IPTC names need no picture.
    EXPECT_TRUE(iptc_tagname(25, text));
    EXPECT_EQ(text, "Stichwörter");
    EXPECT_FALSE(iptc_tagname(26, text));
}

TEST_F(MetadataAccessors, PictureWithoutMetadata) {
    PictureMetadata pm;
    pm.set_source(std::make_shared<CapturedMetadata>(), picture_type::jpeg);
    CurrentPictureScope scope(&pm);
    ZNExif value;
    value.tag = -1;
    EXPECT_FALSE(bild_hat_exif());
    for (int tag : {271, 33434, 0}) EXPECT_FALSE(bild_exif_wert(1, tag, value));
    EXPECT_EQ(value.tag, -1);  // untouched
    EXPECT_EQ(bild_exifkennung(), 0);
    EXPECT_DOUBLE_EQ(bild_brennweitenfaktor(5.8), 5.8);  // no EXIF: factor 1.0
    EXPECT_EQ(bild_iptc_anzahl(), 0);
    EXPECT_EQ(bild_kommentar_anzahl(), 0);
}

TEST_F(MetadataAccessors, ReadTheCurrentPicture) {
    PictureMetadata pm;
    pm.set_source(picture("Canon", "Unlisted Model"), picture_type::jpeg);
    set_current_picture_metadata(&pm);

    EXPECT_TRUE(bild_hat_exif());
    EXPECT_EQ(bild_exifkennung(), 4);
    EXPECT_EQ(bild_exif_anzahl(3), 1);
    EXPECT_EQ(bild_exif_anzahl(9), 0);
    ZNExif value;
    ASSERT_TRUE(bild_exif_wert(1, 33434, value));  // the first of two in reading order
    EXPECT_EQ(value.typ, kExifTypText);
    EXPECT_EQ(value.inhalt, std::vector<ExifValue>{std::string("1/60")});
    EXPECT_EQ(error_number([&] { bild_exif_wert(5, 33434, value); }), 9);

    std::int64_t tag = 0;
    ASSERT_TRUE(bild_exif_nummer(1, 1, tag));
    EXPECT_EQ(tag, 271);
    EXPECT_FALSE(bild_exif_nummer(1, 0, tag));
    EXPECT_FALSE(bild_exif_nummer(5, 1, tag));

    std::string name;
    ASSERT_TRUE(bild_exif_tagname(1, 271, 0, name));
    EXPECT_EQ(name, "Hersteller");
    EXPECT_FALSE(bild_exif_tagname(1, 271, 1, name));
    ASSERT_TRUE(bild_exif_tagname(3, 7, 0, name));  // Canon has a maker-note table
    EXPECT_EQ(name, "Firmware-Version");

    // EXIF from an unlisted model: no factor known, the equivalent is 0.
    EXPECT_DOUBLE_EQ(bild_brennweitenfaktor(50.0), 0.0);

    std::string text;
    ASSERT_TRUE(bild_iptc_wert(25, text));
    EXPECT_EQ(text, "sea,beach");
    EXPECT_FALSE(bild_iptc_wert(5, text));
    EXPECT_EQ(bild_iptc_anzahl(), 1);
    std::int64_t number = 0;
    ASSERT_TRUE(bild_iptc_nummer(1, number));
    EXPECT_EQ(number, 25);
    EXPECT_FALSE(bild_iptc_nummer(2, number));

    EXPECT_EQ(bild_kommentar_anzahl(), 1);
    ASSERT_TRUE(bild_kommentar_text("p1", text));
    EXPECT_EQ(text, "Urlaub");
    ASSERT_TRUE(bild_kommentar_pos_text(1, text));
    EXPECT_EQ(text, "Urlaub");
    ASSERT_TRUE(bild_kommentar_schluessel(1, text));
    EXPECT_EQ(text, "P1");
    EXPECT_FALSE(bild_kommentar_text("P2", text));
    EXPECT_FALSE(bild_kommentar_pos_text(2, text));
}

TEST_F(MetadataAccessors, MakerNoteNamesNeedAKnownCamera) {
    PictureMetadata pm;
    pm.set_source(picture("Samsung Techwin", "X"), picture_type::jpeg);
    CurrentPictureScope scope(&pm);
    std::string name;
    EXPECT_EQ(bild_exifkennung(), 0);
    EXPECT_FALSE(bild_exif_tagname(3, 7, 0, name));
    EXPECT_TRUE(name.empty());
}

TEST_F(MetadataAccessors, FocalFactorOfAListedModelAndScopeRestores) {
    std::ofstream(dir_.path() / "focal.def") << "#version 2\n#focalequiv Canon\n+Canon EOS 300D DIGITAL,1.6\n";
    metadata_definition().clear();
    ASSERT_TRUE(LoadMetadataDefinition(dir_.path() / "focal.def", [](const std::string&, const std::string&) {}));
    PictureMetadata outer, inner;
    outer.set_source(std::make_shared<CapturedMetadata>(), picture_type::jpeg);
    inner.set_source(picture("Canon", "Canon EOS 300D DIGITAL"), picture_type::jpeg);
    set_current_picture_metadata(&outer);
    {
        CurrentPictureScope scope(&inner);
        EXPECT_DOUBLE_EQ(bild_brennweitenfaktor(50.0), 80.0);
        EXPECT_EQ(error_number([] { bild_brennweitenfaktor(std::numeric_limits<double>::max()); }), 6);
    }
    EXPECT_EQ(current_picture_metadata(), &outer);
}
