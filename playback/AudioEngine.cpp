#include "playback/AudioEngine.h"

// Placeholder until the engine lands: loads nothing.
AudioEngine::AudioEngine() = default;
AudioEngine::~AudioEngine() = default;
bool AudioEngine::setFileName(const QString&) {
    return false;
}
void AudioEngine::setAutoStart(bool) {}
std::optional<double> AudioEngine::duration() const {
    return std::nullopt;
}
std::optional<double> AudioEngine::currentPosition() const {
    return std::nullopt;
}
void AudioEngine::setVolume(int) {}
void AudioEngine::setBalance(int) {}
bool AudioEngine::isReady() const {
    return false;
}
bool AudioEngine::play() {
    return false;
}
void AudioEngine::pause() {}
void AudioEngine::stop() {}
