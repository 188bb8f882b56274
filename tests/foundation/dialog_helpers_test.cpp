#include "foundation/dialog_helpers.h"

#include <gtest/gtest.h>

#include <map>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "ui_test_support.h"

namespace galvora {
namespace {

TEST(BytesZuInteger, MemoryOrderSignedAndOtherLengths) {
    EXPECT_EQ(bytes_zu_integer(std::string("\x34\x12", 2)), 0x1234);
    EXPECT_EQ(bytes_zu_integer(std::string("\xFF\xFF", 2)), -1);
    EXPECT_EQ(bytes_zu_integer(std::string("\x00\x80", 2)), -32768);
    EXPECT_EQ(bytes_zu_integer(std::string("\x01\x02\x03", 3)), 0);
    EXPECT_EQ(bytes_zu_integer(""), 0);
    EXPECT_EQ(bytes_zu_long(std::string("\x78\x56\x34\x12", 4)), 0x12345678);
    EXPECT_EQ(bytes_zu_long(std::string("\xFE\xFF\xFF\xFF", 4)), -2);
    EXPECT_EQ(bytes_zu_long(std::string("\x00\x00\x00\x80", 4)), INT32_MIN);
    EXPECT_EQ(bytes_zu_long(std::string("\x34\x12", 2)), 0);
}

TEST(DekopoolPfad, RelativeNamesLieInThePoolFolder) {
    test::TempFolder tmp;
    test::ProgramFolderScope folder(tmp.path());
    const std::string pool = tmp.path().string() + "/decopool/";
    EXPECT_EQ(dekopool_pfad(""), pool);
    EXPECT_EQ(dekopool_pfad("standard"), pool + "standard");
    EXPECT_EQ(dekopool_pfad("sets/blue"), pool + "sets/blue");
    EXPECT_EQ(dekopool_pfad("//server/share"), "//server/share");
    EXPECT_EQ(dekopool_pfad("/home/me/deco"), "/home/me/deco");
}

TEST(TextZuLong, NumberRule) {
    const std::map<std::string, std::optional<int32_t>> cases = {
        {"12", 12},       {"  -7 ", -7},       {"+3", 3},          {"2.5", 2},   {"3.5", 4},
        {"2,51", 3},      {"abc", std::nullopt}, {"", std::nullopt}, {"1e3", std::nullopt},
        {"2147483647", INT32_MAX}, {"2147483648", std::nullopt}, {"-2147483648", INT32_MIN},
        {"99999999999999999999", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(text_zu_long(text), value) << '"' << text << '"';
}

struct Box : TextField {
    std::string value;
    std::string text() const override { return value; }
    void set_text(const std::string& t) override { value = t; }
};

class MinimumBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        sprachen_neu_anlegen();
        deutsche_texte_anlegen();
        sprache_waehlen("de");
        port.boxes.clear();
    }
    void TearDown() override { sprachen_neu_anlegen(); }

    void check(const std::string& typed) {
        box.value = typed;
        textfeld_minimum_pruefen(box, 1, 6, 102, "ErrIndexCountEntriesPerLine",
                                 [this](int index, const std::string& v) { written[index] = v; });
    }

    test::TempFolder tmp;
    test::RecordingPort port;
    Box box;
    std::map<int, std::string> written;
};

TEST_F(MinimumBoxTest, BelowMinimumOrNoNumberIsReplacedWrittenAndReported) {
    for (const char* typed : {"0", "-4", "abc", ""}) {
        SCOPED_TRACE(typed);
        port.boxes.clear();
        written.clear();
        check(typed);
        EXPECT_EQ(box.value, "6");
        EXPECT_EQ(written, (std::map<int, std::string>{{102, "6"}}));
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].style, 48);
        EXPECT_EQ(port.boxes[0].title, program_title());
        EXPECT_EQ(port.boxes[0].text, "Anzahl der Indexeinträge je Zeile fehlerhaft");
    }
}

TEST_F(MinimumBoxTest, MinimumAndAboveAreLeftAlone) {
    for (const char* typed : {"1", "999999"}) {
        check(typed);
        EXPECT_EQ(box.value, typed);
    }
    EXPECT_TRUE(written.empty());
    EXPECT_TRUE(port.boxes.empty());
}

struct Slider : SliderControl {
    int v = 0, lo = 0, hi = 100;
    double l = 1000, w = 2260;
    int value() const override { return v; }
    int minimum() const override { return lo; }
    int maximum() const override { return hi; }
    double left() const override { return l; }
    double width() const override { return w; }
};

struct Label : LabelControl {
    std::string caption;
    double w = 400, l = -1;
    void set_caption(const std::string& t) override { caption = t; }
    double width() const override { return w; }
    void set_left(double left) override { l = left; }
};

TEST(ProzentLabel, CaptionAndCentreOverTheThumb) {
    Slider s;
    Label label;
    s.lo = 20;
    s.hi = 100;
    s.v = 60;
    prozentlabel_setzen(s, label);
    EXPECT_EQ(label.caption, "60%");
    // 1000 + 180 + (2260 - 260) / 80 * 40 - 200
    EXPECT_DOUBLE_EQ(label.l, 1980.0);

    s.lo = s.hi = s.v = 50;  // no range: the label stays over the start of the track, within the slider
    prozentlabel_setzen(s, label);
    EXPECT_EQ(label.caption, "50%");
    EXPECT_DOUBLE_EQ(label.l, 1000.0);
}

