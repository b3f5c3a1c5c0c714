#include "playlist/PrintLayout.h"

#include <gtest/gtest.h>

using namespace playlist;
using namespace Qt::StringLiterals;

// The heading takes names and time separator from the locale, on a 24-hour clock; numbered
// entries get three blanks, plain ones stay untouched.
TEST(PrintLayout, HeadingAndEntryTexts) {
    const QDateTime morning(QDate(2026, 12, 6), QTime(9, 7, 1)),
        afternoon(QDate(2027, 3, 15), QTime(14, 5, 9));
    const QLocale nl(QLocale::Dutch, QLocale::Netherlands), us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(headingText(morning, nl), u"Playlist / zondag 6 december 2026, 9:07:01"_s);
    EXPECT_EQ(headingText(afternoon, nl), u"Playlist / maandag 15 maart 2027, 14:05:09"_s);
    EXPECT_EQ(headingText(afternoon, us), u"Playlist / Monday 15 March 2027, 14:05:09"_s);
    EXPECT_TRUE(headingText(morning, QLocale(QLocale::Finnish, QLocale::Finland)).endsWith(u", 9.07.01"_s));
    EXPECT_EQ(entryText(1, u"Eerste"_s, true), u"1.   Eerste"_s);
    EXPECT_EQ(entryText(10, u"Tiende"_s, true), u"10.   Tiende"_s);
    EXPECT_EQ(entryText(3, u"  a, b "_s, false), u"  a, b "_s);
}

TEST(PrintLayout, LinesWrapToTheTopOfANewPageAndAlwaysAdvance) {
    LineFeed feed(50.0, 10.0, 100.0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(feed.next().top, 50.0 + 10.0 * i);
    }
    // A line from 90 to 100 still fits, the next does not.
    const LineFeed::Line wrapped = feed.next();
    EXPECT_EQ(std::tuple(wrapped.newPage, wrapped.top, feed.pagesStarted()), std::tuple(true, 0.0, 1));
    EXPECT_FALSE(feed.next().newPage);

    LineFeed tall(0.0, 150.0, 100.0); // taller than a page: one page per line
    EXPECT_TRUE(!tall.next().newPage && tall.next().newPage);
    LineFeed below(990.0, 20.0, 500.0); // the first line already below the page
    EXPECT_TRUE(below.next().newPage);
    LineFeed zero(0.0, 0.0, 100.0); // a zero line height is taken as one dot
    zero.next();
    EXPECT_DOUBLE_EQ(zero.next().top, 1.0);
}
