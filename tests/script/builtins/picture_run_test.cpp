// IPTC values, image comments, directories and pictures of a run, the call
// stack, file-name parts, colours and drawing on the current picture.
#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;
using testing::FakeHost;
using testing::HostScope;

class PictureRunTest : public BuiltinTest {
protected:
    void SetUp() override {
        BuiltinTest::SetUp();
        host.iptc = {{120, "Ein Bild"}, {25, "Berg,Tal"}};
        host.iptc_namen = {{120, "Caption"}, {25, "Keywords"}, {5, "ObjectName"}};
        host.kommentare = {{"Titel", "Sonne"}, {"Ort", "Meer"}};
        host.verzeichnisse = {
            {"urlaub", {{"a1", "jpg", 640, 480}, {"a2", "jpg", 1, 1}, {"a3", "png", 2, 2}}},
            {"urlaub/tag 2", {{"b1", "jpg", 3, 3}, {"b2", "jpg", 4, 4}, {"b3", "jpg", 5, 5}, {"b4", "jpg", 6, 6},
                              {"b5", "jpg", 7, 7}}},
        };
    }
    FakeHost host;
    HostScope scope{&host};
};

TEST_F(PictureRunTest, IptcValuesAndComments) {
    pruefen({
        {"{iptc()} {iptccount()} {iptc(120)} {iptc(\"keywords\")} {iptctag(2)} {iptctag(\"OBJECTNAME\")} {iptctagname(25)}",
         "@true 2 Ein Bild Berg,Tal 25 5 Keywords"},
        {"{iptc(5)}|{ERRN_LAST}", "@error|18", 18},
        {"{iptc(\"Nichts\")}|{ERRN_LAST}", "@error|15", 15},
        {"{iptc(@TRUE)}|{ERRN_LAST}", "@error|3", 3},
        {"{iptctag(3)}|{ERRN_LAST}", "@error|16", 16},
        {"{iptctag(\"Nichts\")}|{ERRN_LAST}", "@error|15", 15},
        {"{iptctagname(2.0)}|{ERRN_LAST}", "@error|3", 3},
        {"{iptctagname(99)}|{ERRN_LAST}", "@error|17", 17},
        {"{imagecomment()} {imagecommentcount()} {imagecomment(2)} {imagecomment(\"titel\")} {imagecommentkey(2)}",
         "@true 2 Meer Sonne Ort"},
        {"{imagecomment(0)}|{ERRN_LAST}", "@error|19", 19},
        {"{imagecomment(\"Nichts\")}|{ERRN_LAST}", "@error|19", 19},
        {"{imagecomment(@TRUE)}|{ERRN_LAST}", "@error|3", 3},
        {"{imagecommentkey(3)}|{ERRN_LAST}", "@error|19", 19},
        {"{imagecommentkey(\"1\")}|{ERRN_LAST}", "@error|3", 3},
        {"{imagecommentcount(1)}|{ERRN_LAST}", "@error|2", 2},
    });
    host.iptc.clear();
    host.kommentare.clear();
    pruefen({
        {"{iptc()} {iptccount()} {iptctag(\"Caption\")} {imagecomment()} {imagecommentcount()}", "@false 0 120 @false 0"},
        {"{iptc(5)}|{ERRN_LAST}", "@error|18", 18},
        {"{iptctag(1)}|{ERRN_LAST}", "@error|16", 16},
    });
}

