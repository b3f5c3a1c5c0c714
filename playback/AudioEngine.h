#pragma once

#include "playback/MediaPlayer.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The real media player: MP3 through libmpg123, MIDI through FluidSynth, out through SDL2 audio
// (or a silent clocked output where no device opens). FluidSynth and SDL2 are opened at run time,
// when first needed, so that they cost the program's start nothing.
//
// Threads: every public member is called from one thread (the GUI thread). The engine owns one
// decode thread that fills a lock-free ring buffer; the output (SDL's audio callback, or the
// silent output's clock thread) drains it without taking locks, reading files or allocating.
// prepareInBackground() adds a short-lived worker that touches nothing the others use.
//
// Clock: the position is the number of the file's frames the output has consumed, divided by the
// file's own sample rate, whatever rate the device runs at. Once the last frame has been consumed
// currentPosition() returns the very same double as duration(). A file that decodes to fewer
// frames than its declared length (truncated, damaged) ends early: once its last decodable frame
// has been consumed the position also reads the duration, so a playlist moves on.
class AudioEngine : public MediaPlayer {
public:
    struct Options {
        enum class Output {
            Auto, // SDL audio; where no device opens, the silent output (said once on stderr)
            Sdl,  // SDL audio only; play() fails where no device opens
            Null, // the silent output only; SDL is never initialised
        };
        Output output = Output::Auto;
        // Pace of the silent output as a multiple of real time: 1.0 in the program, larger in
        // tests that want a song to end quickly. MP3 decoding keeps up with several hundred,
        // MIDI rendering with a few tens; beyond that the song just takes longer, frame-exact.
        double nullOutputSpeed = 1.0;
        // Keep a copy of every frame the output consumed, after volume and balance (interleaved
        // stereo float at the file's own rate), for capturedSamples(). Room for the whole song
        // (at most ten minutes) is reserved on load, so the audio thread never allocates; meant
        // for short test songs.
        bool captureSamples = false;
        // SoundFont for MIDI files. Empty: the first of /usr/share/sounds/sf2/default-GM.sf2,
        // /usr/share/soundfonts/default.sf2, then the other .sf2 files of those folders.
        QString soundFontPath;
    };

    AudioEngine();
    explicit AudioEngine(const Options& options);
    ~AudioEngine() override;

    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

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
    // The same as errorString().
    QString failureReason() const override;

    // Loads the sound-device and synthesizer libraries on a worker thread, so that neither the
    // start of the program nor the first song waits for them: call it once the window is shown.
    // Without it the first play() and the first MIDI file do that work themselves. Does nothing
    // with Output::Null, or when called again. (The device's audio system starts with the first
    // play(), the SoundFont loads with the first MIDI file.)
    void prepareInBackground();

    // --- Beyond the player interface: diagnostics and tests. ---

    // Why the last setFileName() or play() failed (Dutch, one line); empty after a successful
    // load or start.
    QString errorString() const;
    // Sample rate and channel count of the loaded file (MIDI renders stereo at 44100 Hz).
    std::optional<int> sampleRate() const;
    std::optional<int> channels() const;
    // True between play() and pause()/stop()/load, also after the last frame has played.
    bool isPlaying() const;
    // True when sound goes to the silent output (chosen, or no SDL device opened).
    bool usesSilentOutput() const;
    // With Options::captureSamples: the frames consumed since the last load or stop(), as
    // interleaved stereo float (left, right, left, ...). Empty otherwise.
    std::vector<float> capturedSamples() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