// Near the ends the label stops at the slider's edges instead of standing
// over the controls beside it.
TEST(ProzentLabel, StaysWithinTheSlider) {
    struct Case {
        int value;
        double width;
        double left;
    };
    const Case cases[] = {
        {20, 400, 1000.0},   // 1000 + 180 - 200 would start before the slider
        {100, 400, 2860.0},  // 1000 + 180 + 2000 - 200 would end past it
        {22, 400, 1030.0},   // 1000 + 180 + 50 - 200: within
        {60, 3000, 1000.0},  // wider than the slider: at its left edge
    };
    for (const Case& c : cases) {
        Slider s;
        Label label;
        s.lo = 20;
        s.hi = 100;
        s.v = c.value;
        label.w = c.width;
        prozentlabel_setzen(s, label);
        EXPECT_DOUBLE_EQ(label.l, c.left) << c.value << " " << c.width;
    }
}

TEST(SteuerelementeAktivieren, WalksNestedFramesButNotOtherContainers) {
    test::FakeControl frame, inner_frame, in_frame, in_inner, picture, in_picture, elsewhere, no_enabled;
    frame.kind_ = ControlKind::Frame;
    inner_frame.kind_ = ControlKind::Frame;
    inner_frame.container_ = &frame;
    in_frame.container_ = &frame;
    in_inner.container_ = &inner_frame;
    picture.kind_ = ControlKind::PictureBox;
    picture.container_ = &frame;
    in_picture.container_ = &picture;
    no_enabled.container_ = &frame;
    no_enabled.has_enabled_ = false;
    test::FakeWindow window;
    window.controls_ = {&frame, &inner_frame, &in_frame, &in_inner, &picture, &in_picture, &elsewhere, &no_enabled};

    steuerelemente_aktivieren(window, frame, false);
    EXPECT_TRUE(frame.enabled_);  // the container itself is not changed
    EXPECT_TRUE(elsewhere.enabled_);
    for (auto* c : {&inner_frame, &in_frame, &in_inner, &picture, &in_picture}) EXPECT_FALSE(c->enabled_);
    EXPECT_TRUE(no_enabled.enabled_);

    steuerelemente_aktivieren(window, frame, true);
    for (auto* c : {&inner_frame, &in_frame, &in_inner, &picture, &in_picture}) EXPECT_TRUE(c->enabled_);
}

TEST(DialogFont, SetOnControlsWithAFont) {
    test::FakeControl a, b;
    b.has_font_ = false;
    test::FakeWindow window;
    window.controls_ = {&a, &b};
    dialogschrift_setzen(window);
    EXPECT_EQ(a.font_, "MS Shell Dlg");
    EXPECT_EQ(b.font_, "");

    neuzeichnen_aus(window);
    neuzeichnen_ein(window);
    EXPECT_EQ(window.redraw_calls, (std::vector<bool>{false, true}));
}

struct Combo : FontComboBox {
    std::vector<std::string> keys;
    std::map<std::string, std::string> images;
    bool add_item(const std::string& key, const std::string& text) override {
        EXPECT_EQ(key, text);
        for (const auto& k : keys)
            if (k == key) return false;
        keys.push_back(key);
        return true;
    }
    void set_item_image(const std::string& key, const std::string& image) override { images[key] = image; }
};

TEST(SchriftartAufzaehlen, OneItemPerFaceWithItsImage) {
    Combo combo;
    EXPECT_EQ(schriftart_aufzaehlen("Liberation Sans", FONTTYPE_TRUETYPE, combo), 1);
    EXPECT_EQ(schriftart_aufzaehlen(std::string("Fixed\0junk", 10), FONTTYPE_RASTER, combo), 1);
    EXPECT_EQ(schriftart_aufzaehlen("Printer", FONTTYPE_DEVICE, combo), 1);
    EXPECT_EQ(schriftart_aufzaehlen("Plain", 0, combo), 1);
    EXPECT_EQ(schriftart_aufzaehlen("Liberation Sans", FONTTYPE_RASTER, combo), 1);
    EXPECT_EQ(combo.keys, (std::vector<std::string>{"Liberation Sans", "Fixed", "Printer", "Plain"}));
    EXPECT_EQ(combo.images, (std::map<std::string, std::string>{
                                {"Liberation Sans", "TrueType1"}, {"Fixed", "Raster"}, {"Printer", "Raster"}}));
}

TEST(SchriftartAufzaehlen, InstalledFamiliesFillTheList) {
    Combo combo;
    schriftarten_auflisten(combo);
    // The build machine carries DejaVu and Liberation fonts.
    bool dejavu = false;
    for (const auto& k : combo.keys) dejavu = dejavu || k == "DejaVu Sans";
    EXPECT_TRUE(dejavu);
    EXPECT_EQ(combo.images["DejaVu Sans"], "TrueType1");
}

}  // namespace
}  // namespace galvora
