#pragma once

#include "playback/MediaPlayer.h"

#include <QString>
#include <QStringList>

#include <map>

// A scripted media player for handler tests: every call is recorded in `calls` as text
// ("setFileName /a/b.mp3", "play", "volume -750"), durations come from `durations` by path,
// and the position is whatever the test sets.
class FakePlayer : public MediaPlayer {
public:
    QStringList calls;
    std::map<QString, double> durations; // files that load; any other path fails to load
    bool loadAll = false;                // when set, unknown paths load, 100 s long
    double position = 0.0;
    bool playFails = false;
    QString reason; // what failureReason() says

    QString loaded;
    bool isLoaded = false;
    bool playingNow = false;
    bool pausedNow = false;
    int volume = 0;
    int balance = 0;

    bool setFileName(const QString& path) override {
        calls << QStringLiteral("setFileName ") + path;
        playingNow = pausedNow = false;
        position = 0.0;
        const bool ok = loadAll || durations.count(path) > 0;
        isLoaded = ok;
        loaded = ok ? path : QString();
        return ok;
    }
    void setAutoStart(bool on) override { calls << QStringLiteral("autoStart %1").arg(on ? 1 : 0); }
    std::optional<double> duration() const override {
        const auto it = durations.find(loaded);
        return isLoaded ? std::optional(it != durations.end() ? it->second : 100.0) : std::nullopt;
    }
    std::optional<double> currentPosition() const override {
        return isLoaded ? std::optional(position) : std::nullopt;
    }
    void setVolume(int v) override {
        calls << QStringLiteral("volume %1").arg(v);
        volume = v;
    }
    // Not recorded in `calls`: the position timer sends it on every tick.
    void setBalance(int b) override { balance = b; }
    // As the engine: only a song under way can be paused and resumed.
    QString failureReason() const override { return reason; }
    bool isReady() const override { return isLoaded && (playingNow || pausedNow); }
    bool play() override {
        calls << QStringLiteral("play");
        if (!isLoaded || playFails) {
            return false;
        }
        position = pausedNow ? position : 0.0;
        playingNow = true;
        pausedNow = false;
        return true;
    }
    void pause() override {
        calls << QStringLiteral("pause");
        pausedNow = pausedNow || playingNow;
        playingNow = false;
    }
    void stop() override {
        calls << QStringLiteral("stop");
        playingNow = pausedNow = false;
        position = 0.0;
    }
};
