#pragma once

#include "playback/engine/AudioOutput.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// The silent output: a thread that draws frames from the source at the pace a sound card would
// (or `speed` times that), and throws them away. Used where no sound device opens, and by tests.
class NullOutput : public AudioOutput {
public:
    explicit NullOutput(double speed = 1.0);
    ~NullOutput() override;
    NullOutput(const NullOutput&) = delete;
    NullOutput& operator=(const NullOutput&) = delete;

    bool open(int sampleRate, FrameSource* source, QString* error) override;
    int sampleRate() const override { return m_rate; }
    void start() override;
    void pause() override;
    void close() override;

private:
    void run();

    const double m_speed;
    int m_rate = 0;
    FrameSource* m_source = nullptr;
    std::unique_ptr<float[]> m_scratch;

    std::mutex m_mutex; // guards the flags below, and is held while the source renders
    std::condition_variable m_wake;
    bool m_running = false;
    bool m_quit = false;
    std::thread m_thread;
};
