#pragma once

#include "playback/engine/Decoder.h"
#include "playback/engine/SmfParser.h"

#include <memory>
#include <vector>

class MidiSynth;

// A Standard MIDI File played on a MidiSynth: our own sequencer sends the parsed events to the
// synthesizer at their sample times and renders the audio between them. The song ends exactly at
// its parsed length (the time of its last event).
class MidiDecoder : public Decoder {
public:
    // `synth` must outlive the decoder, and nothing else may use it while the decoder plays.
    MidiDecoder(playback::SmfSong song, MidiSynth& synth);

    int sampleRate() const override;
    int channels() const override { return 2; }
    long long lengthFrames() const override { return m_length; }
    long read(float* stereo, long frames) override;
    bool rewind() override;

private:
    void send(uint32_t message);
    long long eventFrame(size_t index) const;

    playback::SmfSong m_song;
    MidiSynth& m_synth;
    long long m_length = 0;
    long long m_position = 0;
    size_t m_next = 0;
    // The synthesizer is reset by the first read, on the decode thread, not by the constructor
    // or rewind() on the GUI thread: a reset may read samples from disk.
    bool m_needsReset = true;
};
