#include "playback/TimeFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

TEST(ReadOuts, RemainingTimeRoundsHalvesToEvenAndNeverGoesNegative) {
    const std::pair<double, const char*> remaining[] = {
        {187.2, "3:07"}, {59.6, "1:00"}, {9, "0:09"},   {0, "0:00"},      {119.5, "2:00"},
        {118.5, "1:58"}, {1.5, "0:02"},  {0.5, "0:00"}, {765.0, "12:45"}, {6000.4, "100:00"}};
    for (const auto& [seconds, text] : remaining) {
        EXPECT_EQ(playback::remainingTimeText(seconds), text) << seconds;
    }
    for (const double bad : {-75.0, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(playback::remainingTimeText(bad), "0:00") << bad;
    }
    EXPECT_FALSE(playback::remainingTimeText(1e300).isEmpty()); // saturates instead of overflowing
    // The position is rounded before it is taken off (the player pane's tick sees 2.5 and 3.5); a
    // position rounded past the end shows no "-0:00".
    EXPECT_EQ(playback::positionText(10.6, 10.6), "0:00");
    EXPECT_EQ(playback::wholeSeconds(187.5), 188);
    EXPECT_EQ(playback::wholeSeconds(186.5), 186);
    EXPECT_EQ(playback::wholeSeconds(std::nan("")), 0);
    EXPECT_EQ(playback::wholeSeconds(1e12), std::numeric_limits<int>::max());
}

TEST(ReadOuts, VolumeAndBalanceLabels) {
    const std::pair<int, const char*> volume[] = {{1750, "7"}, {625, "2"},   {875, "4"},   {125, "0"},
                                                  {375, "2"},  {2500, "10"}, {2375, "10"}, {2374, "9"}};
    for (const auto& [slider, label] : volume) {
        EXPECT_EQ(playback::volumeText(slider), label) << slider;
    }
    EXPECT_EQ(std::pair(playback::playerVolume(1750), playback::playerVolume(0)), std::pair(-750, -2500));
    // Negative halves also go to the even neighbour, and there is no "-0".
    const std::pair<int, const char*> balance[] = {{-5000, "-10"}, {-1250, "-2"}, {-1750, "-4"},
                                                   {-750, "-2"},   {-4749, "-9"}, {-250, "0"},
                                                   {-1, "0"},      {750, "2"},    {5000, "10"}};
    for (const auto& [slider, label] : balance) {
        EXPECT_EQ(playback::balanceText(slider), label) << slider;
    }
}
