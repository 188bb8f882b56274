#include "image/metadata/metadata_definition.h"

#include <gtest/gtest.h>

#include <fstream>

#include "exif_test_support.h"
#include "foundation/error.h"
#include "foundation/program_info.h"
#include "image/metadata/picture_metadata.h"

using namespace galvora;
using namespace galvora::testing;

namespace {

struct Message {
    std::string title, text;
};

class DefinitionFile : public ::testing::Test {
protected:
    void TearDown() override { metadata_definition().clear(); }

    // Loads the given text into a fresh definition; the messages shown are kept.
    bool load(const std::string& content) {
        const auto file = dir_.path() / "metadata.def";
        std::ofstream(file, std::ios::binary) << content;
        defs_.clear();
        messages_.clear();
        return defs_.load(file, [this](const std::string& t, const std::string& x) { messages_.push_back({t, x}); });
    }

    TempDir dir_;
    MetadataDefinition defs_;
    std::vector<Message> messages_;
};

const std::string kReadError = "Fehler beim Lesen der Metadaten-Definitionsdatei\n\nFehler in Zeile ";

}  // namespace

TEST_F(DefinitionFile, LoadsAFileWithCommentsAndBlankLinesFirst) {
    ASSERT_TRUE(load("* header\n\n   * indented comment\n\n#VERSION 0x2\n#main\n"
                     "+0x010F,0,0, Hersteller \n+271,1,3,Zweiter Teil\n!&H10,Sechzehn\n!2, Text, mit Komma \n"
                     "+0x9207,0,0,Belichtungsmessung\n+37383,0,5,Doppelt\n#gps\n+2,0,0,Breite\n"
                     "#makernote CANON01\n+1,2,0,Makromodus\n!1,Makro\n#iptc\n+25,Stichwörter\n+5,a,b,Objektname\n"))
        << (messages_.empty() ? "" : messages_[0].text);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(defs_.ExifTagName(0, 1, 271, 0), "Hersteller");
    const ExifTag* second = defs_.ExifNiceValue(0, 1, 271, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->fmt, 3);
    EXPECT_EQ(second->inqnicecount(), 2);
    EXPECT_EQ(second->inqnice(16)->bezeichnung, "Sechzehn");
    EXPECT_EQ(second->inqnice(2)->bezeichnung, "Text, mit Komma");
    EXPECT_EQ(second->inqnice(3), nullptr);
    // 0x9207 and 37383 are one key: the second line adds nothing.
    EXPECT_EQ(defs_.ExifTagName(0, 1, 37383, 0), "Belichtungsmessung");
    EXPECT_EQ(defs_.section_table(0, 1)->size(), 3u);
    EXPECT_EQ(defs_.ExifTagName(0, 4, 2, 0), "Breite");
    EXPECT_EQ(defs_.ExifTagName(0, 2, 271, 0), "");
    // Maker-note names need the camera's code.
    EXPECT_EQ(defs_.ExifTagName(4, 3, 1, 2), "Makromodus");
    EXPECT_EQ(defs_.ExifTagName(17, 3, 1, 2), "");
    EXPECT_EQ(defs_.FindExifTag(4, 3, "MAKROMODUS"), 1);
    EXPECT_EQ(defs_.FindExifTag(0, 3, "Makromodus"), -1);
    EXPECT_EQ(defs_.FindExifTag(0, 1, "hersteller"), 271);
    EXPECT_EQ(defs_.FindExifTag(0, 1, "Nichts"), -1);
    EXPECT_THROW(defs_.FindExifTag(0, 5, "Hersteller"), GalvoraError);
    EXPECT_EQ(defs_.ExifTagName(0, 5, 271, 0), "");
    EXPECT_EQ(defs_.FindIptcTagByName("STICHWÖRTER"), 25);
    EXPECT_EQ(defs_.IptcTagName(5), "Objektname");
    EXPECT_EQ(defs_.IptcTagName(6), "");
}

TEST_F(DefinitionFile, FocalFactorsByNormalisedModel) {
    ASSERT_TRUE(load("#version 2\n#focalequiv Canon\n+Canon EOS 300D (Rebel),1.6\n+Canon EOS 300D,1.62\n"
                     "+FE370,X880,C575, 5.71\n"));
    ASSERT_EQ(defs_.focal_factors().size(), 2u);
    EXPECT_EQ(defs_.focal_factors()[0].camname, "CANONEOS300D");
    EXPECT_DOUBLE_EQ(defs_.FocalEquivFactor("", "canon eos 300d"), 1.62);  // the later line wins
    EXPECT_DOUBLE_EQ(defs_.FocalEquivFactor("Olympus", "FE370,X880,C575"), 5.71);
    EXPECT_EQ(defs_.FocalEquivFactor("Canon", "Canon EOS 5D"), 0.0);
    EXPECT_EQ(normalised_model("  Nikon  D70 s (black) "), "NIKOND70S");
}

