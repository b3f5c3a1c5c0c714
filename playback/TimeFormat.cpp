#include "playback/TimeFormat.h"

#include "playback/Rounding.h"

MinutesSeconds playback::splitRemaining(double remainingSeconds) {
    MinutesSeconds ms;
    // Integer division and % truncate towards zero and keep the dividend's sign.
    ms.minutes = playback::roundHalfEven(remainingSeconds) / 60;
    ms.seconds = playback::roundHalfEven(remainingSeconds - 60.0 * ms.minutes) % 60;
    return ms;
}

QString playback::remainingTimeText(double remainingSeconds) {
    // At the end the rounded position can pass the duration by up to half a second, which the
    // arithmetic below already shows as 0:00; anything more negative comes from a misbehaving
    // player, and "0:-05" would be nonsense to a reader.
    if (!(remainingSeconds > 0.0)) {
        remainingSeconds = 0.0;
    }
    const MinutesSeconds ms = playback::splitRemaining(remainingSeconds);
    return QString::number(ms.minutes) + QLatin1Char(':') +
           QStringLiteral("%1").arg(ms.seconds, 2, 10, QLatin1Char('0'));
}

QString playback::positionText(double durationSeconds, double positionSeconds) {
    return playback::remainingTimeText(durationSeconds - playback::roundHalfEven(positionSeconds));
}

int playback::wholeSeconds(double seconds) {
    return playback::roundHalfEven(seconds);
}

QString playback::volumeText(int sliderValue) {
    return QString::number(playback::roundHalfEven(sliderValue / 250.0));
}

QString playback::balanceText(int sliderValue) {
    return QString::number(playback::roundHalfEven(sliderValue / 500.0));
}
