// The real engine on files the fixtures make, mostly on the silent output at many times real time.
#include "playback/AudioEngine.h"
#include "Fixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <string_view>
#include <thread>
#include <tuple>

namespace {

using fixtures::Mp3Recipe;
using fixtures::Song;
using namespace std::chrono_literals;
constexpr auto kVbr = Mp3Recipe::Mode::Vbr;

using Output = AudioEngine::Options::Output;

AudioEngine::Options fastOptions(double speed = 40.0, bool capture = false) {
    return {Output::Null, speed, capture, QString::fromLatin1(fixtures::kTestSoundFont)};
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

bool playedToEnd(const AudioEngine& e) {
    return e.currentPosition() && e.duration() && *e.currentPosition() == *e.duration();
}

double rms(const std::vector<float>& s, int channel, size_t from = 2000, size_t to = 20000) {
    double sum = 0;
    size_t n = 0;
    for (size_t f = from; f < to && 2 * f + 1 < s.size(); ++f, ++n) {
        sum += double(s[2 * f + size_t(channel)]) * s[2 * f + size_t(channel)];
    }
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

class AudioEngineTest : public ::testing::Test {
protected:
    QString put(const char* name, const QByteArray& bytes) {
        EXPECT_TRUE(fixtures::writeFile(m_dir.filePath(QString::fromUtf8(name)), bytes));
        return m_dir.filePath(QString::fromUtf8(name));
    }
    // Loads, plays to the end and returns the captured samples.
    static std::vector<float> playThrough(AudioEngine& engine, const QString& file) {
        EXPECT_TRUE(engine.setFileName(file)) << engine.errorString().toStdString();
        EXPECT_TRUE(engine.play() && waitFor([&] { return playedToEnd(engine); })) << file.toStdString();
        return engine.capturedSamples();
    }
    // Loads and plays until past `seconds`.
    static void playPast(AudioEngine& engine, const QString& file, double seconds) {
        ASSERT_TRUE(engine.setFileName(file)) << engine.errorString().toStdString();
        ASSERT_TRUE(engine.play() && waitFor([&] { return engine.currentPosition().value_or(0) > seconds; }));
    }
    QTemporaryDir m_dir;
};

TEST_F(AudioEngineTest, EveryKindOfFileReportsItsExactLengthAtOnceAndPlaysEveryFrameToItsEnd) {
    fixtures::MidiRecipe format0 = fixtures::midiSong(1.5, true);
    format0.format = 0;
    fixtures::MidiRecipe smpte = fixtures::midiSong(1.0);
    smpte.smpteFramesPerSecond = 29;
    smpte.tempos = {{100, 250000}};    // ignored with an SMPTE division
    const auto mp3 = [](Mp3Recipe r) { // 2.34 s each
        r.seconds = 2.34;
        return fixtures::makeMp3(r);
    };
    const std::pair<const char*, Song> songs[] = {
        {"cbr.mp3", mp3({})},
        {"vbr.mp3", mp3({.mode = kVbr})},
        {"vbr-untagged.mp3", mp3({.mode = kVbr, .xingTag = false})},
        {"id3.mp3", mp3({.id3v2 = fixtures::Id3v2Fields{QStringLiteral("Titel é"), {}, {}, 4096},
                         .id3v1 = fixtures::Id3v1Fields{"Title", "Artist", "Album", "1999", 13}})},
        {"mono22.mp3", mp3({.sampleRate = 22050, .channels = 1, .bitrateKbps = 64})},
        {"mono8.mp3", mp3({.sampleRate = 8000, .channels = 1, .bitrateKbps = 32})},
        {"s48.mp3", mp3({.sampleRate = 48000})},
        {"free.mp3", mp3({.bitrateKbps = 200, .freeFormat = true})},
        {"tempo.mid", fixtures::makeMidi(fixtures::midiSong(2.0, true))},
        {"format0.mid", fixtures::makeMidi(format0)},
        {"smpte29.mid", fixtures::makeMidi(smpte)},
        // Nothing or almost nothing to play: these end at once.
        {"rust.mid", fixtures::makeMidi({.endOfTrackTick = 960})},
        {"kort.mp3", fixtures::makeMp3({.seconds = 0.0001})},
        {"kort2.mp3", fixtures::makeMp3({.seconds = 0.0001, .xingTag = false})}};
    AudioEngine engine(fastOptions(40.0, true));
    for (const auto& [name, song] : songs) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(engine.setFileName(put(name, song.bytes))) << engine.errorString().toStdString();
        // Its length, rate and position at once, loaded but not under way.
        EXPECT_EQ(
            std::tuple(engine.duration(), engine.sampleRate(), engine.currentPosition(), engine.isReady()),
            std::tuple(std::optional(song.durationSeconds), song.sampleRate, std::optional(0.0), false));
        ASSERT_TRUE(engine.play() && waitFor([&] { return playedToEnd(engine); }, 5s));
        const std::vector<float> samples = engine.capturedSamples();
        ASSERT_EQ(samples.size(), size_t(2 * song.frames)); // every frame once
        EXPECT_EQ(rms(samples, 0) > 0.001,
                  song.durationSeconds > 0.5 && name != std::string_view("rust.mid"));
        // Ringing MIDI notes fade out instead of stopping with a click.
        EXPECT_TRUE(!QByteArray(name).endsWith(".mid") ||
                    std::abs(samples.back()) + std::abs(samples[samples.size() - 2]) < 0.002f);
        std::this_thread::sleep_for(30ms);
        EXPECT_TRUE(playedToEnd(engine)); // it stays at the end
    }
}

TEST_F(AudioEngineTest, PauseHoldsAndResumesStopRewinds) {
    const Song song = fixtures::makeMp3({.seconds = 2.0});
    AudioEngine engine(fastOptions(4.0, true));
    playPast(engine, put("song.mp3", song.bytes), 0.3);
    engine.pause();
    const double held = *engine.currentPosition();
    const std::vector<float> firstRun = engine.capturedSamples();
    std::this_thread::sleep_for(100ms);
    engine.pause();
    // Not playing, still under way, where it was, no sample more.
    EXPECT_EQ(std::tuple(engine.isPlaying(), engine.isReady(), engine.currentPosition(),
                         engine.capturedSamples().size()),
              std::tuple(false, true, std::optional(held), firstRun.size()));

    ASSERT_TRUE(engine.play() && waitFor([&] { return playedToEnd(engine); }));
    EXPECT_EQ(engine.capturedSamples().size(), size_t(2 * song.frames)); // resumed in one piece

    // After the end: from the start again.
    ASSERT_TRUE(engine.play() && waitFor([&] { return *engine.currentPosition() > 0.3; }));
    engine.stop();
    engine.stop();
    EXPECT_EQ(std::tuple(engine.currentPosition(), engine.isPlaying(), engine.capturedSamples().size()),
              std::tuple(std::optional(0.0), false, size_t(0)));
    ASSERT_TRUE(engine.play() && waitFor([&] { return engine.capturedSamples().size() >= 2 * 4410; }));
    const std::vector<float> secondRun = engine.capturedSamples();
    ASSERT_GE(firstRun.size(), 2u * 4410);
    EXPECT_TRUE(std::equal(firstRun.begin(), firstRun.begin() + 2 * 4410, secondRun.begin())); // from 0 again
    engine.pause();
    engine.stop();
    EXPECT_EQ(engine.currentPosition(), 0.0);
}

TEST_F(AudioEngineTest, VolumeAndBalanceReachTheSamplesAndVolumeOutlivesLoading) {
    const QString tone = put("tone.mp3", fixtures::makeMp3({.seconds = 0.6}).bytes);
    const auto played = [&](int volume, int balance) {
        AudioEngine engine(fastOptions(40.0, true));
        engine.setVolume(volume);
        engine.setBalance(balance);
        return playThrough(engine, tone);
    };
    const std::vector<float> full = played(0, 0);
    const double left = rms(full, 0), right = rms(full, 1);
    ASSERT_GT(left, 0.3);
    EXPECT_NEAR(left / right, 1.0, 0.01);
    const std::vector<float> right20 = played(0, 2000); // 20 dB off the left only
    EXPECT_NEAR(rms(right20, 0) / left, 0.1, 0.002);
    EXPECT_NEAR(rms(right20, 1) / right, 1.0, 0.01);
    const std::vector<float> left20 = played(-602, -2000); // -6.02 dB is half the amplitude
    EXPECT_NEAR(rms(left20, 0) / left, 0.5, 0.01);
    EXPECT_NEAR(rms(left20, 1) / right, 0.05, 0.002);

    // -2500 mutes, and stays set through loads of MP3 and MIDI.
    AudioEngine engine(fastOptions(40.0, true));
    engine.setVolume(-2500);
    const QString midi = put("b.mid", fixtures::makeMidi(fixtures::midiSong(0.5)).bytes);
    for (const QString& file : {tone, midi, tone}) {
        const std::vector<float> s = playThrough(engine, file);
        ASSERT_FALSE(s.empty());
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](float v) { return v == 0.0f; })) << file.toStdString();
    }
}

