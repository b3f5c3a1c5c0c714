// The MIDI file reader on fixture songs and hand-made byte strings.
#include "playback/engine/SmfParser.h"
#include "Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <tuple>
#include <vector>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    const std::vector<char> chars(values.begin(), values.end());
    return QByteArray(chars.data(), qsizetype(chars.size()));
}

QByteArray header(int format, int tracks, int division) {
    return "MThd" + bytes({0, 0, 0, 6, 0, format, 0, tracks, division >> 8, division});
}

QByteArray track(const QByteArray& body) {
    const auto n = int(body.size());
    return "MTrk" + bytes({n >> 24, n >> 16, n >> 8, n}) + body;
}

TEST(SmfParser, LengthFollowsTheTempoMapAndTheEndOfTrack) {
    for (const int format : {0, 1}) {
        fixtures::MidiRecipe recipe = fixtures::midiSong(3.0, true);
        recipe.format = format;
        recipe.tempos.push_back({100, 400000});
        recipe.tempos.push_back({2000, 1000000});
        const fixtures::Song song = fixtures::makeMidi(recipe);
        QString error;
        const auto parsed = playback::parseSmf(song.bytes, &error);
        ASSERT_TRUE(parsed) << error.toStdString();
        EXPECT_EQ(parsed->tracks, format == 0 ? 1 : 2);
        EXPECT_FALSE(parsed->truncated);
        EXPECT_EQ(std::llround(parsed->lengthSeconds * 44100), song.frames) << "format " << format;
        EXPECT_EQ(parsed->eventCount(), 2 * recipe.notes.size());
        EXPECT_TRUE(std::is_sorted(parsed->times.begin(), parsed->times.end()));
    }
    // Tracks merge by time; at the same time the earlier track comes first.
    fixtures::MidiRecipe tracks{
        .notes = {{0, 480, 60, 100, 0, 2}, {0, 480, 64, 90, 0, 1}, {240, 480, 67, 80, 0, 0}},
        .noteTracks = 3};
    const auto merged = playback::parseSmf(fixtures::makeMidi(tracks).bytes);
    ASSERT_TRUE(merged && merged->eventCount() == 6);
    const std::array<double, 4> order[] = {{0x90, 64, 90, 0.0}, {0x90, 60, 100, 0.0}, {0x90, 67, 80, 0.25},
                                           {0x90, 64, 0, 0.5},  {0x90, 60, 0, 0.5},   {0x90, 67, 0, 0.75}};
    for (size_t i = 0; i < 6; ++i) {
        const playback::SmfEvent e = merged->event(i);
        EXPECT_EQ((std::array{double(e.status), double(e.data1), double(e.data2), e.seconds}), order[i]) << i;
    }
    fixtures::MidiRecipe rest = fixtures::midiSong(1.0);
    rest.endOfTrackTick = 480 * 2 * 3; // three seconds at 120 bpm
    EXPECT_EQ(playback::parseSmf(fixtures::makeMidi(rest).bytes)->lengthSeconds, 3.0L);
}

TEST(SmfParser, SmpteDivisionIgnoresTempo) {
    for (const int fps : {24, 25, 29, 30}) {
        fixtures::MidiRecipe recipe{.smpteFramesPerSecond = fps, .ticksPerFrame = 80};
        recipe.tempos = {{0, 250000}, {500, 2000000}};
        recipe.notes = {{0, 1000, 60, 100, 0, 0}, {1000, fps * 80 * 2 - 1000, 62, 100, 0, 0}};
        const auto parsed = playback::parseSmf(fixtures::makeMidi(recipe).bytes);
        ASSERT_TRUE(parsed && parsed->smpte) << fps;
        EXPECT_NEAR(double(parsed->lengthSeconds), fps == 29 ? 2.0 * 29 * 1001 / 30000 : 2.0, 1e-12) << fps;
    }
}

