#pragma once

// A source of decoded audio for the engine.
//
// Threads: a decoder is used by one thread at a time (the engine hands it between the GUI thread,
// which opens and rewinds it, and the decode thread, which reads it), never concurrently.
class Decoder {
public:
    virtual ~Decoder() = default;

    // The file's own sample rate in Hz.
    virtual int sampleRate() const = 0;
    // Channels in the file (1 or 2); read() always delivers stereo.
    virtual int channels() const = 0;
    // Exact length in frames at sampleRate(), known once the decoder is open.
    virtual long long lengthFrames() const = 0;

    // Decodes up to `frames` frames as interleaved stereo float into `stereo`. Returns the number
    // written; 0 means the end of the decodable data (the end of the song, or the point where a
    // damaged file stops making sense). Never more than what is left of lengthFrames().
    virtual long read(float* stereo, long frames) = 0;

    // Back to the first frame. False when that is impossible (the decoder then reads nothing).
    virtual bool rewind() = 0;
};
