#include "generation/script_variables.h"

#include "generation/generation_test_support.h"
#include "image/image_file_record.h"
#include "script/compiler.h"

namespace galvora::testing {
namespace {

class ScriptVariables : public GenerationTest {};

TEST_F(ScriptVariables, AllEightyFiveExistReadOnlyWithTheirTypes) {
    struct Row {
        const char* name;
        int32_t typ;
    };
    const Row rows[] = {
#define GALVORA_ROW(name, typ) {#name, typ},
        GALVORA_RUN_VARIABLES(GALVORA_ROW)
#undef GALVORA_ROW
        {"cur_date", 4}, {"cur_time", 4}, {"html", 4}, {"html_path", 4}, {"thumb_path", 4},
    };
    EXPECT_EQ(std::size(rows), 85u);
    for (const Row& row : rows) {
        ZNSWertRef v = global(row.name);
        ASSERT_TRUE(v) << row.name;
        EXPECT_EQ(v->typ, row.typ) << row.name;
        EXPECT_TRUE(v->readonly) << row.name;
    }
    EXPECT_EQ(global("size_kbyte")->als_double(), 0.0);
    EXPECT_EQ(global("count_files")->als_integer(), 0);
    EXPECT_EQ(global("html")->als_text(), "html");
    EXPECT_EQ(global("html_path")->als_text(), "html");
    EXPECT_EQ(global("thumb_path")->als_text(), "thumbs");
    EXPECT_FALSE(global("cur_date")->als_text().empty());
}

TEST_F(ScriptVariables, ScriptsReadThemInAnyCaseAndCannotAssignThem) {
    variable_setzen(skriptvariablen().file, "bild");
    ASSERT_EQ(uebersetze(0, 0, "t", "{FILE}"), 0);
    EXPECT_NE(uebersetze(0, 0, "t2", "{file = \"x\";}"), 0);
    EXPECT_EQ(compiler().fehler_code(), ZNS_ZUWEISUNG_SCHREIBGESCHUETZT);
}

TEST_F(ScriptVariables, CreatingAgainKeepsOneVariableAndResetsItsValue) {
    const int32_t before = zns()->gvar_oba.count();
    variable_setzen(skriptvariablen().count_files, 12);
    ZNSWertRef first = global("count_files");
    skriptvariablen_anlegen();
    EXPECT_EQ(zns()->gvar_oba.count(), before);
    EXPECT_EQ(global("count_files"), first);
    EXPECT_EQ(first->als_integer(), 0);
}

TEST_F(ScriptVariables, PictureGroupComesFromTheRecord) {
    ZNImageFile r;
    r.CDateiname = "clone";
    r.CDateiart = "jpg";
    r.ODateiname = "orig";
    r.ODateiart = "png";
    r.OBytes = 4000;
    r.CBytes = 1536;
    r.CDimX = 640;
    r.CDimY = 480;
    r.ODimX = 1280;
    r.ODimY = 960;
    r.TDimX = 120;
    r.TDimY = 90;
    r.CQualität = 75;
    r.CDatum = 45000.5;  // 2023-03-15 12:00
    bildvariablen_setzen(r);
    EXPECT_EQ(global("file")->als_text(), "clone");
    EXPECT_EQ(global("ext")->als_text(), "jpg");
    EXPECT_EQ(global("file_original")->als_text(), "orig");
    EXPECT_EQ(global("ext_original")->als_text(), "png");
    EXPECT_EQ(global("date")->als_text(), "15.3.2023");
    EXPECT_EQ(global("time")->als_text(), "12:00:00");
    EXPECT_EQ(global("size_byte")->als_integer(), 1536);
    EXPECT_EQ(global("size_kbyte")->als_double(), 1.5);
    EXPECT_EQ(global("size_mbyte")->als_double(), 0.00146484375);
    EXPECT_EQ(global("size_byte_original")->als_integer(), 4000);
    EXPECT_EQ(global("dim")->als_text(), "640 x 480");
    EXPECT_EQ(global("dimx")->als_integer(), 640);
    EXPECT_EQ(global("dimy_original")->als_integer(), 960);
    EXPECT_EQ(global("thumb_dimx")->als_integer(), 120);
    EXPECT_EQ(global("clone_quality")->als_integer(), 75);

    r.CDatum = 0;  // no date: both texts empty
    bildvariablen_setzen(r);
    EXPECT_EQ(global("date")->als_text(), "");
    EXPECT_EQ(global("time")->als_text(), "");
}

TEST_F(ScriptVariables, DirectoryGroupIsClearedAndLargeTotalsAreNotCut) {
    Skriptvariablen& v = skriptvariablen();
    variable_setzen(v.path, "urlaub");
    variable_setzen(v.count_pages, 3);
    variable_setzen_bytes(v.size_byte_path, 5'000'000'000LL);
    EXPECT_EQ(v.size_byte_path->als_double(), 5e9);
    pfadvariablen_loeschen();
    EXPECT_EQ(global("path")->als_text(), "");
    EXPECT_EQ(global("count_pages")->als_integer(), 0);
    EXPECT_EQ(global("size_byte_path")->typ, TYP_INTEGER);
    EXPECT_EQ(global("size_byte_path")->als_integer(), 0);
}

}  // namespace
}  // namespace galvora::testing