TEST_F(DefinitionFile, ErrorsShowTheirMessageAndDropEverything) {
    struct Case {
        std::string content;
        std::string title;
        std::string text;
    };
    const std::string t = "Metadaten-Definition laden";
    const std::vector<Case> cases = {
        {"#version 3\n", t, "Version der Metadaten-Beschreibungsdatei wird nicht unterstützt"},
        {"* c\n+1,0,0,x\n", t, "Version der Metadaten-Beschreibungsdatei muss als erster Eintrag aufgeführt sein"},
        {"#main\n#version 2\n", t, "Version der Metadaten-Beschreibungsdatei muss als erster Eintrag aufgeführt sein"},
        {"#bogus\n", t, kReadError + "1\n#bogus"},
        {"#version 2\n\n  -x  \n", t, kReadError + "3\n-x"},
        {"#version 2\n#main\n+1,0,Name\n", t, kReadError + "3\n+1,0,Name"},
        {"#version 2\n#main\n+1,0,0,x\n!5\n", t, kReadError + "4\n!5"},
        {"#version 2\n#main\n+1,0,0,x\n!5,a\n!5,b\n", t, kReadError + "5\n!5,b"},
        {"#version 2\n#makernote canon99\n", t, kReadError + "2\n#makernote canon99"},
        {"#version 2\n#focalequiv Canon\n+no comma\n", t, kReadError + "3\n+no comma"},
        {"#version 2\n#iptc\n+25,a\n+25,b\n", t, kReadError + "4\n+25,b"},
        {"#version 2\n#main\n+abc,0,0,x\n", t + " (Fehler 13)", kReadError + "3\n+abc,0,0,x"},
        {"#version 2\n#focalequiv Canon\n+EOS,1.6x\n", t + " (Fehler 13)", kReadError + "3\n+EOS,1.6x"},
        {"#version\n", t + " (Fehler 9)", kReadError + "1\n#version"},
        {"#version 2\n#makernote\n", t + " (Fehler 9)", kReadError + "2\n#makernote"},
        {"#version 2\n#makernote nikon02\n#makernote NIKON02\n", t + " (Fehler 457)", kReadError + "3\n#makernote NIKON02"},
        {"#version 2\n#main\n!1,x\n", t + " (Fehler 91)", kReadError + "3\n!1,x"},
        {"#version 2\n#main\n+1,0,0,x\n+1,0,0,y\n!1,z\n", t + " (Fehler 91)", kReadError + "5\n!1,z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        EXPECT_FALSE(load(c.content + "#main\n+271,0,0,Hersteller\n"));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].title, c.title);
        EXPECT_EQ(messages_[0].text, c.text);
        EXPECT_FALSE(defs_.loaded());
        EXPECT_EQ(defs_.ExifTagName(0, 1, 271, 0), "");
        EXPECT_EQ(defs_.ExifNiceValue(0, 1, 1, 0), nullptr);
        EXPECT_EQ(defs_.FocalEquivFactor("", "EOS"), 0.0);
        EXPECT_THROW(defs_.FindExifTag(0, 1, "Hersteller"), GalvoraError);
        EXPECT_THROW(defs_.FindIptcTagByName("x"), GalvoraError);
    }
}

TEST_F(DefinitionFile, IgnoredLines) {
    // "!" lines in focal and IPTC sections and "+" lines before any section are ignored.
    ASSERT_TRUE(load("#version 2\n+1,0,0,nowhere\n!1,x\n#focalequiv Nikon\n!1,x\n#iptc\n!1,x\n"));
    EXPECT_EQ(defs_.ExifTagName(0, 1, 1, 0), "");
}

TEST_F(DefinitionFile, MissingFileGivesTheOpenError) {
    defs_.clear();
    bool ok = defs_.load(dir_.path() / "none.def",
                         [this](const std::string& t, const std::string& x) { messages_.push_back({t, x}); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, "Metadaten-Definition laden (Fehler 53)");
    EXPECT_EQ(messages_[0].text, "Fehler beim Öffnen der Metadaten-Definitionsdatei");
}

TEST_F(DefinitionFile, ProgramLoadIsOnceAndFindsTheFileInAnyCase) {
    const auto old_folder = program_folder();
    std::ofstream(dir_.path() / "MetaData.DEF") << "#version 2\n#iptc\n+25,Stichwörter\n";
    set_program_folder(dir_.path());
    metadata_definition().clear();
    EXPECT_TRUE(LoadMetadataDefinition());
    EXPECT_EQ(IptcTagName(25), "Stichwörter");
    std::filesystem::remove(dir_.path() / "MetaData.DEF");
    EXPECT_TRUE(LoadMetadataDefinition());  // read once per run: nothing read now
    EXPECT_EQ(FindIptcTagByName("stichwörter"), 25);
    set_program_folder(old_folder);
}

// ---- the file the program ships --------------------------------------------------

TEST_F(DefinitionFile, ShippedFileCoversTheStandardTags) {
    const auto shipped = std::filesystem::path(GALVORA_SOURCE_DIR) / "resources" / "metadata.def";
    ASSERT_TRUE(defs_.load(shipped, [this](const std::string& t, const std::string& x) { messages_.push_back({t, x}); }))
        << messages_.at(0).text;

    // Every tag of the EXIF 2.32 EXIF and interoperability directories and of
    // the TIFF tags an EXIF picture directory carries.
    const std::vector<int> main_tags = {
        0x0001, 0x0002, 0x010E, 0x010F, 0x0110, 0x0112, 0x011A, 0x011B, 0x0128, 0x012D, 0x0131, 0x0132, 0x013B,
        0x013E, 0x013F, 0x0201, 0x0202, 0x0211, 0x0212, 0x0213, 0x0214, 0x8298, 0x8769, 0x8825, 0xA005,
        0x829A, 0x829D, 0x8822, 0x8824, 0x8827, 0x8828, 0x8830, 0x8831, 0x8832, 0x8833, 0x8834, 0x8835, 0x9000,
        0x9003, 0x9004, 0x9010, 0x9011, 0x9012, 0x9101, 0x9102, 0x9201, 0x9202, 0x9203, 0x9204, 0x9205, 0x9206,
        0x9207, 0x9208, 0x9209, 0x920A, 0x9214, 0x927C, 0x9286, 0x9290, 0x9291, 0x9292, 0x9400, 0x9401, 0x9402,
        0x9403, 0x9404, 0x9405, 0xA000, 0xA001, 0xA002, 0xA003, 0xA004, 0xA20B, 0xA20C, 0xA20E, 0xA20F, 0xA210,
        0xA214, 0xA215, 0xA217, 0xA300, 0xA301, 0xA302, 0xA401, 0xA402, 0xA403, 0xA404, 0xA405, 0xA406, 0xA407,
        0xA408, 0xA409, 0xA40A, 0xA40B, 0xA40C, 0xA420, 0xA430, 0xA431, 0xA432, 0xA433, 0xA434, 0xA435, 0xA500};
    for (int tag : main_tags) EXPECT_NE(defs_.ExifTagName(0, kSectionMain, tag, 0), "") << std::hex << tag;
    for (int tag = 0; tag <= 31; ++tag) EXPECT_NE(defs_.ExifTagName(0, kSectionGps, tag, 0), "") << tag;
    for (int tag : {0x0100, 0x0101, 0x0103, 0x0112, 0x011A, 0x011B, 0x0128, 0x0201, 0x0202, 0x0213})
        EXPECT_NE(defs_.ExifTagName(0, kSectionThumbnail, tag, 0), "") << std::hex << tag;
    // The IPTC application record.
    for (int number : {0, 5, 7, 10, 15, 20, 25, 30, 40, 55, 60, 80, 85, 90, 92, 95, 100, 101, 103, 105, 110, 115,
                       116, 118, 120, 122})
        EXPECT_NE(defs_.IptcTagName(number), "") << number;
    // A maker-note table for every maker-note layout the reader picks, but Jenoptik's.
    for (int code : {2, 3, 4, 5, 6, 8, 14, 15, 16, 17, 18, 19, 21, 25}) {
        ASSERT_NE(defs_.makernote(code), nullptr) << code;
        EXPECT_GT(defs_.makernote(code)->exif_tags.size(), 5u) << code;
    }
    EXPECT_EQ(defs_.makernote(10), nullptr);
    // Coded values carry their texts; names are unique enough to be found.
    EXPECT_EQ(defs_.ExifNiceValue(0, kSectionMain, 0x0112, 0)->inqnice(6)->bezeichnung, "90° im Uhrzeigersinn gedreht");
    EXPECT_EQ(defs_.FindExifTag(0, kSectionMain, "belichtungszeit"), 0x829A);
    EXPECT_EQ(defs_.FindExifTag(4, kSectionMakernote, "Makromodus"), 1);
    EXPECT_DOUBLE_EQ(defs_.FocalEquivFactor("NIKON CORPORATION", "NIKON D70s"), 1.5);
    // No name is given twice within one table: a name must find its own tag.
    for (int section : {kSectionMain, kSectionThumbnail, kSectionGps}) {
        for (const auto& def : defs_.section_table(0, section)->entries())
            EXPECT_EQ(defs_.FindExifTag(0, section, def->bezeichnung), def->tag) << def->bezeichnung;
    }
}
