#include "playlist/PrintLayout.h"

namespace playlist {

QChar timeSeparator(const QLocale& locale) {
    // The locale's own time format shows its separator right after the hour field,
    // e.g. "HH:mm:ss" or "H.mm.ss"; quoted literals and letters are not separators.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    qsizetype i = 0;
    while (i < format.size() && format.at(i) != QLatin1Char('h') && format.at(i) != QLatin1Char('H')) {
        ++i;
    }
    while (i < format.size() && (format.at(i) == QLatin1Char('h') || format.at(i) == QLatin1Char('H'))) {
        ++i;
    }
    if (i < format.size()) {
        const QChar c = format.at(i);
        if (!c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\'')) {
            return c;
        }
    }
    return QLatin1Char(':');
}

QString headingText(const QDateTime& when, const QLocale& locale) {
    const QTime t = when.time();
    const QChar sep = timeSeparator(locale);
    const QString time = QString::number(t.hour()) + sep +
                         QStringLiteral("%1").arg(t.minute(), 2, 10, QLatin1Char('0')) + sep +
                         QStringLiteral("%1").arg(t.second(), 2, 10, QLatin1Char('0'));
    return QStringLiteral("Playlist / ") + locale.toString(when.date(), QStringLiteral("dddd d MMMM yyyy")) +
           QStringLiteral(", ") + time;
}

QString separatorText() {
    return QStringLiteral("     ") + QString(kSeparatorHyphens, QLatin1Char('-'));
}

QString entryText(int number, const QString& displayName, bool numbered) {
    if (!numbered) {
        return displayName;
    }
    return QString::number(number) + QStringLiteral(".   ") + displayName;
}

double twipsToDots(double twips, int dotsPerInch) {
    return twips * dotsPerInch / 1440.0;
}

LineFeed::LineFeed(double firstTop, double lineHeight, double pageHeight)
    : m_top(firstTop), m_lineHeight(lineHeight > 0.0 ? lineHeight : 1.0), m_pageHeight(pageHeight) {}

LineFeed::Line LineFeed::next() {
    Line line;
    if (m_top > 0.0 && m_top + m_lineHeight > m_pageHeight) {
        m_top = 0.0;
        line.newPage = true;
        ++m_pagesStarted;
    }
    line.top = m_top;
    m_top += m_lineHeight;
    return line;
}

} // namespace playlist
