#include "playback/engine/MidiDecoder.h"

#include "playback/engine/AudioLibraries.h"
#include "playback/engine/MidiSynth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long long kFadeFrames = 441; // 10 ms

} // namespace

MidiDecoder::MidiDecoder(playback::SmfSong song, MidiSynth& synth) : m_song(std::move(song)), m_synth(synth) {
    m_length = std::llround(m_song.lengthSeconds * MidiSynth::kSampleRate);
}

// Worked out as the song plays rather than kept: a dense song holds millions of events.
long long MidiDecoder::eventFrame(size_t index) const {
    const long double rate = MidiSynth::kSampleRate;
    return std::min(m_length, static_cast<long long>(std::llround(m_song.times[index] * rate)));
}

int MidiDecoder::sampleRate() const {
    return MidiSynth::kSampleRate;
}

void MidiDecoder::send(uint32_t message) {
    const FluidApi& fluid = m_synth.api();
    fluid_synth_t* s = m_synth.synth();
    const int channel = static_cast<int>(message & 0x0f);
    const int data1 = static_cast<int>((message >> 8) & 0xff);
    const int data2 = static_cast<int>((message >> 16) & 0xff);
    switch (message & 0xf0) {
    case 0x80:
        fluid.fluid_synth_noteoff(s, channel, data1);
        break;
    case 0x90:
        if (data2 == 0) {
            fluid.fluid_synth_noteoff(s, channel, data1);
        } else {
            fluid.fluid_synth_noteon(s, channel, data1, data2);
        }
        break;
    case 0xa0:
        fluid.fluid_synth_key_pressure(s, channel, data1, data2);
        break;
    case 0xb0:
        fluid.fluid_synth_cc(s, channel, data1, data2);
        break;
    case 0xc0:
        fluid.fluid_synth_program_change(s, channel, data1);
        break;
    case 0xd0:
        fluid.fluid_synth_channel_pressure(s, channel, data1);
        break;
    case 0xe0:
        fluid.fluid_synth_pitch_bend(s, channel, data1 | (data2 << 7));
        break;
    case 0xf0: {
        const playback::SmfSysexSpan& span = m_song.sysexSpans[message >> 8];
        fluid.fluid_synth_sysex(s, m_song.sysex.data() + span.offset, static_cast<int>(span.length), nullptr,
                                nullptr, nullptr, 0);
        break;
    }
    default:
        break;
    }
}

long MidiDecoder::read(float* stereo, long frames) {
    if (m_needsReset) {
        m_synth.reset(); // whatever played before, this song starts from a silent, default synth
        m_needsReset = false;
    }
    long done = 0;
    while (done < frames && m_position < m_length) {
        const size_t events = m_song.eventCount();
        while (m_next < events && eventFrame(m_next) <= m_position) {
            send(m_song.messages[m_next++]);
        }
        long long until = m_length;
        if (m_next < events) {
            until = std::min(until, eventFrame(m_next));
        }
        const auto n = static_cast<int>(std::min<long long>(frames - done, until - m_position));
        float* out = stereo + 2 * done;
        m_synth.api().fluid_synth_write_float(m_synth.synth(), n, out, 0, 2, out, 1, 2);
        // The song ends at its last event, where release and reverb tails still sound: fade the
        // last few milliseconds out instead of cutting them off with a click.
        for (long long f = std::max(m_position, m_length - kFadeFrames); f < m_position + n; ++f) {
            const auto k = static_cast<float>(m_length - f) / static_cast<float>(kFadeFrames);
            out[2 * (f - m_position)] *= k;
            out[2 * (f - m_position) + 1] *= k;
        }
        done += n;
        m_position += n;
    }
    return done;
}

bool MidiDecoder::rewind() {
    m_needsReset = true;
    m_position = 0;
    m_next = 0;
    return true;
}