TEST(SmfParser, HandMadeTracksIncludingDamagedOnes) {
    const QByteArray eot = bytes({0x00, 0xff, 0x2f, 0x00});
    const QByteArray note = bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}); // 480 ticks
    QByteArray cutInChunk = header(0, 1, 480) + track(note + eot);
    cutInChunk.chop(3);
    // The file; its length, events, whether cut short; status and seconds of its last event.
    const std::tuple<QByteArray, long double, size_t, bool, int, double> cases[] = {
        // 960 ticks at 120 bpm, then 60 bpm; the note-off by running status at 1440 ticks.
        {header(0, 1, 480) + track(bytes({0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20, 0x00, 0x90, 60, 100, 0x87,
                                          0x40, 0xff, 0x51, 0x03, 0x0f, 0x42, 0x40, 0x83, 0x60, 60, 0}) +
                                   eot),
         2.0L, 2, false, 0x90, 2.0},
        // Running status outlives a meta event when reading.
        {header(0, 1, 480) + track(bytes({0x00, 0x90, 60, 100, 0x00, 0xff, 0x03, 0x01, 0x41, 0x60, 60, 0})),
         0.1L, 2, false, 0x90, 0.1},
        // Format 2: tracks one after another, tempo per track.
        {header(2, 2, 480) + track(note + eot) +
             track(bytes({0x00, 0xff, 0x51, 0x03, 0x0f, 0x42, 0x40}) + note + eot),
         1.5L, 4, false, 0x80, 1.5},
        {header(0, 1, 480) +
             track(bytes({0x00, 0x90, 60, 100, 0x81, 0x70, 0xff, 0x2f, 0x00, 0x83, 0x60, 0x90, 64, 100})),
         0.25L, 1, false, 0x90, 0.0}, // events after the end of the track
        {header(0, 1, 480) + track(note + bytes({0x83})), 0.5L, 2, true, 0x80, 0.5}, // cut in a delta time
        {header(0, 1, 480) + track(note + bytes({0x00, 0x90, 62})), 0.5L, 2, true, 0x80, 0.5},
        {header(0, 1, 480) + track(note + bytes({0x00, 0xff, 0x01, 0x20})), 0.5L, 2, true, 0x80, 0.5},
        {header(0, 1, 480) + track(note + bytes({0x00, 0x90, 0x99, 0x10})), 0.5L, 2, true, 0x80, 0.5},
        {header(0, 1, 480) + track(note + bytes({0xff, 0xff, 0xff, 0xff, 0x7f})), 0.5L, 2, true, 0x80, 0.5},
        {cutInChunk, 0.5L, 2, true, 0x80, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto& [file, seconds, events, truncated, lastStatus, last] = c;
        const auto song = playback::parseSmf(file);
        ASSERT_TRUE(song);
        EXPECT_NEAR(double(song->lengthSeconds), double(seconds), 1e-12);
        EXPECT_EQ(song->truncated, truncated);
        ASSERT_EQ(song->eventCount(), events);
        EXPECT_EQ(song->event(events - 1).status, lastStatus);
        EXPECT_NEAR(song->event(events - 1).seconds, last, 1e-12);
    }

    const auto sysex = playback::parseSmf(
        header(0, 1, 96) +
        track(bytes({0x00, 0xf0, 0x05, 0x7e, 0x7f, 0x09, 0x01, 0xf7, 0x60, 0xff, 0x2f, 0x00})));
    ASSERT_TRUE(sysex && sysex->eventCount() == 1 && sysex->event(0).sysexLength == 4);
    EXPECT_EQ(QByteArray(sysex->sysex.data(), 4), bytes({0x7e, 0x7f, 0x09, 0x01})); // without its framing
}

