#include "playback/engine/Gain.h"

#include <algorithm>
#include <cmath>

namespace playback {

float volumeToAmplitude(int hundredthsDb) {
    if (hundredthsDb <= kMinVolume) {
        return 0.0f;
    }
    if (hundredthsDb >= 0) {
        return 1.0f;
    }
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

StereoGain balanceToGains(int balance) {
    balance = std::clamp(balance, -kMaxBalance, kMaxBalance);
    const auto attenuation = static_cast<float>(std::pow(10.0, -std::abs(balance) / 2000.0));
    StereoGain g;
    if (balance > 0) {
        g.left = attenuation;
    } else if (balance < 0) {
        g.right = attenuation;
    }
    return g;
}

StereoGain combinedGain(int volumeHundredthsDb, int balance) {
    const float v = volumeToAmplitude(volumeHundredthsDb);
    const StereoGain b = balanceToGains(balance);
    return {v * b.left, v * b.right};
}

StereoGain applyGainRamp(float* stereo, long frames, StereoGain from, StereoGain to, long rampFrames) {
    long i = 0;
    if (from != to && rampFrames > 0) {
        const long ramp = std::min(frames, rampFrames);
        const float stepLeft = (to.left - from.left) / static_cast<float>(rampFrames);
        const float stepRight = (to.right - from.right) / static_cast<float>(rampFrames);
        for (; i < ramp; ++i) {
            const auto k = static_cast<float>(i + 1);
            stereo[2 * i] *= from.left + stepLeft * k;
            stereo[2 * i + 1] *= from.right + stepRight * k;
        }
        if (ramp < rampFrames) {
            const auto k = static_cast<float>(ramp);
            return {from.left + stepLeft * k, from.right + stepRight * k};
        }
    }
    if (to.left != 1.0f || to.right != 1.0f) {
        for (; i < frames; ++i) {
            stereo[2 * i] *= to.left;
            stereo[2 * i + 1] *= to.right;
        }
    }
    return to;
}

} // namespace playback
