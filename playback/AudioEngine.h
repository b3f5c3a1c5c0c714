#pragma once

#include "playback/MediaPlayer.h"

// The real media player: MP3 through libmpg123, MIDI through FluidSynth, out through SDL2 audio
// (or a silent clocked output where no device opens).
class AudioEngine : public MediaPlayer {
public:
    AudioEngine();
    ~AudioEngine() override;

    bool setFileName(const QString& path) override;
    void setAutoStart(bool autoStart) override;
    std::optional<double> duration() const override;
    std::optional<double> currentPosition() const override;
    void setVolume(int volume) override;
    void setBalance(int balance) override;
    bool isReady() const override;
    bool play() override;
    void pause() override;
    void stop() override;
};
