// INI and description files read into script arrays.
#include <fstream>
#include <string>

#include "foundation/temp_folder.h"
#include "script/ini_reader.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

class IniReaderTest : public ScriptTest {
protected:
    std::string datei(const std::string& name, const std::string& inhalt) {
        auto p = ordner_.path() / name;
        std::ofstream(p, std::ios::binary) << inhalt;
        return p.string();
    }
    static std::string wert(ZNSVariable& v, const std::string& sektion, const std::string& key) {
        auto s = v.als_array()->item(ZNSIndex::key(sektion));
        if (s->typ != TYP_ARRAY) return "<keine Sektion>";
        auto a = s->als_array();
        if (a->finden(key) < 0) return "<fehlt>";
        return a->item(ZNSIndex::key(key))->als_text();
    }
    testing::TempFolder ordner_;
};

TEST_F(IniReaderTest, SectionsEntriesAndComments) {
    std::string p = datei("a.ini",
                          "  lose = 1 \r\n"
                          "; comment = no\r\n"
                          "\r\n"
                          "[ Eins ]\n"
                          "k = a = b\n"
                          "Key=x\n"
                          "KEY=y\n"
                          "[offen\n"
                          "=leer\n"
                          "ohne gleich\n"
                          "zahl = 42\r"
                          "[GLOBAL]\r"
                          "neu=1\n"
                          "[eins]\n"
                          "nur = das\n");
    ZNSVariable v;
    ini_datei_lesen(p, v);
    ASSERT_EQ(v.typ, TYP_ARRAY);
    // The second header of a section replaces it, also GLOBAL after loose entries.
    EXPECT_EQ(wert(v, "global", "lose"), "<fehlt>");
    EXPECT_EQ(wert(v, "GLOBAL", "neu"), "1");
    EXPECT_EQ(wert(v, "Eins", "nur"), "das");
    EXPECT_EQ(wert(v, "Eins", "k"), "<fehlt>");
    EXPECT_EQ(v.als_array()->count(), 2);

    std::string q = datei("b.ini", "[s]\nk = a = b\nKey=x\nKEY=y\n[offen\nzahl = 42\n");
    ini_datei_lesen(q, v);
    EXPECT_EQ(wert(v, "s", "k"), "a = b");
    EXPECT_EQ(wert(v, "s", "key"), "y");
    auto s = v.als_array()->item(ZNSIndex::key("s"))->als_array();
    EXPECT_EQ(s->count(), 3);
    EXPECT_EQ(s->item(ZNSIndex::key("zahl"))->typ, TYP_STRING);
}

TEST_F(IniReaderTest, DescriptionFiles) {
    std::string p = datei("d.ion",
                          "\"Mein Bild.jpg\" Ein schöner Tag\n"
                          "bild2.jpg  Am Strand im Sommer \n"
                          "nurname.jpg\n"
                          "\"offen.jpg kein Ende\n"
                          "\"\" leerer Name\n"
                          "\n");
    ZNSVariable v;
    ion_datei_lesen(p, v);
    ASSERT_EQ(v.typ, TYP_ARRAY);
    auto a = v.als_array();
    ASSERT_EQ(a->count(), 2);
    EXPECT_EQ(a->item(ZNSIndex::key("mein bild.jpg"))->als_text(), "Ein schöner Tag");
    EXPECT_EQ(a->item(ZNSIndex::key("bild2.jpg"))->als_text(), "Am Strand im Sommer");
}

TEST_F(IniReaderTest, MissingFilesGiveError) {
    for (const std::string& pfad : {std::string(), (ordner_.path() / "fehlt.ini").string(), ordner_.path().string()}) {
        ZNSVariable v;
        ini_datei_lesen(pfad, v);
        EXPECT_EQ(v.typ, TYP_SYMBOL) << pfad;
        EXPECT_EQ(v.als_integer(), SYM_ERROR);
        ZNSVariable w;
        ion_datei_lesen(pfad, w);
        EXPECT_EQ(w.als_integer(), SYM_ERROR);
    }
}

}  // namespace
}  // namespace galvora