TEST_F(PictureRunTest, DirectoriesAndPicturesOfTheRun) {
    pruefen({
        {"{dirinfo(1, @COUNT)} {dirinfo(2, @COUNT)} {dirinfo(2, @DIRNAME)}", "3 5 urlaub/tag 2"},
        {"{dirinfo(0, @COUNT)}|{ERRN_LAST}", "@error|20", 20},
        {"{dirinfo(3, @COUNT)}|{ERRN_LAST}", "@error|20", 20},
        {"{dirinfo(1, @SIZE)}|{ERRN_LAST}", "@error|4", 4},
        {"{dirinfo(1.0, @COUNT)}|{ERRN_LAST}", "@error|3", 3},
        {"{dirinfo(1, \"x\")}|{ERRN_LAST}", "@error|3", 3},
        {"{imageinfo(4, @FILENAME)} {imageinfo(0, 4, @FILENAME)} {imageinfo(2, 1, @FILENAME)} {imageinfo(1, 3, @FILETYPE)}",
         "b1 b1 b1 png"},
        {"{imageinfo(2, 2, @REF)} {imageinfo(1, 1, @DIMX)} {type(imageinfo(1, 1, @DATE))} {imageinfo(1, 1, @DOCREF)}",
         "urlaub/tag%202/b2.jpg 640 @date urlaub/a1.html"},
        {"{imageinfo(9, @FILENAME)}|{ERRN_LAST}", "@error|21", 21},
        {"{imageinfo(1, 4, @FILENAME)}|{ERRN_LAST}", "@error|21", 21},
        {"{imageinfo(3, 1, @FILENAME)}|{ERRN_LAST}", "@error|21", 21},
        {"{imageinfo(-1, 1, @FILENAME)}|{ERRN_LAST}", "@error|21", 21},
        {"{imageinfo(1, @COUNT)}|{ERRN_LAST}", "@error|4", 4},
        {"{imageinfo(1, \"x\")}|{ERRN_LAST}", "@error|3", 3},
        {"{imageinfo(1.0, 1, @REF)}|{ERRN_LAST}", "@error|3", 3},
    });
    host.bildseiten = false;
    pruefen({{"[{imageinfo(1, 1, @DOCREF)}]", "[]"}});
}

TEST_F(BuiltinTest, CallStackAndFileNameParts) {
    ZNSProbelauf r = lauf("[{callstack()}]|{f()}|{g()}",
                          "function f() { return callstack(); } function g() { return f(); }");
    EXPECT_EQ(r.ausgabe, "[]|probe|g < probe");
    pruefen({
        {"[{filenamepart(\"/a/b/bild.jpg\", @DRIVENAME)}] {filenamepart(\"/a/b/bild.jpg\", @DIRNAME)} "
         "{filenamepart(\"/a/b/bild.jpg\", @FILENAME)} {filenamepart(\"/a/b/bild.jpg\", @FILETYPE)}",
         "[] a/b bild jpg"},
        {"{filenamepart(\"/a/b.c\", @COUNT)}|{ERRN_LAST}", "@error|3", 3},
        {"{filenamepart(1, @FILENAME)}|{ERRN_LAST}", "@error|3", 3},
        {"{filenamepart(\"/a\", \"x\")}|{ERRN_LAST}", "@error|3", 3},
        {"{callstack(1)}|{ERRN_LAST}", "@error|2", 2},
    });
    // Without a run the directory list is not there.
    pruefen({{"{dirinfo(1, @COUNT)}|{imageinfo(1, @REF)}|{ERRN_LAST}", "@error|@error|0"}});
}

TEST_F(BuiltinTest, ColoursFromComponentsOrText) {
    pruefen({
        {"{rgb(255, 0, 0)} {rgb(0, 0, 255)} {rgb(\"#FF8000\")} {rgb(\"#ff8000\")} {rgb(\"#FF\")} {rgb(\"#0000FF99\")}",
         "255 16711680 33023 33023 255 16711680"},
        {"{rgb(256, 0, 0)}|{ERRN_LAST}", "@error|4", 4},
        {"{rgb(-1, 0, 0)}|{ERRN_LAST}", "@error|4", 4},
        {"{rgb(\"FF8000\")}|{ERRN_LAST}", "@error|4", 4},
        {"{rgb(\"#GG\")}|{ERRN_LAST}", "@error|4", 4},
        {"{rgb(\"#\")}|{ERRN_LAST}", "@error|4", 4},
        {"{rgb(1.0, 2, 3)}|{ERRN_LAST}", "@error|3", 3},
        {"{rgb(1)}|{ERRN_LAST}", "@error|3", 3},
    });
}

