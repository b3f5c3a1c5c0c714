#include "appearance/ColorsPlacement.h"

#include <gtest/gtest.h>

using namespace appearance;

TEST(ColorsPlacement, OffsetFromTheClickKeptOnTheAvailableScreen) {
    const QRect screen(0, 0, 1280, 1024), second(1280, 0, 1920, 1080), panels(0, 30, 1280, 950);
    const QSize editor(200, 166);
    EXPECT_EQ(editorTopLeft({10, 20}, kList1OffsetTwips, screen, screen, editor), QPoint(10, 180));
    EXPECT_EQ(editorTopLeft({10, 80}, kList2OffsetTwips, screen, screen, editor), QPoint(410, 30));
    EXPECT_EQ(editorTopLeft({100, 15}, kInfoBarOffsetTwips, screen, screen, editor), QPoint(100, 495));
    EXPECT_EQ(editorTopLeft({10, 20}, kList1OffsetTwips, second, second, editor), QPoint(1290, 180));
    // Above the top, past the right and bottom edges, outside the panels: the editor stays visible.
    EXPECT_EQ(editorTopLeft({10, 20}, kList2OffsetTwips, screen, screen, editor), QPoint(410, 0));
    EXPECT_EQ(editorTopLeft({1200, 900}, kInfoBarOffsetTwips, screen, screen, editor), QPoint(1080, 858));
    EXPECT_EQ(editorTopLeft({5, 0}, kList2OffsetTwips, screen, panels, editor), QPoint(405, 30));
    EXPECT_EQ(editorTopLeft({0, 900}, kInfoBarOffsetTwips, screen, panels, editor), QPoint(0, 980 - 166));
    // A screen smaller than the editor: its top left corner; no screen known: the formula alone.
    const QRect tiny(0, 0, 150, 100);
    EXPECT_EQ(editorTopLeft({50, 50}, kList1OffsetTwips, tiny, tiny, editor), QPoint(0, 0));
    EXPECT_EQ(editorTopLeft({10, 20}, kList2OffsetTwips, QRect(), QRect(), editor), QPoint(410, -30));
}
