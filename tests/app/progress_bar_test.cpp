#include "app/progress_bar.h"

#include <limits>

#include "app/app_test_support.h"

namespace galvora::testing {
namespace {

class ProgressBar : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        bar.lade_sprachressourcen();
        bar.groesse(200, 20);
    }
    Fortschrittanzeige bar;
};

TEST(Percentage, HalvesGoToTheEvenNeighbourAndLargeCountsDoNotOverflow) {
    struct Case {
        int32_t value;
        int32_t maximum;
        int32_t percent;
    };
    const Case cases[] = {
        {2, 8, 25}, {1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {0, 8, 0}, {8, 8, 100}, {-1, 8, -12},
        // value * 100 leaves the 32-bit range here
        {50'000'000, 100'000'000, 50}, {30'000'000, 40'000'000, 75},
        {std::numeric_limits<int32_t>::max(), 1, std::numeric_limits<int32_t>::max()},
        {5, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(prozentzahl(c.value, c.maximum), c.percent) << c.value << "/" << c.maximum;
}

TEST_F(ProgressBar, PaintsOnlyTheNewPieceAndNeverShrinksBeforeAReset) {
    bar.Max(8);
    bar.setze_aktwert(2);
    ASSERT_EQ(bar.stuecke().size(), 1u);
    EXPECT_FLOAT_EQ(bar.stuecke()[0].bis, 50);
    bar.setze_aktwert(4);
    ASSERT_EQ(bar.stuecke().size(), 1u);
    EXPECT_FLOAT_EQ(bar.stuecke()[0].bis, 100);
    // A smaller value fills the piece between again; the bar stays as long.
    bar.setze_aktwert(3);
    ASSERT_EQ(bar.stuecke().size(), 1u);
    EXPECT_FLOAT_EQ(bar.stuecke()[0].von, 0);
    EXPECT_FLOAT_EQ(bar.stuecke()[0].bis, 100);
    // Another colour makes a piece of its own; beyond the maximum the bar
    // runs past its end.
    bar.hgfarbe(0x0000FF);
    bar.setze_aktwert(10);
    ASSERT_EQ(bar.stuecke().size(), 2u);
    EXPECT_FLOAT_EQ(bar.stuecke()[1].von, 75);
    EXPECT_FLOAT_EQ(bar.stuecke()[1].bis, 250);
    EXPECT_EQ(bar.stuecke()[1].farbe, 0x0000FFu);
    bar.reset();
    EXPECT_TRUE(bar.stuecke().empty());
    // A new size clears the bar as well.
    bar.setze_aktwert(8);
    bar.groesse(300, 20);
    EXPECT_TRUE(bar.stuecke().empty());
    EXPECT_FLOAT_EQ(bar.breite(), 300);
}

TEST_F(ProgressBar, AMaximumOfZeroDoesNothing) {
    bar.Text("12 Bildern");
    bar.mit_prozentzahl(true);
    const std::string caption = bar.beschriftung();
    const uint64_t shown = bar.stand();
    bar.setze_aktwert(5);
    EXPECT_TRUE(bar.stuecke().empty());
    EXPECT_EQ(bar.beschriftung(), caption);
    EXPECT_EQ(bar.stand(), shown);
}

TEST_F(ProgressBar, TheLabelShowsThePercentageWhenItChanges) {
    bar.Text("120 Bildern");
    bar.Max(120);
    bar.mit_prozentzahl(true);
    bar.reset();
    EXPECT_EQ(bar.beschriftung(), "120 Bildern");
    bar.setze_aktwert(0);
    EXPECT_EQ(bar.beschriftung(), "120 Bildern");
    bar.setze_aktwert(44);
    EXPECT_EQ(bar.beschriftung(), "37% von 120 Bildern");
    // New text shows bare until the percentage changes again.
    bar.Text("121 Bildern");
    bar.setze_aktwert(44);
    EXPECT_EQ(bar.beschriftung(), "121 Bildern");
    bar.setze_aktwert(48);
    EXPECT_EQ(bar.beschriftung(), "40% von 121 Bildern");
    bar.mit_prozentzahl(false);
    EXPECT_EQ(bar.beschriftung(), "121 Bildern");
    bar.mit_prozentzahl(true);
    EXPECT_EQ(bar.beschriftung(), "40% von 121 Bildern");
    // Without the percent display the label keeps the text alone.
    bar.mit_prozentzahl(false);
    bar.setze_aktwert(60);
    EXPECT_EQ(bar.beschriftung(), "121 Bildern");
}

TEST_F(ProgressBar, FrameAndFlatLookAreKeptForThePainter) {
    EXPECT_EQ(bar.rahmenfarbe(), -1);
    EXPECT_EQ(bar.hgfarbe(), kFortschrittFarbe);
    bar.rahmenfarbe(0);
    EXPECT_EQ(bar.rahmenfarbe(), 0);
    EXPECT_FALSE(bar.flach());
    bar.flache_darstellung(0x123456);
    EXPECT_TRUE(bar.flach());
    EXPECT_EQ(bar.hintergrund(), 0x123456u);
}

}  // namespace
}  // namespace galvora::testing
