#include "playlist/PrintLayout.h"

#include <gtest/gtest.h>

using namespace PrintLayout;

namespace {

QDateTime at(int h, int m, int s) {
    return QDateTime(QDate(2026, 12, 6), QTime(h, m, s));
}

} // namespace

TEST(PrintHeading, DutchDayAndMonthNamesWithoutLeadingZeros) {
    const QLocale nl(QLocale::Dutch, QLocale::Netherlands);
    EXPECT_EQ(headingText(at(9, 7, 1), nl), QStringLiteral("Playlist / zondag 6 december 2026, 9:07:01"));
    EXPECT_EQ(headingText(QDateTime(QDate(2027, 3, 15), QTime(23, 59, 59)), nl),
              QStringLiteral("Playlist / maandag 15 maart 2027, 23:59:59"));
    EXPECT_EQ(headingText(at(0, 0, 0), nl), QStringLiteral("Playlist / zondag 6 december 2026, 0:00:00"));
}

TEST(PrintHeading, OtherLocalesUseTheirNamesAndTimeSeparator) {
    EXPECT_EQ(headingText(at(14, 5, 9), QLocale(QLocale::English, QLocale::UnitedKingdom)),
              QStringLiteral("Playlist / Sunday 6 December 2026, 14:05:09"));
    // The hour stays on the 24-hour clock even where the locale writes AM/PM.
    EXPECT_EQ(headingText(at(14, 5, 9), QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("Playlist / Sunday 6 December 2026, 14:05:09"));
    const QLocale fi(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(timeSeparator(fi), QLatin1Char('.'));
    EXPECT_TRUE(headingText(at(9, 7, 1), fi).endsWith(QStringLiteral(", 9.07.01")));
    EXPECT_EQ(timeSeparator(QLocale::c()), QLatin1Char(':'));
}

TEST(PrintLines, SeparatorAndEntries) {
    const QString sep = separatorText();
    EXPECT_EQ(sep.size(), 135);
    EXPECT_TRUE(sep.startsWith(QStringLiteral("     -")));
    EXPECT_EQ(sep.count(QLatin1Char('-')), 130);

    EXPECT_EQ(entryText(1, QStringLiteral("Eerste"), true), QStringLiteral("1.   Eerste"));
    EXPECT_EQ(entryText(10, QStringLiteral("Tiende"), true), QStringLiteral("10.   Tiende"));
    EXPECT_EQ(entryText(32767, QString(), true), QStringLiteral("32767.   "));
    // Unnumbered lines are the name exactly, blanks included.
    EXPECT_EQ(entryText(3, QStringLiteral("  a, b "), false), QStringLiteral("  a, b "));
}

TEST(PrintLineFeed, LinesFollowEachOtherThenWrapToTheTopOfANewPage) {
    LineFeed feed(50.0, 10.0, 100.0);
    for (int i = 0; i < 5; ++i) {
        const LineFeed::Line line = feed.next();
        EXPECT_DOUBLE_EQ(line.top, 50.0 + 10.0 * i);
        EXPECT_FALSE(line.newPage);
    }
    // 100 is the page height: a line from 90 to 100 still fits, the next does not.
    LineFeed::Line line = feed.next();
    EXPECT_DOUBLE_EQ(line.top, 0.0);
    EXPECT_TRUE(line.newPage);
    for (int i = 1; i < 10; ++i) {
        line = feed.next();
        EXPECT_DOUBLE_EQ(line.top, 10.0 * i);
        EXPECT_FALSE(line.newPage);
    }
    EXPECT_TRUE(feed.next().newPage);
    EXPECT_EQ(feed.pagesStarted(), 2);
}

TEST(PrintLineFeed, ALineTallerThanAPageStillAdvances) {
    LineFeed feed(0.0, 150.0, 100.0);
    EXPECT_FALSE(feed.next().newPage); // the first line sits at the top already
    for (int i = 0; i < 3; ++i) {
        const LineFeed::Line line = feed.next();
        EXPECT_TRUE(line.newPage);
        EXPECT_DOUBLE_EQ(line.top, 0.0);
    }
    LineFeed first(990.0, 20.0, 500.0); // the first line already below the page
    const LineFeed::Line moved = first.next();
    EXPECT_TRUE(moved.newPage);
    EXPECT_DOUBLE_EQ(moved.top, 0.0);
    LineFeed zero(0.0, 0.0, 100.0); // a zero line height is taken as one dot
    EXPECT_DOUBLE_EQ(zero.next().top, 0.0);
    EXPECT_DOUBLE_EQ(zero.next().top, 1.0);
}
