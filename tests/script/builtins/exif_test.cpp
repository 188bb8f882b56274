// exif, exifcount, exiftag, exiftagname, exifcomponentcount and exifnice over
// a picture held by the test host.
#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;
using testing::FakeHost;
using testing::HostScope;

ExifEintrag ganz(int32_t tag, std::initializer_list<int32_t> werte) {
    ExifEintrag e{tag, TYP_INTEGER, {}};
    for (int32_t v : werte) e.komponenten.emplace_back(v);
    return e;
}
ExifEintrag text(int32_t tag, std::initializer_list<std::string> werte) {
    ExifEintrag e{tag, TYP_STRING, {}};
    for (const auto& v : werte) e.komponenten.emplace_back(v);
    return e;
}
ExifEintrag bytes(int32_t tag, std::string_view b) {
    ExifEintrag e{tag, TYP_INTEGER, {}};
    for (unsigned char c : b) e.komponenten.emplace_back(static_cast<int32_t>(c));
    return e;
}

class ExifTest : public BuiltinTest {
protected:
    void SetUp() override {
        BuiltinTest::SetUp();
        std::vector<ExifEintrag> haupt = {
            text(33434, {"1/125"}),
            text(33437, {"28/10"}),
            bytes(36864, "0220"),
            ganz(37121, {1, 2, 3, 0}),
            text(37386, {"58/10"}),
            text(33432, {std::string("Foto\0Edit", 9)}),
            ganz(274, {6}),
            ganz(530, {4, 5, 6}),
            ganz(700, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
            ExifEintrag{900, TYP_DOUBLE, {2.5, 0.125}},
            text(36867, {"2023:05:15 18:30:00"}),
            bytes(37510, std::string("ASCII\0\0\0  Hallo \0", 18)),
            text(41000, {"7/2", "1/3"}),
        };
        host.exif[1] = haupt;
        host.exif[2] = {ganz(259, {6})};
        host.exif[3] = {ganz(1, {2})};
        host.exif[4] = {
            bytes(0, std::string("\2\2\0\0", 4)),
            text(2, {"48/1", "5123/100", "0/1"}),
            text(4, {"48/1", "51/1", "30/1"}),
            text(20, {"4800/100", "30/60", "0/1"}),
        };
        auto def = [this](int32_t code, int32_t s, int32_t tag, const char* name, int32_t modus = 0) {
            host.definitionen.push_back({code, s, tag, 0, ExifDefinition{name, modus, {}}});
            return &host.definitionen.back().def;
        };
        def(0, 1, 33434, "ExposureTime");
        def(0, 1, 33437, "FNumber");
        def(0, 1, 274, "Orientation")->nice_texte = {{1, "Normal"}, {6, "Rotate 90"}};
        def(0, 1, 36867, "DateTimeOriginal", 1);
        def(0, 4, 2, "GPSLatitude", 1);
        def(4, 3, 1, "MacroMode");
        host.definitionen.push_back({0, 1, 37121, 2, ExifDefinition{"ComponentsConfiguration.Cb", 0, {}}});
    }
    FakeHost host;
    HostScope scope{&host};
};

TEST_F(ExifTest, ValuesCountsTagsAndNames) {
    pruefen({
        {"{exif()} {exif(33434)} {exif(\"exposuretime\")} {exif(33434, 1)} {exif(33434, @MAIN)} {exif(259, @THUMBNAIL)}",
         "@true 1/125 1/125 1/125 1/125 6"},
        {"{exif(530)} {exif(530, 3)} {type(exif(530, 3))} {exif(274)} {type(exif(274))} {exif(700)}",
         "4,5,6 6 @integer 6 @integer 1,2,3,4,5,6,7,8,9,10,...(12)"},
        {"{exif(900)} {exif(900, 1)} {exif(33432)} {exif(41000)} {exif(41000, 2)}", "2.5,0.125 2.5 Foto Edit 7/2,1/3 1/3"},
        {"{exifcount()} {exifcount(@GPS)} {exifcount(@MAKERNOTE)} {exiftag(1)} {exiftag(2, @GPS)} {exiftag(\"FNUMBER\")}",
         "19 4 1 33434 2 33437"},
        {"{exiftagname(33434)} {exiftagname(37121, 2)} {exiftagname(2, @GPS)} {exifcomponentcount(33434)} "
         "{exifcomponentcount(530)}",
         "ExposureTime ComponentsConfiguration.Cb GPSLatitude 0 3"},
        {"{exif(530, 4)}|{ERRN_LAST}", "@error|12", 12},
        {"{exif(530, -1)}|{ERRN_LAST}", "@error|12", 12},
        {"{exif(33434, 2)}|{ERRN_LAST}", "@error|12", 12},
        {"{exif(\"Unbekannt\")}|{ERRN_LAST}", "@error|7", 7},
        {"{exif(12345)}|{ERRN_LAST}", "@error|7", 7},
        {"{exif(\"MacroMode\", @MAKERNOTE)}|{ERRN_LAST}", "@error|7", 7},
        {"{exif(1.5)}|{ERRN_LAST}", "@error|3", 3},
        {"{exif(1, 1, @FILL)}|{ERRN_LAST}", "@error|9", 9},
        {"{exiftagname(99999)}|{ERRN_LAST}", "@error|11", 11},
        {"{exifcount(@TRUE)}|{ERRN_LAST}", "@error|9", 9},
        {"{exifcount(1)}|{ERRN_LAST}", "@error|3", 3},
        {"{exiftag(0)}|{ERRN_LAST}", "@error|7", 7},
        {"{exiftag(20)}|{ERRN_LAST}", "@error|7", 7},
        {"{exiftag(1.0)}|{ERRN_LAST}", "@error|3", 3},
        {"{exifcomponentcount(5)}|{ERRN_LAST}", "@error|7", 7},
    });
    // A recognised maker note makes its names available.
    host.makernote_code = 4;
    pruefen({{"{exif(\"macromode\", @MAKERNOTE)} {exifnice(1, @MAKERNOTE)}", "2 2"}});
}

TEST_F(ExifTest, DisplayValuesOfTheMainSection) {
    pruefen({
        {"{exifnice()} {exifnice(33434)} {exifnice(33437)} {exifnice(36864)} {exifnice(36864, 0, 1)}",
         "@true 1/125 f2.8 0220 2.2"},
        {"{exifnice(37121)} {exifnice(37121, 2)} {exifnice(37386)} {exifnice(37386, 0, 1)}", "YCbCr Cb 5.8mm 9mm"},
        {"{exifnice(33432)} {exifnice(33432, 0, 1)} {exifnice(33432, 0, 2)}", "Foto;Edit Foto Edit"},
        {"{exifnice(274)} {exifnice(274, 0, 10)} {type(exifnice(274, 0, 10))} {exifnice(530, 0, 11)}",
         "Rotate 90 6 @string 4mm,5mm,6mm"},
        {"{exifnice(33434, 0, 10)} {exifnice(33437, 0, 13)} {exifnice(900, 0, 14)} {exifnice(900)}",
         "0.0 2.80dm 2.500m,0.125m 2.5,0.125"},
        {"{exifnice(36867)} {type(exifnice(36867))} {exifnice(36867, 0, 0)}",
         "15.05.2023 18:30:00 @date 2023:05:15 18:30:00"},
        {"[{exifnice(37510)}] {exifnice(530, 0, 3)} {exifnice(530, 0, 1)} {exifnice(36864, 0, 2)} [{exifnice(530, 0, 7)}]",
         "[Hallo] 456 ___ 0220 []"},
        {"{exifnice(12345)}|{ERRN_LAST}", "@error|8", 8},
        {"{exifnice(1, @MAKERNOTE)}|{ERRN_LAST}", "@error|10", 10},
        {"{exifnice(530, 5)}|{ERRN_LAST}", "@error|12", 12},
        {"{exifnice(41000, 0, 10)}|{ERRN_LAST}", "3.5|0"},
        {"{exifnice(36867, 0, 10)}|{ERRN_LAST}", "@error|13", 13},
        {"{exifnice(33434, 0, 1.0)}|{ERRN_LAST}", "@error|3", 3},
    });
    // Exposure times around half a second.
    host.exif[1][0] = text(33434, {"1/2"});
    host.exif[1][1] = text(33437, {"0/0"});
    pruefen({{"{exifnice(33434)}", "1/2"}, {"{exifnice(33437)}|{ERRN_LAST}", "@error|0"}});
    host.exif[1][0] = text(33434, {"6/10"});
    pruefen({{"{exifnice(33434)}", "0.6"}});
}

TEST_F(ExifTest, UnicodeUserCommentsFollowTheFilesByteOrder) {
    std::string le("UNICODE\0H\0i\0 \0\xE4\0 \0", 18);
    std::string be("Unicode\0\0H\0i\0 \0\xE4\0 ", 18);
    host.exif[1].push_back(bytes(37510, le));
    host.exif[1].erase(host.exif[1].begin() + 11);
    pruefen({{"[{exifnice(37510)}]", "[Hi ä]"}});
    host.exif[1].back() = bytes(37510, be);
    host.exif[1].back().big_endian = true;
    pruefen({{"[{exifnice(37510)}]", "[Hi ä]"}});
    host.exif[1].back() = bytes(37510, "UNICODE");  // too short: stays undefined
    pruefen({{"[{exifnice(37510)}]|{ERRN_LAST}", "[]|0"}});
}

TEST_F(ExifTest, GpsCoordinatesAndVersion) {
    pruefen({
        {"{exifnice(0, @GPS)} {exifnice(0, 0, 1, @GPS)}", "2200 2.2"},
        {"{exifnice(2, @GPS)}|{exifnice(2, 0, 0, @GPS)}|{format(\"%.4!\", exifnice(2, 0, 2, @GPS))}",
         "48&deg; 51' 13.80\"|48 51.23'|48.8538"},
        {"{exifnice(4, 0, 0, @GPS)}|{exifnice(4, 0, 1, @GPS)}|{exifnice(4, 0, 3, @GPS)}|"
         "{format(\"%.4!\", exifnice(4, 0, 2, @GPS))}",
         "48 51' 30.00\"|48&deg; 51' 30.00\"|48&deg; 51.5'|48.8583"},
        // Degrees and minutes divided by their own denominators.
        {"{exifnice(20, 0, 0, @GPS)}|{exifnice(20, 0, 1, @GPS)}", "48 0.5'|48&deg; 0' 30.00\""},
        {"{exifnice(2, 1, @GPS)}|{ERRN_LAST}", "@error|13", 13},
        {"{exif(2, @GPS)}", "48/1,5123/100,0/1"},
    });
}

// Coordinates that phones store as one text instead of three rationals read
// as degrees, minutes and seconds in every display mode.
TEST_F(ExifTest, GpsCoordinatesStoredAsText) {
    struct Fall {
        std::string gespeichert;
        std::string erwartet;  // modes 0, 1 and 3, then mode 2 to six places
    };
    const std::vector<Fall> faelle = {
        // degrees, minutes and seconds each with a decimal comma
        {"52,00000,50,00000,34,01180", "52 50' 34.01\"|52&deg; 50' 34.01\"|52&deg; 50.566863333333333'|52.842781"},
        {"11,00000,10,00000,58,28360", "11 10' 58.28\"|11&deg; 10' 58.28\"|11&deg; 10.971393333333333'|11.182857"},
        {"52 50 34.0118", "52 50' 34.01\"|52&deg; 50' 34.01\"|52&deg; 50.566863333333333'|52.842781"},
        {"48 deg 51' 30.00\" N", "48 51' 30.00\"|48&deg; 51' 30.00\"|48&deg; 51.5'|48.858333"},
        {"48/1,51/1,30/1", "48 51' 30.00\"|48&deg; 51' 30.00\"|48&deg; 51.5'|48.858333"},
        {"48,51.5", "48 51' 30.00\"|48&deg; 51' 30.00\"|48&deg; 51.5'|48.858333"},
        {"48.8583333333", "48 51' 30.00\"|48&deg; 51' 30.00\"|48&deg; 51.5'|48.858333"},
        {"0.5", "0 30' 0.00\"|0&deg; 30' 0.00\"|0&deg; 30.0'|0.500000"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.gespeichert);
        host.exif[4] = {text(2, {f.gespeichert})};
        pruefen({{"{exifnice(2, 0, 0, @GPS)}|{exifnice(2, 0, 1, @GPS)}|{exifnice(2, 0, 3, @GPS)}|"
                  "{format(\"%.6!\", exifnice(2, 0, 2, @GPS))}|{type(exifnice(2, 0, 2, @GPS))}",
                  f.erwartet + "|@double"},
                 // The definition's mode (1) and index 1 of the one text.
                 {"{exifnice(2, @GPS) == exifnice(2, 0, 1, @GPS)} {exifnice(2, 1, 1, @GPS) == exifnice(2, 0, 1, @GPS)}",
                  "@true @true"}});
    }
    // Texts that are no coordinate: a format error, as a coordinate without
    // its three parts is. A sign is refused (the hemisphere is its own tag),
    // and so are minutes or seconds of 60 and more, and more than three numbers.
    for (const char* falsch : {"", "N", "-33.5", "52,842781", "52 50 60", "1 2 3 4", "1.2.3", "48/0"}) {
        SCOPED_TRACE(falsch);
        host.exif[4] = {text(2, {falsch})};
        pruefen({{"{exifnice(2, 0, 2, @GPS)}|{exifnice(2, 0, 0, @GPS)}|{ERRN_LAST}", "@error|@error|13", 13}});
    }
}

TEST_F(BuiltinTest, ExifWithoutAPictureFailsSilently) {
    pruefen({{"{exif()}|{exifnice(33434)}|{exifcount(@MAIN)}|{exiftag(\"FNumber\")}|{ERRN_LAST}",
              "@error|@error|@error|@error|0"}});
}

}  // namespace
}  // namespace galvora
