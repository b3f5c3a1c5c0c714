#include "playback/TimeFormat.h"

#include "playback/Rounding.h"

MinutesSeconds splitRemaining(double remainingSeconds) {
    MinutesSeconds ms;
    // Integer division and % truncate towards zero and keep the dividend's sign.
    ms.minutes = roundHalfEven(remainingSeconds) / 60;
    ms.seconds = roundHalfEven(remainingSeconds - 60.0 * ms.minutes) % 60;
    return ms;
}

QString remainingTimeText(double remainingSeconds) {
    // At the end the rounded position can pass the duration by up to half a second, which the
    // arithmetic below already shows as 0:00; anything more negative comes from a misbehaving
    // player, and "0:-05" would be nonsense to a reader.
    if (!(remainingSeconds > 0.0)) {
        remainingSeconds = 0.0;
    }
    const MinutesSeconds ms = splitRemaining(remainingSeconds);
    return QString::number(ms.minutes) + QLatin1Char(':') +
           QStringLiteral("%1").arg(ms.seconds, 2, 10, QLatin1Char('0'));
}

QString positionText(double durationSeconds, double positionSeconds) {
    return remainingTimeText(durationSeconds - roundHalfEven(positionSeconds));
}

int wholeSeconds(double seconds) {
    return roundHalfEven(seconds);
}

QString volumeText(int sliderValue) {
    return QString::number(roundHalfEven(sliderValue / 250.0));
}

QString balanceText(int sliderValue) {
    return QString::number(roundHalfEven(sliderValue / 500.0));
}