TEST(SmfParser, StraySystemMessagesAreSkippedAndFilesWithoutNotesRefused) {
    // A C-major scale of eight quarter notes (4 s at 120 bpm), all but the first event by
    // running status.
    QByteArray scale = bytes({0x00, 0x90, 60, 100});
    const int keys[] = {60, 62, 64, 65, 67, 69, 71, 72};
    for (size_t i = 0; i < std::size(keys); ++i) {
        scale += bytes({0x83, 0x60, keys[i], 0});
        scale += i + 1 < std::size(keys) ? bytes({0x00, keys[i + 1], 100}) : QByteArray();
    }
    const QByteArray eot = bytes({0x00, 0xff, 0x2f, 0x00});
    const QByteArray noNotes = QStringLiteral("geen noten in dit MIDI-bestand").toUtf8();
    // The track's body; its length, events, whether cut short, the error.
    std::vector<std::tuple<QByteArray, double, size_t, bool, QByteArray>> cases;
    for (int status = 0xf1; status <= 0xfe; ++status) {
        if (status == 0xf7) {
            continue; // a system exclusive packet, read as such
        }
        const int data = status == 0xf2 ? 2 : status == 0xf1 || status == 0xf3 ? 1 : 0;
        cases.push_back({bytes({0x00, status}) + QByteArray(data, 0x05) + scale + eot, 4.0, 16, false, {}});
        if (data > 0) { // a data byte missing at the end of the track
            cases.push_back({scale + bytes({0x00, status}) + QByteArray(data - 1, 0x05), 4.0, 16, true, {}});
        }
    }
    const QByteArray noteOn = bytes({0x00, 0x90, 60, 100});
    // Running status outlives a real-time byte, not a system common one.
    cases.push_back({noteOn + bytes({0x00, 0xf8, 0x83, 0x60, 60, 0}) + eot, 0.5, 2, false, {}});
    cases.push_back({noteOn + bytes({0x00, 0xf6, 0x83, 0x60, 60, 0}) + eot, 0.0, 1, true, {}});
    // Without a note, a file loads only when its length says there is something to wait for.
    const QByteArray name = bytes({0x00, 0xff, 0x03, 0x04}) + "Leeg";
    cases.push_back({name + eot, 0.0, 0, false, noNotes});
    cases.push_back({name + bytes({0x00, 0xc0, 5}) + eot, 0.0, 0, false, noNotes});
    cases.push_back({bytes({0x00, 60, 100}), 0.0, 0, false, noNotes}); // running status on nothing
    cases.push_back({name + bytes({0x87, 0x40, 0xff, 0x2f, 0x00}), 1.0, 0, false, {}});
    for (const auto& [body, seconds, events, truncated, expectedError] : cases) {
        SCOPED_TRACE(body.toHex().toStdString());
        QString error;
        const auto song = playback::parseSmf(header(0, 1, 480) + track(body), &error);
        EXPECT_EQ(error.toUtf8(), expectedError);
        ASSERT_EQ(bool(song), expectedError.isEmpty());
        if (song) { // length, events, whether cut short
            EXPECT_EQ(std::tuple(double(song->lengthSeconds), song->eventCount(), song->truncated),
                      std::tuple(seconds, events, truncated));
        }
    }
}

TEST(SmfParser, RiffWrappedFilesAreReadAndNonMidiRejectedWithAReason) {
    const QByteArray smf = fixtures::makeMidi(fixtures::midiSong(1.0)).bytes;
    const int n = int(smf.size());
    const QByteArray riff =
        "RIFF" + bytes({n + 12, (n + 12) >> 8, 0, 0}) + "RMIDdata" + bytes({n, n >> 8, 0, 0}) + smf;
    EXPECT_TRUE(playback::looksLikeMidi(riff));
    EXPECT_EQ(playback::parseSmf(riff).value_or(playback::SmfSong{}).lengthSeconds, 1.0L);

    const QByteArray eot = track(bytes({0x00, 0xff, 0x2f, 0x00}));
    const QByteArray cases[] = {
        {},
        QByteArray("MThd"),
        fixtures::makeMp3({}).bytes,
        QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16),
        header(3, 1, 480) + eot,                                            // unknown format
        header(1, 1, 0) + eot,                                              // no division
        header(1, 1, 0xe728) + track(bytes({0x10, 0xff, 0x2f, 0x00})),      // -25 fps, 40 ticks: fine
        header(1, 1, 0xe600) + eot,                                         // -26 fps: unknown
        header(1, 1, 480),                                                  // no track
        header(1, 1, 480) + QByteArray("XFIH") + bytes({0, 0, 0, 2, 1, 2}), // only an unknown chunk
        "MThd" + bytes({0, 0, 0, 2, 0, 0}),                                 // header too short
    };
    for (const QByteArray& c : cases) {
        QString error;
        EXPECT_EQ(bool(playback::parseSmf(c, &error)), c.startsWith(header(1, 1, 0xe728))) << &c - cases;
        EXPECT_EQ(error.isEmpty(), c.startsWith(header(1, 1, 0xe728))) << error.toStdString();
    }
}

} // namespace
