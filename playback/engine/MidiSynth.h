#pragma once

#include <QString>
#include <QStringList>

#include <memory>

struct FluidApi;
struct _fluid_hashtable_t;
struct _fluid_synth_t;

// One FluidSynth synthesizer with a General MIDI SoundFont, rendering on demand into our own
// buffers (no FluidSynth audio driver, no FluidSynth threads). The library is opened by the first
// create().
//
// Threads: not thread-safe (FluidSynth's own API locking is off); the engine lets one thread at a
// time use it.
class MidiSynth {
public:
    static constexpr int kSampleRate = 44100;

    // Loads the SoundFont at `soundFontPath`, or the one findSoundFont() gives when it is empty.
    // nullptr, with a Dutch reason in `error`, when there is none or it does not load. Samples are
    // loaded from disk as presets are first used, so even a large SoundFont opens quickly.
    static std::unique_ptr<MidiSynth> create(const QString& soundFontPath, QString* error);

    // The SoundFont to use: the first existing file of `preferred`, else the first .sf2 file (by
    // name) in `folders`; empty when there is none.
    static QString findSoundFont(const QStringList& preferred, const QStringList& folders);
    // With the system's places: /usr/share/sounds/sf2/default-GM.sf2, /usr/share/soundfonts/default.sf2,
    // then the other .sf2 files of those two folders.
    static QString findSoundFont();

    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    _fluid_synth_t* synth() const { return m_synth; }
    // The library's functions, to drive synth() with.
    const FluidApi& api() const { return *m_api; }
    const QString& soundFontPath() const { return m_soundFontPath; }

    // Silences every voice and effect tail and puts programs and controllers back to their
    // defaults, ready for a song from its start. Reads the samples of the default presets from
    // the SoundFont the first time: call it where a wait does not matter (the decode thread).
    void reset();

private:
    explicit MidiSynth(const FluidApi& api) : m_api(&api) {}

    const FluidApi* m_api;
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    QString m_soundFontPath;
};