TEST_F(AudioEngineTest, LoadingWhilePlayingReplacesTheSong) {
    const QString first = put("long.mp3", fixtures::makeMp3({.seconds = 4.0}).bytes);
    const Song second = fixtures::makeMp3({.seconds = 0.8, .sampleRate = 32000}); // the output reopens
    AudioEngine engine(fastOptions(10.0, true));
    playPast(engine, first, 0.5);
    ASSERT_TRUE(engine.setFileName(put("short.mp3", second.bytes)));
    // Loading does not start playback by itself.
    EXPECT_EQ(std::tuple(engine.isPlaying(), engine.currentPosition(), engine.duration()),
              std::tuple(false, std::optional(0.0), std::optional(second.durationSeconds)));
    ASSERT_TRUE(engine.play() && waitFor([&] { return playedToEnd(engine); }));
    EXPECT_EQ(engine.capturedSamples().size(), size_t(2 * second.frames));

    // A failing load in the middle of a song leaves nothing loaded.
    playPast(engine, first, 0.2);
    EXPECT_FALSE(engine.setFileName(m_dir.filePath(QStringLiteral("missing.mp3"))));
    EXPECT_FALSE(engine.isReady() || engine.duration() || engine.currentPosition() || engine.play());
}

TEST_F(AudioEngineTest, RapidCommandsOnNonAsciiNamesNeitherHangNorCorrupt) {
    const Song a = fixtures::makeMp3({.seconds = 2.0});
    const QString files[] = {
        put("Café ü.mp3", a.bytes),
        put("b.mp3",
            fixtures::makeMp3({.seconds = 2.0, .sampleRate = 22050, .channels = 1, .bitrateKbps = 64}).bytes),
        put("Ünïcode.mid", fixtures::makeMidi(fixtures::midiSong(1.0)).bytes)};
    AudioEngine engine(fastOptions(30.0));
    std::mt19937 random(7);
    const std::function<void()> actions[] = {
        [&] { EXPECT_TRUE(engine.setFileName(files[random() % 3])) << engine.errorString().toStdString(); },
        [&] { engine.play(); },
        [&] { engine.pause(); },
        [&] { engine.stop(); },
        [&] {
            engine.setVolume(-int(random() % 2501));
            engine.setBalance(int(random() % 10001) - 5000);
        },
        [&] { std::this_thread::sleep_for(std::chrono::milliseconds(random() % 5)); }};
    for (int i = 0; i < 150; ++i) {
        actions[random() % 6]();
        if (engine.isReady()) {
            ASSERT_LE(*engine.currentPosition(), *engine.duration());
        }
    }
    playThrough(engine, files[0]); // still whole
    EXPECT_EQ(engine.currentPosition(), a.durationSeconds);
}

