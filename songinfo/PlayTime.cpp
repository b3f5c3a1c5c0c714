#include "songinfo/PlayTime.h"

#include "playback/Rounding.h"

#include <cmath>

PlayTime songinfo::splitPlayTime(double durationSeconds) {
    if (!(durationSeconds > 0.0)) {
        return {};
    }
    PlayTime t;
    t.minutes = playback::roundHalfEven(durationSeconds) / 60;
    t.seconds = playback::roundHalfEven(durationSeconds - 60.0 * t.minutes) % 60;
    return t;
}

QString songinfo::playTimeWords(const PlayTime& time) {
    return QStringLiteral("%1 min. en %2").arg(time.minutes).arg(time.seconds, 2, 10, QLatin1Char('0'));
}

QString songinfo::formatByteCount(qint64 bytes, const QLocale& locale) {
    if (bytes < 0) {
        bytes = 0;
    }
    const QString digits = QString::number(bytes);
    const QString separator = locale.groupSeparator();
    QString out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits.at(i);
    }
    return out;
}

QString songinfo::playTimeAndSizeText(double durationSeconds, qint64 bytes, const QLocale& locale) {
    return QStringLiteral("Speeltijd is ") +
           songinfo::playTimeWords(songinfo::splitPlayTime(durationSeconds)) +
           QStringLiteral(" sec. / Grootte is ") + songinfo::formatByteCount(bytes, locale) +
           QStringLiteral(" bytes");
}

QString songinfo::unreadableSongText(qint64 bytes, const QLocale& locale) {
    return QStringLiteral("Speeltijd onbekend: het bestand kan niet worden afgespeeld / Grootte is ") +
           songinfo::formatByteCount(bytes, locale) + QStringLiteral(" bytes");
}

QString songinfo::missingSongText(const QString& fileName) {
    return QStringLiteral("Bestand niet gevonden: ") + fileName;
}
