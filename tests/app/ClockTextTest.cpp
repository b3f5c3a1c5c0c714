#include "app/ClockText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(ClockText, TwentyFourHourTimeAndShortDateFromTheLocale) {
    const QLocale nl(QLocale::Dutch, QLocale::Netherlands), us(QLocale::English, QLocale::UnitedStates);
    const QDateTime morning(QDate(2026, 12, 5), QTime(9, 5, 3)), afternoon(QDate(2026, 3, 9), QTime(14, 0));
    const std::tuple<QLocale, QDateTime, const char*> cases[] = {
        {nl, morning, " 9:05:03 / 5-12-2026"},
        {nl, {QDate(2027, 1, 1), QTime(0, 0, 7)}, " 0:00:07 / 1-1-2027"}, // just after midnight
        {nl, {QDate(2026, 6, 30), QTime(23, 59, 59)}, " 23:59:59 / 30-6-2026"},
        {us, {QDate(2026, 12, 5), QTime(21, 5, 3)}, " 21:05:03 / 12/5/2026"}, // no AM/PM
        {us, {QDate(2026, 12, 5), QTime(0, 0, 7)}, " 0:00:07 / 12/5/2026"},
        {QLocale(QLocale::Finnish, QLocale::Finland), morning, " 9.05.03 / 5.12.2026"},
        {QLocale(QLocale::German, QLocale::Germany), afternoon, " 14:00:00 / 9.3.2026"},
        {QLocale(QLocale::Japanese, QLocale::Japan), afternoon, " 14:00:00 / 2026/3/9"},
        {QLocale::c(), morning, " 9:05:03 / 5 Dec 2026"},
    };
    for (const auto& [locale, at, text] : cases) {
        EXPECT_EQ(app::clockText(at, locale), QString::fromUtf8(text));
    }
    // Quoted literal text in the time format is a separator like any other.
    EXPECT_EQ(app::clockText(afternoon, QLocale(QLocale::French, QLocale::Canada)).left(14),
              QStringLiteral(" 14 h 00 h 00 "));
}

} // namespace