TEST_F(AudioEngineTest, NothingLoadedAndBadFilesAreHarmless) {
    AudioEngine engine(fastOptions(40.0));
    engine.pause();
    engine.stop();
    engine.setVolume(-750);
    EXPECT_FALSE(engine.isReady() || engine.duration() || engine.currentPosition() || engine.play());

    std::mt19937 random(1234);
    QByteArray noise(200000, '\0');
    std::generate(noise.begin(), noise.end(), [&] { return char(random()); });
    const Song whole = fixtures::makeMp3({.seconds = 2.0});
    // Deltas of 2^28 ticks at the slowest tempo: more frames than 64 bits hold.
    const QByteArray endless = QByteArray("\0\xff\x51\x03\xff\xff\xff", 7) +
                               QByteArray("\xff\xff\xff\x7f\xff\x01\0", 7).repeated(60000) +
                               QByteArray("\0\xff\x2f\0", 4);
    ASSERT_EQ(endless.size(), 0x0668ab);
    // With the reason the player interface gives, for the files that have a reason of their own.
    const std::pair<QString, const char*> failing[] = {
        {m_dir.filePath(QStringLiteral("missing.mp3")), "bestand bestaat niet"},
        {put("empty.mp3", {}), "bestand is leeg"},
        {put("text.mp3", QByteArray("Dit is geen muziek.\r\n").repeated(50)), nullptr},
        {put("zeros.mp3", QByteArray(50000, '\0')), nullptr},
        {put("empty.mid", {}), "bestand is leeg"},
        {put("garbage.mid", noise.left(5000)), "geen MIDI-bestand"},
        {put("header-only.mid", QByteArray("MThd\0\0\0\x06\0\x01\0\x01\x01\xe0", 14)), nullptr},
        {put("mp3-as.mid", whole.bytes), "geen MIDI-bestand"},
        {put("leeg.mid", fixtures::makeMidi({.endOfTrackTick = 0}).bytes), "geen noten in dit MIDI-bestand"},
        {put("endless.mid", QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x01MTrk\0\x06\x68\xab", 22) + endless),
         nullptr},
        {m_dir.path(), nullptr}, // a folder
    };
    for (const auto& [file, reason] : failing) {
        EXPECT_FALSE(engine.setFileName(file)) << file.toStdString();
        const QString why = static_cast<const MediaPlayer&>(engine).failureReason();
        EXPECT_TRUE(reason ? why == QString::fromUtf8(reason) : !why.isEmpty())
            << file.toStdString() << ": " << why.toStdString();
        EXPECT_FALSE(engine.isReady() || engine.play());
    }

    // These load or not (no length given), but never hang: what loads plays to an end. A cut-off MP3
    // whose Info frame promises the whole song reports what is left of it, within a frame; where a
    // frame takes more than its share, a longer song's cut shows it.
    QByteArray damaged = whole.bytes;
    damaged.replace(damaged.size() / 3, damaged.size() / 6, noise.left(damaged.size() / 6));
    const QByteArray midi = fixtures::makeMidi(fixtures::midiSong(1.0)).bytes;
    const Song vbr = fixtures::makeMp3({.seconds = 2.0, .mode = kVbr});
    const Song tagged = fixtures::makeMp3({.seconds = 30.0, .id3v2 = fixtures::Id3v2Fields{{}, {}, {}, 512}});
    const std::tuple<const char*, QByteArray, std::optional<double>> ending[] = {
        {"damaged.mp3", damaged, {}},
        {"noise.mp3", noise, {}},
        {"truncated.mid", midi.left(midi.size() - 20), {}},
        {"tagonly.mp3", whole.bytes.left(600), {}},
        {"truncated.mp3", whole.bytes.left(whole.bytes.size() / 2), 1.0},
        {"vbr-cut.mp3", vbr.bytes.left(vbr.bytes.size() / 2), 1.0},
        {"tagged-cut.mp3", tagged.bytes.left(tagged.bytes.size() / 3), 10.0},
        {"one-frame.mp3", whole.bytes.left(1000), 0.03}};
    for (const auto& [name, bytes, seconds] : ending) {
        const bool loaded = engine.setFileName(put(name, bytes));
        ASSERT_TRUE(loaded || !seconds) << name;
        if (seconds) {
            EXPECT_NEAR(*engine.duration(), *seconds, *seconds / 10 + 0.03) << name;
        }
        EXPECT_TRUE(!loaded || (engine.play() && waitFor([&] { return playedToEnd(engine); }))) << name;
    }
}

TEST_F(AudioEngineTest, MidiWithoutSoundFontFailsAndTheEngineGoesOn) {
    AudioEngine engine({Output::Null, 40.0, false, m_dir.filePath(QStringLiteral("nowhere.sf2"))});
    EXPECT_FALSE(engine.setFileName(put("a.mid", fixtures::makeMidi(fixtures::midiSong(0.5)).bytes)));
    EXPECT_TRUE(engine.errorString().contains(QStringLiteral("SoundFont")))
        << engine.errorString().toStdString();
    playThrough(engine, put("a.mp3", fixtures::makeMp3({.seconds = 0.3}).bytes));
}

TEST_F(AudioEngineTest, SdlPlaysInRealTimeAndNoDeviceFallsBackToTheSilentClock) {
    // The test environment selects SDL's dummy driver: a device that takes blocks in real time.
    const Song song = fixtures::makeMp3({.seconds = 0.5});
    const QString file = put("song.mp3", song.bytes);
    AudioEngine::Options o{Output::Sdl, 1.0, true, {}};
    {
        AudioEngine engine(o);
        engine.prepareInBackground(); // as the program does once its window shows
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(playThrough(engine, file).size(), size_t(2 * song.frames));
        EXPECT_FALSE(engine.usesSilentOutput());
        EXPECT_GT(std::chrono::steady_clock::now() - start, 400ms);
    }
    const QByteArray before = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    o.output = Output::Auto;
    o.nullOutputSpeed = 20.0;
    for (const bool early : {false, true}) {
        AudioEngine engine(o);
        if (early) {
            engine.prepareInBackground();
        }
        ASSERT_TRUE(engine.setFileName(file) && engine.play()) << early;
        EXPECT_TRUE(engine.usesSilentOutput() && waitFor([&] { return playedToEnd(engine); })) << early;
    }
    // Where only a device will do, a start without one fails and says why.
    o.output = Output::Sdl;
    AudioEngine engine(o);
    engine.prepareInBackground();
    ASSERT_TRUE(engine.setFileName(file));
    EXPECT_FALSE(engine.play());
    EXPECT_EQ(engine.failureReason(), QStringLiteral("geen geluidsapparaat beschikbaar"));
    qputenv("SDL_AUDIODRIVER", before);
}

} // namespace
