#include "playback/TimeFormat.h"
#include "playback/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(RemainingTime, WorkedValues) {
    EXPECT_EQ(remainingTimeText(187.2), "3:07");
    EXPECT_EQ(remainingTimeText(59.6), "1:00");
    EXPECT_EQ(remainingTimeText(9), "0:09");
    EXPECT_EQ(remainingTimeText(0), "0:00");
}

TEST(RemainingTime, MinutesAreRoundedBeforeDividingAndSecondsNeverReachSixty) {
    // 119.5 rounds to 120 (even): 2 minutes, and the seconds round from -0.5 to 0.
    EXPECT_EQ(remainingTimeText(119.5), "2:00");
    EXPECT_EQ(remainingTimeText(118.5), "1:58");
    EXPECT_EQ(remainingTimeText(60.5), "1:00");
    EXPECT_EQ(remainingTimeText(59.4), "0:59");
    EXPECT_EQ(remainingTimeText(0.5), "0:00");
    EXPECT_EQ(remainingTimeText(1.5), "0:02");
    const MinutesSeconds ms = splitRemaining(59.6);
    EXPECT_EQ(ms.minutes, 1);
    EXPECT_EQ(ms.seconds, 0);
}

TEST(RemainingTime, MinutesHaveNoLeadingZeroAndNoUpperLimit) {
    EXPECT_EQ(remainingTimeText(765.0), "12:45");
    EXPECT_EQ(remainingTimeText(3600.0), "60:00");
    EXPECT_EQ(remainingTimeText(6000.4), "100:00");
    EXPECT_EQ(remainingTimeText(36000.0 * 10 + 7), "6000:07");
}

TEST(RemainingTime, PositionsPastTheEndAndGarbageReadAsZero) {
    EXPECT_EQ(remainingTimeText(-0.4), "0:00");
    EXPECT_EQ(remainingTimeText(-75.0), "0:00");
    EXPECT_EQ(remainingTimeText(std::nan("")), "0:00");
    EXPECT_EQ(remainingTimeText(-std::numeric_limits<double>::infinity()), "0:00");
    // Absurdly long songs saturate instead of overflowing.
    EXPECT_FALSE(remainingTimeText(1e300).isEmpty());
}

TEST(PositionText, RemainingCountsFromTheRoundedPosition) {
    EXPECT_EQ(positionText(187.2, 0.0), "3:07");
    EXPECT_EQ(positionText(187.2, 0.4), "3:07");
    // 2.5 rounds to 2, 3.5 to 4.
    EXPECT_EQ(positionText(10.0, 2.5), "0:08");
    EXPECT_EQ(positionText(10.0, 3.5), "0:06");
    // Shortly before the end and at it.
    EXPECT_EQ(positionText(30.0, 29.0), "0:01");
    EXPECT_EQ(positionText(30.25, 30.25), "0:00");
    // A fraction above .5 rounds the position past the duration: still 0:00, never negative.
    EXPECT_EQ(positionText(10.6, 10.6), "0:00");
}

TEST(SliderValues, WholeSecondsRoundHalvesToEven) {
    EXPECT_EQ(wholeSeconds(187.2), 187);
    EXPECT_EQ(wholeSeconds(187.5), 188);
    EXPECT_EQ(wholeSeconds(186.5), 186);
    EXPECT_EQ(wholeSeconds(0.0), 0);
    EXPECT_EQ(wholeSeconds(std::nan("")), 0);
    EXPECT_EQ(wholeSeconds(1e12), std::numeric_limits<int>::max());
}

TEST(VolumeAndBalance, VolumeLabelAndPlayerVolume) {
    const struct {
        int slider;
        const char* label;
    } cases[] = {{1750, "7"}, {625, "2"},  {875, "4"},  {125, "0"},   {375, "2"}, {2500, "10"},
                 {0, "0"},    {1250, "5"}, {1375, "6"}, {2375, "10"}, {2374, "9"}};
    for (const auto& c : cases) {
        EXPECT_EQ(volumeText(c.slider), QString::fromLatin1(c.label)) << c.slider;
    }
    EXPECT_EQ(playerVolume(2500), 0);
    EXPECT_EQ(playerVolume(1750), -750);
    EXPECT_EQ(playerVolume(0), -2500);
}

TEST(VolumeAndBalance, BalanceLabelHasAHyphenForNegativesAndNoMinusZero) {
    const struct {
        int slider;
        const char* label;
    } cases[] = {{-5000, "-10"}, {-1250, "-2"}, {0, "0"},      {5000, "10"}, {-250, "0"},
                 {250, "0"},     {-750, "-2"},  {1250, "2"},   {750, "2"},   {-4750, "-10"},
                 {-4749, "-9"},  {-1, "0"},     {-2500, "-5"}, {2501, "5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(balanceText(c.slider), QString::fromLatin1(c.label)) << c.slider;
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999999), 2);
    EXPECT_EQ(roundHalfEven(-0.4), 0);
}
