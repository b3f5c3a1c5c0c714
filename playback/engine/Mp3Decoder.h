#pragma once

#include "playback/engine/Decoder.h"

#include <QString>

#include <memory>

struct mpg123_handle_struct;

// MPEG audio (layer III, and the layers I and II that libmpg123 also reads) through libmpg123
// with gapless decoding: the exact length comes from the LAME/Xing Info frame, or from a scan of
// every frame where there is none. Mono files are delivered as two equal channels.
class Mp3Decoder : public Decoder {
public:
    // Opens the file; nullptr, with a Dutch reason in `error`, when it holds no decodable MPEG
    // audio. Reads the file only as far as needed for the length (the whole file without an
    // Info frame).
    static std::unique_ptr<Mp3Decoder> open(const QString& path, QString* error);
    ~Mp3Decoder() override;

    int sampleRate() const override { return m_rate; }
    int channels() const override { return m_channels; }
    long long lengthFrames() const override { return m_length; }
    long read(float* stereo, long frames) override;
    bool rewind() override;

private:
    explicit Mp3Decoder(mpg123_handle_struct* handle) : m_handle(handle) {}

    mpg123_handle_struct* m_handle;
    int m_rate = 0;
    int m_channels = 0;
    long long m_length = 0;
    long long m_position = 0; // frames delivered since the start
    bool m_finished = false;
};
