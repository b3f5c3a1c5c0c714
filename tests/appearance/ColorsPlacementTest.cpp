#include "appearance/ColorsPlacement.h"

#include <gtest/gtest.h>

using namespace ColorsPlacement;

namespace {
const QRect kScreen(0, 0, 1280, 1024);
const QSize kEditor(200, 166);
} // namespace

TEST(ColorsPlacement, OffsetsPerControlFromTheClickPosition) {
    EXPECT_EQ(topLeft({10, 20}, kList1OffsetTwips, kScreen, kScreen, kEditor), QPoint(10, 180));
    EXPECT_EQ(topLeft({10, 80}, kList2OffsetTwips, kScreen, kScreen, kEditor), QPoint(410, 30));
    EXPECT_EQ(topLeft({100, 15}, kInfoBarOffsetTwips, kScreen, kScreen, kEditor), QPoint(100, 495));
}

TEST(ColorsPlacement, KeptOnTheScreen) {
    // Above the top edge.
    EXPECT_EQ(topLeft({10, 20}, kList2OffsetTwips, kScreen, kScreen, kEditor), QPoint(410, 0));
    // Past the right and bottom edges: the whole editor stays visible.
    EXPECT_EQ(topLeft({1200, 900}, kInfoBarOffsetTwips, kScreen, kScreen, kEditor), QPoint(1080, 858));
    // Panels take part of the screen: the available area counts.
    const QRect available(0, 30, 1280, 950);
    EXPECT_EQ(topLeft({5, 0}, kList2OffsetTwips, kScreen, available, kEditor), QPoint(405, 30));
    EXPECT_EQ(topLeft({0, 900}, kInfoBarOffsetTwips, kScreen, available, kEditor), QPoint(0, 980 - 166));
}

TEST(ColorsPlacement, FollowsTheScreenOfTheMainWindow) {
    const QRect second(1280, 0, 1920, 1080);
    EXPECT_EQ(topLeft({10, 20}, kList1OffsetTwips, second, second, kEditor), QPoint(1290, 180));
}

TEST(ColorsPlacement, TinyOrUnknownScreens) {
    // A screen smaller than the editor: its top left corner wins.
    const QRect tiny(0, 0, 150, 100);
    EXPECT_EQ(topLeft({50, 50}, kList1OffsetTwips, tiny, tiny, kEditor), QPoint(0, 0));
    // No screen known: the formula alone.
    EXPECT_EQ(topLeft({10, 20}, kList2OffsetTwips, QRect(), QRect(), kEditor), QPoint(410, -30));
}
