#pragma once

// Rounding of durations, positions and slider read-outs: to the nearest whole number, halves to
// the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Values beyond the int range saturate;
// NaN gives 0.
namespace playback {

int roundHalfEven(double value);

} // namespace playback
