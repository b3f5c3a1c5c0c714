#pragma once

#include <QString>

#include <optional>

// The media player component as the rest of the program sees it.
//
// Threads: every operation is called from the GUI thread only.
// Failure: a read returns std::nullopt, and a command returns false, when it cannot be carried out
// (nothing loaded, the file could not be decoded); callers decide whether to skip or give up.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Loads the file at `path`, replacing the one loaded before; playback of the previous file
    // stops. Returns false when the file cannot be loaded; nothing is loaded afterwards.
    virtual bool setFileName(const QString& path) = 0;

    // While false, loading a file does not start playback. The engine never starts by itself,
    // so this only records the wish.
    virtual void setAutoStart(bool autoStart) = 0;

    // Length of the loaded file in seconds, exact; readable right after setFileName.
    virtual std::optional<double> duration() const = 0;

    // Seconds played from the start of the loaded file. Once the last frame has been played it
    // equals duration() exactly.
    virtual std::optional<double> currentPosition() const = 0;

    // Hundredths of a decibel, -2500 (muted) to 0 (loudest). Kept across loads.
    virtual void setVolume(int volume) = 0;

    // -5000 (left only) to 5000 (right only); |balance|/100 dB off the opposite channel.
    virtual void setBalance(int balance) = 0;

    // True when the loaded file can be paused and resumed now: it is playing or paused.
    virtual bool isReady() const = 0;

    // Starts the loaded file from its beginning, or resumes it after pause().
    virtual bool play() = 0;
    // Halts playback and keeps the position. Harmless with nothing loaded.
    virtual void pause() = 0;
    // Ends playback; the next play() starts from the beginning. Harmless when stopped.
    virtual void stop() = 0;

    // Why the last setFileName() or play() failed, in Dutch, short enough to follow "Kan ... niet
    // afspelen: " ("bestand is leeg", "geen MIDI-bestand"); empty when the player cannot say.
    virtual QString failureReason() const { return {}; }
};
