#include "app/ClockText.h"

namespace app {

namespace {

bool isPatternLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A text as a literal part of a date/time format: quoted, with inner quotes doubled.
QString quoted(const QString& text) {
    QString inner = text;
    inner.replace(u'\'', QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

} // namespace

QString timeSeparator(const QLocale& locale) {
    const QString f = locale.timeFormat(QLocale::ShortFormat);
    qsizetype i = 0;
    while (i < f.size() && f[i] != u'h' && f[i] != u'H') {
        ++i;
    }
    while (i < f.size() && (f[i] == u'h' || f[i] == u'H')) {
        ++i;
    }
    // Everything up to the minutes; quoted parts are literal text ("HH 'h' mm" gives " h ").
    QString sep;
    bool inQuote = false;
    for (; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == u'\'') {
            if (inQuote && i + 1 < f.size() && f[i + 1] == u'\'') {
                sep += u'\'';
                ++i;
            } else {
                inQuote = !inQuote;
            }
            continue;
        }
        if (!inQuote && isPatternLetter(c)) {
            return c == u'm' && !sep.isEmpty() ? sep : QStringLiteral(":");
        }
        sep += c;
    }
    return QStringLiteral(":");
}

QString dateFormat(const QLocale& locale) {
    const QString f = locale.dateFormat(QLocale::ShortFormat);
    QString out;
    out.reserve(f.size() + 2);
    for (qsizetype i = 0; i < f.size();) {
        const QChar c = f[i];
        if (c == u'\'') {
            // Literal text runs to the closing quote; a doubled quote stays as it is.
            const qsizetype end = f.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? f.size() : end + 1;
            out += QStringView(f).sliced(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype run = 1;
        while (i + run < f.size() && f[i + run] == c) {
            ++run;
        }
        if ((c == u'd' || c == u'M') && run == 2) {
            out += c;
        } else if (c == u'y' && run != 4) {
            out += QStringLiteral("yyyy");
        } else {
            out += QStringView(f).sliced(i, run);
        }
        i += run;
    }
    return out;
}

QString clockText(const QDateTime& now, const QLocale& locale) {
    const QString sep = quoted(timeSeparator(locale));
    const QString timeFormat = QStringLiteral("h") + sep + QStringLiteral("mm") + sep + QStringLiteral("ss");
    return u' ' + locale.toString(now.time(), timeFormat) + QStringLiteral(" / ") +
           locale.toString(now.date(), dateFormat(locale));
}

int msUntilNextSecond(const QTime& now) {
    return 1000 - now.msec() + kTickLagMs;
}

} // namespace app