TEST_F(PictureRunTest, DrawingCallsReachThePictureInOrder) {
    pruefen({{"[{rotate(90)}{rotate(270)}{flip(@HORIZONTAL)}{flip(@VERTICAL)}{drawline(255, 0, 0, 0, 1)}"
              "{drawrectangle(1, 10, 20, 30, 40)}{drawrectangle(2, 30, 40, 10.4, 20, 50)}"
              "{drawrectangle(3, 30, 40, 10, 20, 60, @OUTSIDE)}{drawellipse(4, 1, 2, 3, 4)}"
              "{drawellipse(5, 1, 2, 3, 4, 70)}{drawellipse(6, 1, 2, 3, 4, 80, @OUTSIDE)}]{inqcolor()}",
              "[]3368601"}});
    const int32_t weit = INT32_MAX / 2;
    const std::vector<std::string> erwartet = {
        "drehen 1", "drehen 3", "spiegeln 1", "spiegeln 2", "linie 255 0 0 0 1",
        "linie 1 10 20 30 20", "linie 1 30 20 30 40", "linie 1 30 40 10 40", "linie 1 10 40 10 20",
        "rechteck 2 30 40 10 20 50",
        "rechteck 3 0 0 " + std::to_string(weit) + " 20 60",
        "rechteck 3 0 40 " + std::to_string(weit) + " " + std::to_string(weit) + " 60",
        "rechteck 3 0 20 10 40 60",
        "rechteck 3 30 20 " + std::to_string(weit) + " 40 60",
        "ellipse 4 1 2 3 4 100 0", "ellipse 5 1 2 3 4 70 1", "ellipse 6 1 2 3 4 80 -1",
    };
    EXPECT_EQ(host.zeichnungen, erwartet);
    host.zeichnungen.clear();
    pruefen({
        {"{rotate(45)}|{ERRN_LAST}", "@error|4", 4},
        {"{rotate(-90)}|{ERRN_LAST}", "@error|4", 4},
        {"{rotate(90.0)}|{ERRN_LAST}", "@error|3", 3},
        {"{flip(@TRUE)}|{ERRN_LAST}", "@error|4", 4},
        {"{flip(1)}|{ERRN_LAST}", "@error|3", 3},
        {"{drawline(1, 0, 0, 0, 0)}|{ERRN_LAST}", "@error|4", 4},
        {"{drawline(1, -1, 0, 0, 1)}|{ERRN_LAST}", "@error|4", 4},
        {"{drawline(1.0, 0, 0, 0, 1)}|{ERRN_LAST}", "@error|3", 3},
        {"{drawline(1, \"0\", 0, 0, 1)}|{ERRN_LAST}", "@error|3", 3},
        {"{drawrectangle(1, 0, 0, 1, 1, 101)}|{ERRN_LAST}", "@error|4", 4},
        {"{drawrectangle(1, 0, 0, 1, 1, \"5\")}|{ERRN_LAST}", "@error|3", 3},
        {"{drawrectangle(1, 0, 0, 1, 1, 50, @BORDER)}|{ERRN_LAST}", "@error|4", 4},
        {"{drawrectangle(1, 0, 0, 1, 1, 50, 1)}|{ERRN_LAST}", "@error|3", 3},
        {"{drawellipse(1, 0, 0, 1, 1, -1)}|{ERRN_LAST}", "@error|4", 4},
        {"{drawellipse(1, 0, 0, 1, 1, 50, @FILL)}|{ERRN_LAST}", "@error|4", 4},
    });
    EXPECT_TRUE(host.zeichnungen.empty());
}

TEST_F(BuiltinTest, DrawingWithoutAPicture) {
    // A line draws nothing; the other operations fail silently.
    pruefen({{"[{drawline(1, 0, 0, 5, 5)}]|{rotate(90)}|{inqcolor()}|{ERRN_LAST}", "[]|@error|@error|0"}});
}

}  // namespace
}  // namespace galvora
