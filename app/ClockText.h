#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// The clock's text in the top strip: one blank, the time as "h:mm:ss" (24-hour clock, hour
// without a leading zero, the locale's time separator), " / ", and the date in the locale's short
// date order and separators, with day and month without leading zeros and the year in full
// (" 9:05:03 / 5-12-2026" in Dutch, " 9:05:03 / 12/5/2026" in US English).
namespace app {

QString clockText(const QDateTime& now, const QLocale& locale);

// The separator between hours and minutes in the locale's short time format (":" when it has
// none that can be found, "." in Finnish).
QString timeSeparator(const QLocale& locale);

// The locale's short date format with "dd" and "MM" made "d" and "M", and the year four digits.
QString dateFormat(const QLocale& locale);

// Milliseconds from `now` until just after the next whole second: the clock wakes only when
// its text can change, and shows the new second within a few milliseconds of it.
int msUntilNextSecond(const QTime& now);

// How long after the whole second the clock wakes, so that a timer that fires a little early
// still lands in the new second.
inline constexpr int kTickLagMs = 4;

} // namespace app
