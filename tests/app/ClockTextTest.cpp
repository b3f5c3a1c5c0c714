#include "app/ClockText.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TEST(ClockText, DutchExample) {
    const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    EXPECT_EQ(ClockText::format(at(2026, 12, 5, 9, 5, 3), dutch), QStringLiteral(" 9:05:03 / 5-12-2026"));
}

TEST(ClockText, HourOnATwentyFourHourClockWithoutLeadingZero) {
    const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    EXPECT_EQ(ClockText::format(at(2027, 1, 1, 0, 0, 7), dutch), QStringLiteral(" 0:00:07 / 1-1-2027"));
    EXPECT_EQ(ClockText::format(at(2026, 6, 30, 23, 59, 59), dutch), QStringLiteral(" 23:59:59 / 30-6-2026"));
    // A locale that writes times with AM/PM still gets the 24-hour clock.
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ClockText::format(at(2026, 12, 5, 21, 5, 3), us), QStringLiteral(" 21:05:03 / 12/5/2026"));
    EXPECT_EQ(ClockText::format(at(2026, 12, 5, 0, 0, 7), us), QStringLiteral(" 0:00:07 / 12/5/2026"));
}

TEST(ClockText, SeparatorsAndDateOrderComeFromTheLocale) {
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(ClockText::timeSeparator(finnish), QStringLiteral("."));
    EXPECT_EQ(ClockText::format(at(2026, 12, 5, 9, 5, 3), finnish), QStringLiteral(" 9.05.03 / 5.12.2026"));

    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ClockText::format(at(2026, 3, 9, 14, 0, 0), german), QStringLiteral(" 14:00:00 / 9.3.2026"));

    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    EXPECT_EQ(ClockText::format(at(2026, 3, 9, 14, 0, 0), japanese), QStringLiteral(" 14:00:00 / 2026/3/9"));

    // Quoted literal text in the time format is a separator like any other.
    const QLocale canadianFrench(QLocale::French, QLocale::Canada);
    EXPECT_EQ(ClockText::timeSeparator(canadianFrench), QStringLiteral(" h "));
    EXPECT_EQ(ClockText::format(at(2026, 3, 9, 14, 0, 0), canadianFrench).left(14),
              QStringLiteral(" 14 h 00 h 00 "));

    // Month names stay as the locale writes them.
    EXPECT_EQ(ClockText::format(at(2026, 12, 5, 9, 5, 3), QLocale::c()),
              QStringLiteral(" 9:05:03 / 5 Dec 2026"));
}

TEST(ClockText, WakesJustAfterTheNextWholeSecond) {
    EXPECT_EQ(ClockText::msUntilNextSecond(QTime(9, 5, 3, 0)), 1000 + ClockText::kTickLagMs);
    EXPECT_EQ(ClockText::msUntilNextSecond(QTime(9, 5, 3, 998)), 2 + ClockText::kTickLagMs);
    EXPECT_EQ(ClockText::msUntilNextSecond(QTime(23, 59, 59, 500)), 500 + ClockText::kTickLagMs);
    // Never later than 60 ms after the second, as a 60 ms timer would show it.
    EXPECT_LT(ClockText::kTickLagMs, 60);
}

} // namespace
