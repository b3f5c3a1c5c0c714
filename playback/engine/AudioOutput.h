#pragma once

#include <QString>

// What an output plays: called on the output's own thread for every block, it must fill all of
// `frames` interleaved stereo float frames (silence where it has nothing) without reading files,
// allocating or waiting on a lock.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual void render(float* stereo, long frames) noexcept = 0;
};

// A place the sound goes: a sound device, or the silent clock.
//
// Threads: open/start/pause/close come from one controlling thread; render() calls on the
// source come from the output's own thread, only between start() and pause().
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Prepares for stereo float at `sampleRate` frames a second, drawn from `source`; starts
    // paused. False, with a reason in `error`, when no device takes it.
    virtual bool open(int sampleRate, FrameSource* source, QString* error) = 0;
    virtual int sampleRate() const = 0;
    virtual void start() = 0;
    // Returns once no render() call runs and none will start before the next start().
    virtual void pause() = 0;
    virtual void close() = 0;
};
