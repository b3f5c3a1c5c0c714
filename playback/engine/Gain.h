#pragma once

// Volume and balance as the player's callers give them, turned into per-channel amplitude
// factors. Pure functions: no state, callable from any thread.
namespace playback {

// Lowest volume; at or below it the output is silent.
inline constexpr int kMinVolume = -2500;
inline constexpr int kMaxBalance = 5000;

struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;
    friend bool operator==(const StereoGain&, const StereoGain&) = default;
};

// Volume in hundredths of a decibel: 0 gives 1.0, -600 about 0.5, -2500 and below 0.0 (muted).
// Values above 0 are taken as 0: the player never amplifies.
float volumeToAmplitude(int hundredthsDb);

// Balance -5000 (left) .. 5000 (right): the opposite channel is attenuated by |balance|/100 dB,
// the favoured one stays at 1.0. Values beyond the range are clamped to it.
StereoGain balanceToGains(int balance);

// Both together: the volume factor on each channel's balance factor.
StereoGain combinedGain(int volumeHundredthsDb, int balance);

// Multiplies `frames` interleaved stereo frames in place, moving linearly from `from` to `to`
// over `rampFrames` frames (so a change never clicks) and holding `to` after that. Returns the
// gain reached at the last frame: `to`, or a point on the way when the block was shorter than
// the ramp, from which the next block continues.
StereoGain applyGainRamp(float* stereo, long frames, StereoGain from, StereoGain to, long rampFrames);

} // namespace playback
