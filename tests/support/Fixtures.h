#pragma once

// Songs made by the tests (MP3 through libmp3lame, MIDI through a small writer), each with the
// exact length a correct player reports for it, and the tests' file reading and writing and list
// reading. Link `test_fixtures` to use these.

#include <QAbstractItemModel>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fixtures {

// ID3v1 at the end of the file: raw Latin-1 bytes, cut or zero-padded to 30 (year 4) bytes.
struct Id3v1Fields {
    QByteArray title = {};
    QByteArray artist = {};
    QByteArray album = {};
    QByteArray year = {};
    int genre = 255; // 255 = none
};

// ID3v2.3 at the start: UTF-16 text frames for the non-empty fields, then zero padding.
struct Id3v2Fields {
    QString title = {};
    QString artist = {};
    QString album = {};
    int paddingBytes = 0;
};

struct Mp3Recipe {
    enum class Mode { Cbr, Vbr };

    double seconds = 1.0;   // a sine of 440 Hz at half the full amplitude, the same on both channels
    int sampleRate = 44100; // an MPEG rate, 8000 to 48000
    int channels = 2;
    Mode mode = Mode::Cbr;
    int bitrateKbps = 128;   // CBR and free format
    bool xingTag = true;     // the LAME/Xing frame that carries the exact length
    bool freeFormat = false; // CBR without a bitrate index
    std::optional<Id3v2Fields> id3v2 = {};
    std::optional<Id3v1Fields> id3v1 = {};
};

struct Song {
    QByteArray bytes;
    long long frames = 0;         // PCM frames a gapless decoder yields
    int sampleRate = 0;           // 44100 for MIDI, the rate it is rendered at
    double durationSeconds = 0.0; // frames / sampleRate: what a player must report exactly
};

// Without the Xing tag the length is every sample of every MPEG frame, longer than the source.
// Bytes are empty where LAME cannot encode the recipe.
Song makeMp3(const Mp3Recipe& recipe);

struct MidiNote {
    long long startTick = 0;
    long long lengthTicks = 480;
    int key = 60;
    int velocity = 100;
    int channel = 0;
    int track = 0; // format 1 only
};

struct MidiTempo {
    long long tick = 0;
    int microsecondsPerQuarter = 500000;
};

// Written with running status (note-offs as velocity-0 note-ons).
struct MidiRecipe {
    int format = 1; // 0, or 1 with a tempo track and `noteTracks` note tracks
    int ticksPerQuarter = 480;
    int smpteFramesPerSecond = 0; // 24, 25, 29 (drop frame) or 30 for an SMPTE division
    int ticksPerFrame = 40;
    std::vector<MidiTempo> tempos = {}; // none: 120 bpm; ignored with SMPTE
    std::vector<MidiNote> notes = {};
    long long endOfTrackTick = -1; // -1: at the last note-off
    int noteTracks = 1;
};

Song makeMidi(const MidiRecipe& recipe);

// The 128 bytes of an ID3v1 tag, as makeMp3 appends it.
QByteArray id3v1Tag(const Id3v1Fields& fields);

// About `seconds` at 120 bpm, a note every half second; 90 bpm from halfway with a tempo change.
MidiRecipe midiSong(double seconds, bool withTempoChange = false);

// Creates missing folders; false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);
// The whole file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);
// make and write in one; bytes empty on failure.
Song writeMp3(const QString& path, const Mp3Recipe& recipe);
Song writeMidi(const QString& path, const MidiRecipe& recipe);

// What the rows below `parent` show in their first column, top to bottom.
QStringList rowTexts(const QAbstractItemModel& model, const QModelIndex& parent = {});

inline constexpr const char* kTestSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

} // namespace fixtures
