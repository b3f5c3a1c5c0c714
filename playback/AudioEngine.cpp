#include "playback/AudioEngine.h"

// Placeholder until the engine lands: loads nothing.
struct AudioEngine::Impl {};

AudioEngine::AudioEngine() : AudioEngine(Options{}) {}
AudioEngine::AudioEngine(const Options&) : d(std::make_unique<Impl>()) {}
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
QString AudioEngine::errorString() const {
    return {};
}
std::optional<int> AudioEngine::sampleRate() const {
    return std::nullopt;
}
std::optional<int> AudioEngine::channels() const {
    return std::nullopt;
}
bool AudioEngine::isPlaying() const {
    return false;
}
bool AudioEngine::usesSilentOutput() const {
    return true;
}
std::vector<float> AudioEngine::capturedSamples() const {
    return {};
}
