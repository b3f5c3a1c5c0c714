#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Reader for Standard MIDI Files (format 0, 1 and 2, metrical or SMPTE division, running
// status), also inside a RIFF "RMID" wrapper. It gives the events in playing order with their
// time in seconds through the tempo map, and the song's exact length: the time of its last event
// over all tracks, End of Track included. No Qt beyond QByteArray/QString; any thread.
namespace playback {

// One event, unpacked.
struct SmfEvent {
    double seconds = 0.0;
    uint8_t status = 0; // channel message status (0x80..0xEF) or 0xF0 for system exclusive
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t sysexOffset = 0; // system exclusive: bytes in SmfSong::sysex, without F0 and F7
    uint32_t sysexLength = 0;
};

struct SmfSysexSpan {
    uint32_t offset = 0;
    uint32_t length = 0;
};

struct SmfSong {
    int format = 0;
    int tracks = 0;          // track chunks found
    bool smpte = false;      // division in SMPTE frames: tempo changes do not count
    int ticksPerQuarter = 0; // metrical division
    int framesPerSecond = 0; // SMPTE: 24, 25, 29 (29.97 drop frame) or 30
    int ticksPerFrame = 0;   // SMPTE
    bool truncated = false;  // a track ended in the middle of an event; what came before is kept
    long double lengthSeconds = 0;

    // The events in playing order, twelve bytes each: a dense file of millions of notes takes a
    // few times its own size, once. `messages` holds status | data1 << 8 | data2 << 16; for
    // system exclusive 0xF0 | (index into sysexSpans) << 8.
    std::vector<double> times; // seconds from the start, never decreasing
    std::vector<uint32_t> messages;
    std::vector<SmfSysexSpan> sysexSpans;
    std::vector<char> sysex;

    size_t eventCount() const { return times.size(); }
    SmfEvent event(size_t index) const;
};

// True when the bytes start like a MIDI file (the "MThd" header or a RIFF RMID wrapper); a cheap
// test on the first 12 bytes, not a validation.
bool looksLikeMidi(const QByteArray& head);

// Parses a whole file. Fails (std::nullopt, with a Dutch reason in `error`) when the bytes are not
// a MIDI file: no valid header, an unknown format or division, no track chunk, or nothing to play
// (not one note, and a length of 0 s). A track that is cut off or damaged part-way is kept up to
// its last whole event, and `truncated` says so. System common and real-time messages inside a
// track are skipped with their data bytes. Memory: the events once, as above, beside `bytes`.
std::optional<SmfSong> parseSmf(const QByteArray& bytes, QString* error = nullptr);

} // namespace playback
