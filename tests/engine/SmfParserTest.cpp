// The MIDI file reader against files from the fixture writer and hand-made byte strings.
#include "playback/engine/SmfParser.h"
#include "Fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) {
        out.append(char(v & 0xff));
    }
    return out;
}

QByteArray header(int format, int tracks, int division) {
    return QByteArray("MThd") +
           bytes({0, 0, 0, 6, format >> 8, format, tracks >> 8, tracks, division >> 8, division});
}

QByteArray track(const QByteArray& body) {
    const auto n = static_cast<int>(body.size());
    return QByteArray("MTrk") + bytes({n >> 24, n >> 16, n >> 8, n}) + body;
}

// Seconds of the song as the fixture writer computes them (exact to the tempo map).
long double fixtureSeconds(const fixtures::Song& song) {
    return static_cast<long double>(song.frames) / song.sampleRate;
}

TEST(SmfParser, LengthFollowsTheTempoMapInFormatsZeroAndOne) {
    for (const int format : {0, 1}) {
        fixtures::MidiRecipe recipe = fixtures::midiSong(3.0, true);
        recipe.format = format;
        recipe.tempos.push_back({100, 400000});
        recipe.tempos.push_back({2000, 1000000});
        const fixtures::Song song = fixtures::makeMidi(recipe);
        QString error;
        const auto parsed = smf::parse(song.bytes, &error);
        ASSERT_TRUE(parsed) << error.toStdString();
        EXPECT_EQ(parsed->format, format);
        EXPECT_EQ(parsed->tracks, format == 0 ? 1 : 2);
        EXPECT_FALSE(parsed->truncated);
        EXPECT_EQ(std::llround(parsed->lengthSeconds * 44100), song.frames) << "format " << format;
        EXPECT_NEAR(double(parsed->lengthSeconds), double(fixtureSeconds(song)), 1e-4);
        // Two events per note and a program change, in time order.
        EXPECT_EQ(parsed->events.size(), 2 * recipe.notes.size() + 1);
        for (size_t i = 1; i < parsed->events.size(); ++i) {
            EXPECT_LE(parsed->events[i - 1].seconds, parsed->events[i].seconds);
        }
    }
}

TEST(SmfParser, WorkedTempoExample) {
    // 480 ticks a quarter; 960 ticks at 120 bpm (1 s), then 60 bpm: 480 ticks more take 1 s.
    const QByteArray body = bytes({0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20,       // 500000 us
                                   0x00, 0x90, 60,   100,                          // note on at 0
                                   0x87, 0x40, 0xff, 0x51, 0x03, 0x0f, 0x42, 0x40, // at 960: 1000000 us
                                   0x83, 0x60, 60,   0, // running status note off at 1440
                                   0x00, 0xff, 0x2f, 0x00});
    const auto song = smf::parse(header(0, 1, 480) + track(body));
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthSeconds, 2.0L);
    ASSERT_EQ(song->events.size(), 2u);
    EXPECT_EQ(song->events[1].status, 0x90); // running status kept
    EXPECT_EQ(song->events[1].data2, 0);
    EXPECT_EQ(song->events[1].seconds, 2.0);
}

TEST(SmfParser, EndOfTrackAfterTheLastNoteCounts) {
    fixtures::MidiRecipe recipe = fixtures::midiSong(1.0);
    recipe.endOfTrackTick = 480 * 2 * 3; // three seconds at 120 bpm
    const auto parsed = smf::parse(fixtures::makeMidi(recipe).bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->lengthSeconds, 3.0L);
}

TEST(SmfParser, SmpteDivisionIgnoresTempo) {
    for (const int fps : {24, 25, 29, 30}) {
        fixtures::MidiRecipe recipe;
        recipe.smpteFramesPerSecond = fps;
        recipe.ticksPerFrame = 80;
        recipe.tempos = {{0, 250000}, {500, 2000000}};
        recipe.notes = {{0, 1000, 60, 100, 0, 0}, {1000, fps * 80 * 2 - 1000, 62, 100, 0, 0}};
        const fixtures::Song song = fixtures::makeMidi(recipe);
        const auto parsed = smf::parse(song.bytes);
        ASSERT_TRUE(parsed) << fps;
        EXPECT_TRUE(parsed->smpte);
        const long double expected = fps == 29 ? 2.0L * 29.0L / (30000.0L / 1001.0L) : 2.0L;
        EXPECT_NEAR(double(parsed->lengthSeconds), double(expected), 1e-12) << fps;
        EXPECT_EQ(std::llround(parsed->lengthSeconds * 44100), song.frames);
    }
}

TEST(SmfParser, FormatTwoPlaysTracksOneAfterAnother) {
    const QByteArray t1 =
        track(bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xff, 0x2f, 0x00}));
    const QByteArray t2 =
        track(bytes({0x00, 0xff, 0x51, 0x03, 0x0f, 0x42, 0x40, // 60 bpm in this track only
                     0x00, 0x90, 62,   100,  0x83, 0x60, 0x80, 62, 0, 0x00, 0xff, 0x2f, 0x00}));
    const auto song = smf::parse(header(2, 2, 480) + t1 + t2);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthSeconds, 0.5L + 1.0L);
    ASSERT_EQ(song->events.size(), 4u);
    EXPECT_EQ(song->events[2].seconds, 0.5);
}

