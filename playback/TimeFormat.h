#pragma once

#include <QString>

// The read-outs of the player pane: remaining time, volume and balance numbers, and the values
// the sliders and the player get. Every rounding goes through roundHalfEven (playback/Rounding.h).
// Pure functions, any thread.

// Whole minutes and seconds of a remaining time: minutes = round(R) / 60 with the fraction
// dropped; seconds = round(R - 60 * minutes), then modulo 60 with the sign of the dividend.
struct MinutesSeconds {
    int minutes = 0;
    int seconds = 0;
};
namespace playback {

MinutesSeconds splitRemaining(double remainingSeconds);

// "M:SS" for a remaining time in seconds: minutes without leading zero and without upper limit,
// seconds with at least two digits (187.2 -> "3:07", 59.6 -> "1:00", 9 -> "0:09").
// A negative remaining time (a position reported past the end) reads as "0:00".
QString remainingTimeText(double remainingSeconds);

// What the position display shows for a song of `durationSeconds` at `positionSeconds`:
// the remaining time counts from the position rounded to whole seconds.
QString positionText(double durationSeconds, double positionSeconds);

// The caption of PosLabel whenever a new song starts, before the first tick.
inline QString newSongPositionText() {
    return QStringLiteral("00:00");
}

// Whole seconds for Slider1: its maximum from the duration, its value from the position.
int wholeSeconds(double seconds);

// Volume slider (0..2500) to the player's volume (-2500..0, hundredths of a decibel).
inline int playerVolume(int sliderValue) {
    return sliderValue - 2500;
}

// VolumeLabel for a volume slider value: round(v / 250), 0 to 10 (625 -> "2", 875 -> "4").
QString volumeText(int sliderValue);

// Label12 for a balance slider value: round(b / 500), -10 to 10 with a hyphen for negatives.
QString balanceText(int sliderValue);

} // namespace playback
