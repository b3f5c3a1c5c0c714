#pragma once

#include "playback/engine/AudioOutput.h"

#include <cstdint>

// A sound device through SDL2's audio subsystem. The device is asked for the song's own rate;
// where it runs at another one SDL converts, so the source is still drawn at the song's rate.
class SdlOutput : public AudioOutput {
public:
    SdlOutput() = default;
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    bool open(int sampleRate, FrameSource* source, QString* error) override;
    int sampleRate() const override { return m_rate; }
    void start() override;
    void pause() override;
    void close() override;

private:
    static void callback(void* self, uint8_t* stream, int bytes);

    uint32_t m_device = 0;
    bool m_subsystem = false;
    int m_rate = 0;
    FrameSource* m_source = nullptr;
};
