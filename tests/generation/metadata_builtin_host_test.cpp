// The built-ins of templates reading a picture's metadata through the
// engine's host: the whole road from the markers to the page text.
#include "generation/metadata_builtin_host.h"

#include <gtest/gtest.h>

#include "generation/metadata_accessors.h"
#include "image/metadata/exif_test_support.h"
#include "image/metadata/metadata_definition.h"
#include "image/picture_type.h"
#include "script/builtins/builtin_frame.h"
#include "script/script_test_support.h"
#include "script/trial_run.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

// The run's part of the host is not needed here.
class TestHost : public MetadataBuiltinHost {
public:
    bool verzeichnis_info(int32_t, int32_t, ZNSVariable&) override { return false; }
    bool bild_info(int32_t, int32_t, int32_t, ZNSVariable&) override { return false; }
    void bild_drehen(int32_t) override {}
    void bild_spiegeln(int32_t) override {}
    void linie_zeichnen(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void ellipse_zeichnen(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void rechteck_fuellen(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    int32_t durchschnittsfarbe() override { return 0; }
};

class TemplatesReadMetadata : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        eingebaute_funktionen_registrieren();
        metadata_definition().clear();
        const auto shipped = std::filesystem::path(GALVORA_SOURCE_DIR) / "resources" / "metadata.def";
        ASSERT_TRUE(LoadMetadataDefinition(shipped, [](const std::string&, const std::string& text) {
            ADD_FAILURE() << text;
        }));
        set_builtin_host(&host_);
    }
    void TearDown() override {
        set_builtin_host(nullptr);
        set_current_picture_metadata(nullptr);
        metadata_definition().clear();
        ScriptTest::TearDown();
    }

    std::string run(const std::string& text) {
        ZNSProbelauf r = skript_probelauf(text);
        EXPECT_EQ(r.compile_code, 0) << r.meldung;
        EXPECT_EQ(r.errn, 0) << r.errs;
        return r.ausgabe;
    }

    TestHost host_;
};

std::shared_ptr<CapturedMetadata> canon_picture() {
    const bool big = true;
    TiffBuilder b(big);
    int d = b.add_directory();
    int exif = b.add_directory();
    int gps = b.add_directory();
    b.add(d, text(271, "Canon"));
    b.add(d, text(272, "Canon EOS 300D DIGITAL"));
    b.add(d, shorts(274, {6}, big));
    b.pointer(d, 34665, exif);
    b.pointer(d, 34853, gps);
    b.add(exif, rationals(33434, {{1, 125}}, big));
    b.add(exif, rationals(33437, {{28, 10}}, big));
    b.add(exif, rationals(37386, {{50, 1}}, big));
    b.add(exif, longs(0xA002, {3000000000u}, big));
    b.add(gps, rationals(2, {{48, 1}, {5123, 100}, {0, 1}}, big));
    b.makernote(exif, 32, [](std::uint32_t off) { return encode_directory({shorts(6, {1}, true)}, true, off, 0); });
    return holiday_jpeg(b);
}

}  // namespace

TEST_F(TemplatesReadMetadata, ValuesNamesAndTextsReachThePage) {
    PictureMetadata pm;
    pm.set_source(canon_picture(), picture_type::jpeg);
    CurrentPictureScope scope(&pm);
    EXPECT_EQ(run("{exif(\"Hersteller\")}|{exif(272)}|{exifnice(33434)}|{exifnice(\"Blende\")}|{exifnice(274)}"),
              "Canon|Canon EOS 300D DIGITAL|1/125|f2.8|90° im Uhrzeigersinn gedreht");
    EXPECT_EQ(run("{exifnice(37386)}|{exifnice(37386, 0, 1)}|{exiftagname(274)}|{exifcount(@MAKERNOTE)}"),
              "50.0mm|80mm|Ausrichtung|1");
    EXPECT_EQ(run("{exifnice(2, 0, 1, @GPS)}"), "48&deg; 51' 13.80\"");
    // An unsigned value of 2^31 and more keeps its value.
    EXPECT_EQ(run("{exif(40962)}|{exifnice(40962, 0, 10)}"), "3000000000.0|3000000000.0");
    EXPECT_EQ(run("{iptc(\"Stichwörter\")}|{iptctagname(25)}|{imagecomment(\"p1\")}|{imagecommentkey(1)}"),
              "sea,beach|Stichwörter|Urlaub|P1");
}

TEST_F(TemplatesReadMetadata, NoCurrentPictureGivesError) {
    EXPECT_EQ(run("{exif()}|{iptccount()}|{imagecomment(1)}"), "@error|@error|@error");
}
