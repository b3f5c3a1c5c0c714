#pragma once

// Songs made by the tests themselves: MP3 files encoded with libmp3lame and Standard MIDI Files
// from a small writer, each with the exact length a correct player must report for it.
// Link the `test_fixtures` library to use these.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace fixtures {

// An ID3v1 tag (the file's last 128 bytes). Fields are raw bytes (the format's own Latin-1),
// cut or padded with zero bytes to their width: title, artist and album 30, year 4, comment 30
// (28 when a track number is given, which makes it an ID3v1.1 tag).
struct Id3v1Fields {
    QByteArray title;
    QByteArray artist;
    QByteArray album;
    QByteArray year;
    QByteArray comment;
    int track = -1;  // 1..255 writes ID3v1.1; below 1 writes a plain ID3v1.0 comment
    int genre = 255; // 0..255, 255 = none
};

// An ID3v2.3 tag at the start of the file, with UTF-16 text frames for the non-empty fields and
// `paddingBytes` zero bytes of padding after the frames.
struct Id3v2Fields {
    QString title;
    QString artist;
    QString album;
    int paddingBytes = 0;
};

struct Mp3Recipe {
    enum class Mode { Cbr, Vbr };

    double seconds = 1.0;   // length of the source signal; rounded to whole frames of sampleRate
    int sampleRate = 44100; // 8000 to 48000 (the MPEG rates)
    int channels = 2;       // 1 or 2; in stereo both channels carry the same signal
    Mode mode = Mode::Cbr;
    int bitrateKbps = 128;   // CBR (and free format) bitrate
    int vbrQuality = 4;      // VBR quality 0 (best) to 9
    bool xingTag = true;     // write the LAME/Xing frame that carries the exact length
    bool freeFormat = false; // free-format bitstream (CBR only, no bitrate index in the header)
    double toneHz = 440.0;
    double amplitude = 0.5; // peak of the sine, 0 to 1
    std::optional<Id3v2Fields> id3v2;
    std::optional<Id3v1Fields> id3v1;
};

// A made song and what a correct player reports for it.
struct Song {
    QByteArray bytes;
    long long frames = 0; // PCM frames a gapless decoder yields
    int sampleRate = 0;   // of the decoded audio (44100 for MIDI, the rate a renderer uses)
    // Exact length in seconds, computed as `frames / double(sampleRate)` for MP3, from the tempo
    // map for MIDI. A player must report exactly this double.
    double durationSeconds = 0.0;
};

// Encodes a sine of the given length. With the Xing tag the decoded length is exactly the source
// length; without it, the decoder cannot know the encoder's delay and padding, and the length is
// every sample of every MPEG frame (frames * 1152, or * 576 below 32 kHz), which is longer than
// the source. The tag needs a frame of about 200 bytes: at low bitrates and rates (48 kbit/s at
// 22.05 kHz) LAME cannot write it, and the returned song has empty bytes.
Song makeMp3(const Mp3Recipe& recipe);

// One note; times are in ticks of the file's division.
struct MidiNote {
    long long startTick = 0;
    long long lengthTicks = 480;
    int key = 60;
    int velocity = 100;
    int channel = 0;
    int track = 0; // which track holds it (format 1); ignored in format 0
};

// A tempo change (meta event 0x51) in the first track.
struct MidiTempo {
    long long tick = 0;
    int microsecondsPerQuarter = 500000;
};

struct MidiRecipe {
    int format = 1;                // 0 (one track) or 1 (tempo track plus note tracks)
    int ticksPerQuarter = 480;     // metrical division, used when smpteFramesPerSecond is 0
    int smpteFramesPerSecond = 0;  // 24, 25, 29 (29.97 drop frame) or 30: SMPTE division
    int ticksPerFrame = 40;        // with an SMPTE division
    std::vector<MidiTempo> tempos; // none: 120 beats per minute
    std::vector<MidiNote> notes;
    int program = 0;               // General MIDI program set at tick 0 on every used channel
    bool runningStatus = true;     // omit repeated status bytes
    long long endOfTrackTick = -1; // tick of the last End of Track; -1 = the last note-off
    int noteTracks = 1;            // format 1: tracks after the tempo track
};

// Writes the file; durationSeconds is the time of the last event over all tracks, through the
// tempo map (or the SMPTE division, where tempo changes do not count). frames and sampleRate
// are those of a 44100 Hz rendering: frames = round(duration * 44100).
Song makeMidi(const MidiRecipe& recipe);

// A format-1 song of about `seconds` at 120 beats per minute with a note every half second,
// one tempo change halfway when `withTempoChange`.
MidiRecipe midiSong(double seconds, bool withTempoChange = false);

// Writes the bytes to the path, creating missing folders; false on any failure.
bool writeFile(const QString& path, const QByteArray& bytes);

// Convenience: makeMp3/makeMidi and writeFile in one; returns the song (bytes empty on failure).
Song writeMp3(const QString& path, const Mp3Recipe& recipe);
Song writeMidi(const QString& path, const MidiRecipe& recipe);

// The General MIDI SoundFont the tests render with.
inline constexpr const char* kTestSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

} // namespace fixtures
