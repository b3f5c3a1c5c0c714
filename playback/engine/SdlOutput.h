#pragma once

#include "playback/engine/AudioOutput.h"

#include <cstdint>

struct SdlApi;

// A sound device through SDL2's audio subsystem. The device is asked for the song's own rate;
// where it runs at another one SDL converts, so the source is still drawn at the song's rate.
class SdlOutput : public AudioOutput {
public:
    SdlOutput() = default;
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // Loads SDL and starts its audio subsystem, the slow part of the first open(): whatever it
    // connects to answers here. Any thread, before any other member is used; open() does it
    // when it has not been done.
    bool prepare(QString* error);

    bool open(int sampleRate, FrameSource* source, QString* error) override;
    int sampleRate() const override { return m_rate; }
    void start() override;
    void pause() override;
    void close() override;

private:
    static void callback(void* self, uint8_t* stream, int bytes);

    const SdlApi* m_sdl = nullptr; // set, with the subsystem started, by prepare()
    uint32_t m_device = 0;
    int m_rate = 0;
    FrameSource* m_source = nullptr;
};
