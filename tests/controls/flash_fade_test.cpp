// The flashing label's fade: the table of colours and the walk of the timer's ticks over it.
#include <gtest/gtest.h>

#include <vector>

#include "controls/flash_fade.h"

namespace calvora::controls {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

std::vector<int> indicesShown(FlashFade& fade, int ticks) {
    std::vector<int> shown;
    for (int i = 0; i < ticks; ++i) {
        shown.push_back(fade.index());
        fade.tick();
    }
    return shown;
}

TEST(FadeTable, BlackToWhiteInFourStepsRoundsHalvesToEven) {
    // 63.75 per step: 127.5 goes to 128, 191.25 to 191; white itself is never reached.
    const std::vector<Rgb> expected = {{0, 0, 0}, {64, 64, 64}, {128, 128, 128}, {191, 191, 191}};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(fadeEntry(kBlack, kWhite, k, 4), expected[k - 1]) << "entry " << k;
    }
}

TEST(FadeTable, HalvesGoToTheEvenNeighbourInBothDirections) {
    // 255 - 5.5 = 249.5 -> 250 (even), 2.5 -> 2, 3.5 -> 4: each component on its own.
    EXPECT_EQ(fadeEntry(Rgb{0, 0, 255}, Rgb{244, 244, 244}, 11, 20).blue, 250);
    EXPECT_EQ(fadeEntry(Rgb{0, 0, 0}, Rgb{5, 7, 0}, 2, 2), (Rgb{2, 4, 0}));
    EXPECT_EQ(fadeEntry(Rgb{10, 20, 30}, Rgb{200, 100, 0}, 1, 7), (Rgb{10, 20, 30}));
}

TEST(FadeTable, ColorValuesHaveRedInTheLowByte) {
    EXPECT_EQ(rgbFromColorValue(0x0000FF), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbFromColorValue(16053492), (Rgb{244, 244, 244}));
    EXPECT_EQ(rgbFromColorValue(2490381), (Rgb{13, 0, 38}));
}

TEST(FlashFade, StepsAreClampedToFiveToForty) {
    struct Case {
        int set;
        int kept;
    };
    for (Case c : {Case{3, 5}, Case{-7, 5}, Case{5, 5}, Case{20, 20}, Case{40, 40}, Case{50, 40}}) {
        FlashFade fade;
        fade.setSteps(c.set);
        EXPECT_EQ(fade.steps(), c.kept) << "set " << c.set;
    }
}

TEST(FlashFade, DefaultsStartRedAtIndexOneGoingUp) {
    FlashFade fade(kWhite);
    EXPECT_EQ(fade.steps(), 16);
    EXPECT_EQ(fade.index(), 1);
    EXPECT_EQ(fade.direction(), 1);
    EXPECT_EQ(fade.entry(1), (Rgb{255, 0, 0}));
    EXPECT_EQ(fade.tick(), (Rgb{255, 0, 0}));
}

TEST(FlashFade, TicksRunUpAndDownWithThePeriodTwiceStepsLessOne) {
    FlashFade fade;
    fade.setSteps(5);
    // 1..5, 5 twice at the top, down to 2, then 1 once, and round again.
    const std::vector<int> expected = {1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1};
    EXPECT_EQ(indicesShown(fade, 19), expected);

    FlashFade mainWindow;
    mainWindow.setSteps(20);
    const std::vector<int> twoPeriods = indicesShown(mainWindow, 78);
    EXPECT_EQ(std::vector<int>(twoPeriods.begin(), twoPeriods.begin() + 39),
              std::vector<int>(twoPeriods.begin() + 39, twoPeriods.end()));
    EXPECT_EQ(twoPeriods[19], 20);
    EXPECT_EQ(twoPeriods[20], 20);
}

TEST(FlashFade, TicksShowTheTableEntryOfTheIndex) {
    FlashFade fade(kWhite);
    fade.setFlashColor(kBlack);
    fade.setSteps(5);  // 51 per step
    const std::vector<Rgb> expected = {{0, 0, 0},       {51, 51, 51},    {102, 102, 102},
                                       {153, 153, 153}, {204, 204, 204}, {204, 204, 204},
                                       {153, 153, 153}};
    for (const Rgb& colour : expected) {
        EXPECT_EQ(fade.tick(), colour);
    }
}

TEST(FlashFade, ShrinkingStepsBelowTheIndexTurnsTheFadeDownwards) {
    FlashFade fade;
    fade.setSteps(16);
    for (int i = 0; i < 15; ++i) {
        fade.tick();
    }
    ASSERT_EQ(fade.index(), 16);
    ASSERT_EQ(fade.direction(), 1);
    fade.setSteps(10);
    EXPECT_EQ(fade.index(), 10);
    EXPECT_EQ(fade.direction(), -1);
    EXPECT_EQ(indicesShown(fade, 4), (std::vector<int>{10, 9, 8, 7}));
}

TEST(FlashFade, ChangingAColourKeepsIndexAndDirection) {
    FlashFade fade(kWhite);
    fade.setSteps(5);
    for (int i = 0; i < 6; ++i) {
        fade.tick();
    }
    const int index = fade.index();
    const int direction = fade.direction();
    fade.setFlashColor(kBlack);
    fade.setColor(Rgb{100, 100, 100});
    EXPECT_EQ(fade.index(), index);
    EXPECT_EQ(fade.direction(), direction);
    EXPECT_EQ(fade.entry(2), (Rgb{20, 20, 20}));
}

}  // namespace
}  // namespace calvora::controls
