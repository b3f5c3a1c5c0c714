#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// What a printed playlist says and where its lines go, independent of any printer.
// Positions are in twips (1/1440 inch) from the top left corner of the printable area, or in
// printer dots where a function says so.
namespace playlist {

inline constexpr int kHeadingXTwips = 390;
inline constexpr int kHeadingYTwips = 390;
inline constexpr int kEntryXTwips = 390;
inline constexpr int kFirstEntryYTwips = 990;
inline constexpr double kHeadingPointSize = 14.0;
inline constexpr double kEntryPointSize = 10.0;
inline constexpr int kSeparatorHyphens = 130;

// The character the locale puts between hours and minutes (":" when it names none).
QChar timeSeparator(const QLocale& locale);

// "Playlist / " + the date as "dddd d mmmm yyyy" + ", " + the time as "h:mm:ss": day and month
// names of `locale`, no leading zero on the day or the hour, the locale's time separator.
QString headingText(const QDateTime& when, const QLocale& locale);

// Five blanks and 130 hyphens.
QString separatorText();

// `number` counts from 1. Numbered: "12.   name"; plain: the name alone.
QString entryText(int number, const QString& displayName, bool numbered);

// Twips to dots of a device with `dotsPerInch` dots per inch.
double twipsToDots(double twips, int dotsPerInch);

// Hands out the vertical places of the entry lines: one below the other from `firstTop`, and
// at the top of a new page (y 0) when a line would reach past the bottom of the page. A line
// taller than a page still gets a page of its own, so the feed always advances.
// All values in dots.
class LineFeed {
public:
    struct Line {
        double top = 0.0;
        bool newPage = false; // the line starts a new page
    };

    LineFeed(double firstTop, double lineHeight, double pageHeight);

    Line next();
    int pagesStarted() const { return m_pagesStarted; }

private:
    double m_top;
    double m_lineHeight;
    double m_pageHeight;
    int m_pagesStarted = 0;
};

} // namespace playlist
