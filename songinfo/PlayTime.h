#pragma once

#include <QLocale>
#include <QString>

// Playing time as the song information shows it: whole minutes, and the seconds left over.
struct PlayTime {
    int minutes = 0;
    int seconds = 0; // 0 to 59 for every non-negative duration

    friend bool operator==(const PlayTime&, const PlayTime&) = default;
};

namespace songinfo {

// Splits a duration in seconds. The minutes come from the duration rounded (halves to even)
// first and then divided by 60, so 59.6 s is 1 min 00 sec rather than 0 min 60 sec.
// NaN and negative durations count as 0.
PlayTime splitPlayTime(double durationSeconds);

// "<minutes> min. en <ss>": the minutes as a plain number, the seconds with two digits.
QString playTimeWords(const PlayTime& time);

// A byte count grouped in thousands with the locale's group separator and at least one digit
// ("##,##0"): 999 -> "999", 4321987 -> "4.321.987" where the separator is a point. The digits
// are always 0-9 and the groups always three wide, whatever the locale's own number style.
QString formatByteCount(qint64 bytes, const QLocale& locale = QLocale());

// The info line after a measurement:
// "Speeltijd is 4 min. en 05 sec. / Grootte is 4.321.987 bytes".
QString playTimeAndSizeText(double durationSeconds, qint64 bytes, const QLocale& locale = QLocale());

// The info line when the player cannot load the file: the size is still worth telling.
QString unreadableSongText(qint64 bytes, const QLocale& locale = QLocale());

// The info line when the file is gone (deleted or renamed since the folder was listed).
QString missingSongText(const QString& fileName);

} // namespace songinfo