TEST(SmfParser, SystemExclusiveIsKeptWithoutItsFraming) {
    const QByteArray body = bytes({0x00, 0xf0, 0x05, 0x7e, 0x7f, 0x09, 0x01, 0xf7, 0x00, 0xff, 0x2f, 0x00});
    const auto song = smf::parse(header(0, 1, 96) + track(body));
    ASSERT_TRUE(song);
    ASSERT_EQ(song->events.size(), 1u);
    EXPECT_EQ(song->events[0].status, 0xf0);
    ASSERT_EQ(song->events[0].sysexLength, 4u);
    EXPECT_EQ(QByteArray(song->sysex.data(), 4), bytes({0x7e, 0x7f, 0x09, 0x01}));
}

TEST(SmfParser, RiffWrappedFilesAreRead) {
    const QByteArray smf = fixtures::makeMidi(fixtures::midiSong(1.0)).bytes;
    const auto n = static_cast<int>(smf.size());
    QByteArray data("data");
    data += bytes({n, n >> 8, n >> 16, n >> 24}) + smf;
    const int riffSize = static_cast<int>(data.size()) + 4;
    const QByteArray riff = QByteArray("RIFF") +
                            bytes({riffSize, riffSize >> 8, riffSize >> 16, riffSize >> 24}) +
                            QByteArray("RMID") + data;
    EXPECT_TRUE(smf::looksLikeMidi(riff));
    const auto song = smf::parse(riff);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthSeconds, 1.0L);
}

TEST(SmfParser, NonMidiBytesAreRejectedWithAReason) {
    const QByteArray mp3 = fixtures::makeMp3({}).bytes;
    const QByteArray cases[] = {
        {},
        QByteArray("MThd"),
        mp3,
        QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16),
        header(3, 1, 480) + track(bytes({0x00, 0xff, 0x2f, 0x00})),         // unknown format
        header(1, 1, 0) + track(bytes({0x00, 0xff, 0x2f, 0x00})),           // no division
        header(1, 1, 0xe728) + track(bytes({0x00, 0xff, 0x2f, 0x00})),      // -25 fps, 40 ticks: fine
        header(1, 1, 0xe600) + track(bytes({0x00, 0xff, 0x2f, 0x00})),      // -26 fps: unknown
        header(1, 1, 480),                                                  // no track
        header(1, 1, 480) + QByteArray("XFIH") + bytes({0, 0, 0, 2, 1, 2}), // only an unknown chunk
        QByteArray("MThd") + bytes({0, 0, 0, 2, 0, 0}),                     // header too short
    };
    int accepted = 0;
    for (const QByteArray& c : cases) {
        QString error;
        if (smf::parse(c, &error)) {
            ++accepted;
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(accepted, 1); // only the valid SMPTE header
}

TEST(SmfParser, DamagedTracksKeepWhatCameBefore) {
    const QByteArray good = bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0});
    const QByteArray cases[] = {
        good + bytes({0x83}),                         // cut in a delta time
        good + bytes({0x00, 0x90, 62}),               // cut in an event
        good + bytes({0x00, 0xff, 0x01, 0x20}),       // meta event longer than the track
        good + bytes({0x00, 0xf2, 0x00, 0x00}),       // system common message: not allowed in a file
        good + bytes({0x00, 0x90, 0x99, 0x10}),       // data byte with the top bit set
        good + bytes({0xff, 0xff, 0xff, 0xff, 0x7f}), // delta time of five bytes
    };
    for (const QByteArray& body : cases) {
        const auto song = smf::parse(header(0, 1, 480) + track(body));
        ASSERT_TRUE(song);
        EXPECT_TRUE(song->truncated);
        EXPECT_EQ(song->events.size(), 2u);
        EXPECT_EQ(song->lengthSeconds, 0.5L);
    }
    // A track whose declared length runs past the end of the file.
    QByteArray cut = header(0, 1, 480) + track(good + bytes({0x00, 0xff, 0x2f, 0x00}));
    cut.chop(3);
    const auto song = smf::parse(cut);
    ASSERT_TRUE(song);
    EXPECT_TRUE(song->truncated);
    EXPECT_EQ(song->events.size(), 2u);
    // Running status with nothing to run on.
    const auto orphan = smf::parse(header(0, 1, 480) + track(bytes({0x00, 60, 100})));
    ASSERT_TRUE(orphan);
    EXPECT_TRUE(orphan->events.empty());
    EXPECT_EQ(orphan->lengthSeconds, 0.0L);
}

TEST(SmfParser, EventsAfterEndOfTrackAreIgnored) {
    const QByteArray body =
        bytes({0x00, 0x90, 60, 100, 0x81, 0x70, 0xff, 0x2f, 0x00, 0x83, 0x60, 0x90, 64, 100});
    const auto song = smf::parse(header(0, 1, 480) + track(body));
    ASSERT_TRUE(song);
    EXPECT_FALSE(song->truncated);
    EXPECT_EQ(song->events.size(), 1u);
    EXPECT_EQ(song->lengthSeconds, 0.25L);
}

TEST(SmfParser, RunningStatusOutlivesMetaEventsWhenReading) {
    // Strictly a meta event ends running status; files that still lean on it play anyway, as no
    // valid file can be read differently for it.
    const QByteArray body = bytes({0x00, 0x90, 60, 100,          // note on
                                   0x00, 0xff, 0x03, 0x01, 0x41, // a track name between
                                   0x60, 60, 0});                // note off by running status
    const auto song = smf::parse(header(0, 1, 480) + track(body));
    ASSERT_TRUE(song);
    EXPECT_FALSE(song->truncated);
    ASSERT_EQ(song->events.size(), 2u);
    EXPECT_EQ(song->events[1].status, 0x90);
}

} // namespace
