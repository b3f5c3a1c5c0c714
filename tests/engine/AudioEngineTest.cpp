// The real engine end to end: files made by the fixtures, played on the silent output at many
// times real time, with the output's samples captured where the sound itself is checked.
#include "playback/AudioEngine.h"
#include "Fixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <random>
#include <thread>

namespace {

using fixtures::Mp3Recipe;
using fixtures::Song;
using namespace std::chrono_literals;

AudioEngine::Options fastOptions(double speed = 40.0, bool capture = false) {
    AudioEngine::Options o;
    o.output = AudioEngine::Options::Output::Null;
    o.nullOutputSpeed = speed;
    o.captureSamples = capture;
    o.soundFontPath = QString::fromLatin1(fixtures::kTestSoundFont);
    return o;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

bool playedToEnd(const AudioEngine& e) {
    return e.currentPosition() && e.duration() && *e.currentPosition() == *e.duration();
}

double rms(const std::vector<float>& s, int channel, size_t fromFrame, size_t toFrame) {
    double sum = 0;
    size_t n = 0;
    for (size_t f = fromFrame; f < toFrame && 2 * f + 1 < s.size(); ++f) {
        const double v = s[2 * f + static_cast<size_t>(channel)];
        sum += v * v;
        ++n;
    }
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

class AudioEngineTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString mp3(const QString& name, const Mp3Recipe& recipe, Song* song = nullptr) {
        const Song s = fixtures::writeMp3(path(name), recipe);
        EXPECT_FALSE(s.bytes.isEmpty()) << name.toStdString();
        if (song) {
            *song = s;
        }
        return path(name);
    }
    QString midi(const QString& name, const fixtures::MidiRecipe& recipe, Song* song = nullptr) {
        const Song s = fixtures::writeMidi(path(name), recipe);
        EXPECT_FALSE(s.bytes.isEmpty()) << name.toStdString();
        if (song) {
            *song = s;
        }
        return path(name);
    }
    QString raw(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(fixtures::writeFile(path(name), bytes));
        return path(name);
    }

    QTemporaryDir m_dir;
};

TEST_F(AudioEngineTest, ReportsTheExactLengthOfEveryKindOfFileRightAfterLoading) {
    struct Case {
        const char* name;
        Mp3Recipe recipe;
    };
    std::vector<Case> cases;
    Mp3Recipe cbr;
    cbr.seconds = 2.34;
    cases.push_back({"cbr.mp3", cbr});
    Mp3Recipe vbr = cbr;
    vbr.mode = Mp3Recipe::Mode::Vbr;
    cases.push_back({"vbr.mp3", vbr});
    Mp3Recipe vbrNoTag = vbr;
    vbrNoTag.xingTag = false;
    cases.push_back({"vbr-untagged.mp3", vbrNoTag});
    Mp3Recipe cbrNoTag = cbr;
    cbrNoTag.xingTag = false;
    cases.push_back({"cbr-untagged.mp3", cbrNoTag});
    Mp3Recipe tagged = cbr;
    tagged.id3v2 = fixtures::Id3v2Fields{QStringLiteral("Titel é"), QStringLiteral("Artiest"), {}, 4096};
    tagged.id3v1 = fixtures::Id3v1Fields{"Title", "Artist", "Album", "1999", "Comment", 7, 13};
    cases.push_back({"id3.mp3", tagged});
    Mp3Recipe mono = cbr;
    mono.channels = 1;
    mono.sampleRate = 22050;
    mono.bitrateKbps = 64;
    cases.push_back({"mono22.mp3", mono});
    Mp3Recipe low = mono;
    low.sampleRate = 8000;
    low.bitrateKbps = 32;
    cases.push_back({"mono8.mp3", low});
    Mp3Recipe high = cbr;
    high.sampleRate = 48000;
    cases.push_back({"s48.mp3", high});
    Mp3Recipe free = cbr;
    free.freeFormat = true;
    free.bitrateKbps = 200;
    cases.push_back({"free.mp3", free});

    AudioEngine engine(fastOptions());
    for (const Case& c : cases) {
        Song song;
        const QString file = mp3(QString::fromLatin1(c.name), c.recipe, &song);
        ASSERT_TRUE(engine.setFileName(file)) << c.name << ": " << engine.errorString().toStdString();
        ASSERT_TRUE(engine.duration().has_value()) << c.name;
        EXPECT_EQ(*engine.duration(), song.durationSeconds) << c.name;
        EXPECT_EQ(engine.sampleRate(), c.recipe.sampleRate) << c.name;
        EXPECT_EQ(engine.channels(), c.recipe.channels) << c.name;
        EXPECT_EQ(engine.currentPosition(), 0.0) << c.name;
        EXPECT_FALSE(engine.isReady()) << c.name; // loaded, not under way
    }

    struct MidiCase {
        const char* name;
        fixtures::MidiRecipe recipe;
    };
    std::vector<MidiCase> midiCases;
    midiCases.push_back({"plain.mid", fixtures::midiSong(2.0)});
    midiCases.push_back({"tempo.mid", fixtures::midiSong(2.0, true)});
    fixtures::MidiRecipe format0 = fixtures::midiSong(1.5, true);
    format0.format = 0;
    midiCases.push_back({"format0.mid", format0});
    fixtures::MidiRecipe smpte = fixtures::midiSong(1.0);
    smpte.smpteFramesPerSecond = 25;
    smpte.ticksPerFrame = 40;
    smpte.tempos = {{100, 250000}}; // ignored with an SMPTE division
    midiCases.push_back({"smpte.mid", smpte});
    fixtures::MidiRecipe dropFrame = smpte;
    dropFrame.smpteFramesPerSecond = 29;
    midiCases.push_back({"smpte29.mid", dropFrame});
    for (const MidiCase& c : midiCases) {
        Song song;
        const QString file = midi(QString::fromLatin1(c.name), c.recipe, &song);
        ASSERT_TRUE(engine.setFileName(file)) << c.name << ": " << engine.errorString().toStdString();
        EXPECT_EQ(*engine.duration(), song.durationSeconds) << c.name;
    }
}

TEST_F(AudioEngineTest, PlaysToTheEndWherePositionEqualsDurationExactly) {
    Mp3Recipe recipe;
    recipe.seconds = 1.7;
    recipe.mode = Mp3Recipe::Mode::Vbr;
    Song song;
    const QString file = mp3(QStringLiteral("song.mp3"), recipe, &song);
    AudioEngine engine(fastOptions(40.0, true));
    ASSERT_TRUE(engine.setFileName(file));
    ASSERT_TRUE(engine.play());
    EXPECT_TRUE(engine.isPlaying());
    double last = 0;
    bool monotonic = true;
    ASSERT_TRUE(waitFor([&] {
        const double p = engine.currentPosition().value_or(-1);
        monotonic = monotonic && p >= last;
        last = p;
        return playedToEnd(engine);
    }));
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(*engine.currentPosition(), song.durationSeconds);
    // Every frame reached the output, none twice.
    EXPECT_EQ(engine.capturedSamples().size(), static_cast<size_t>(2 * song.frames));
    // It stays at the end.
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(*engine.currentPosition(), *engine.duration());

    // Play after the end starts the song again.
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() < *engine.duration(); }));
}

TEST_F(AudioEngineTest, MidiPlaysToItsParsedEnd) {
    Song song;
    const QString file = midi(QStringLiteral("song.mid"), fixtures::midiSong(1.5, true), &song);
    AudioEngine engine(fastOptions(40.0, true));
    ASSERT_TRUE(engine.setFileName(file)) << engine.errorString().toStdString();
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }));
    EXPECT_EQ(*engine.currentPosition(), song.durationSeconds);
    const std::vector<float> samples = engine.capturedSamples();
    ASSERT_EQ(samples.size(), static_cast<size_t>(2 * song.frames));
    EXPECT_GT(rms(samples, 0, 0, size_t(song.frames)), 0.001); // the notes sound
    // The sound still ringing at the end fades out instead of stopping with a click.
    EXPECT_LT(std::abs(samples[samples.size() - 2]), 0.002f);
    EXPECT_LT(std::abs(samples[samples.size() - 1]), 0.002f);
}

TEST_F(AudioEngineTest, PauseHoldsThePositionAndPlayResumesIt) {
    Mp3Recipe recipe;
    recipe.seconds = 3.0;
    Song song;
    const QString file = mp3(QStringLiteral("song.mp3"), recipe, &song);
    AudioEngine engine(fastOptions(4.0, true));
    ASSERT_TRUE(engine.setFileName(file));
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() > 0.2; }));
    engine.pause();
    EXPECT_FALSE(engine.isPlaying());
    const double held = *engine.currentPosition();
    const size_t heldSamples = engine.capturedSamples().size();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(*engine.currentPosition(), held);
    EXPECT_EQ(engine.capturedSamples().size(), heldSamples);
    EXPECT_TRUE(engine.isReady());
    engine.pause(); // again: nothing changes
    EXPECT_EQ(*engine.currentPosition(), held);

    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() > held; }));
    ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }));
    // Resumed where it stood: every frame of the song reached the output once, in one piece.
    EXPECT_EQ(engine.capturedSamples().size(), static_cast<size_t>(2 * song.frames));
}

TEST_F(AudioEngineTest, StopThenPlayStartsAtTheBeginning) {
    Mp3Recipe recipe;
    recipe.seconds = 3.0;
    const QString file = mp3(QStringLiteral("song.mp3"), recipe);
    AudioEngine engine(fastOptions(4.0, true));
    ASSERT_TRUE(engine.setFileName(file));
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() > 0.3; }));
    const std::vector<float> firstRun = engine.capturedSamples();
    engine.stop();
    EXPECT_EQ(*engine.currentPosition(), 0.0);
    EXPECT_FALSE(engine.isPlaying());
    EXPECT_TRUE(engine.capturedSamples().empty());
    engine.stop(); // harmless when stopped
    EXPECT_EQ(*engine.currentPosition(), 0.0);

    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return engine.capturedSamples().size() >= 2 * 4410; }));
    // The restart gives the song's first samples again, exactly.
    const std::vector<float> secondRun = engine.capturedSamples();
    ASSERT_GE(firstRun.size(), 2u * 4410);
    EXPECT_TRUE(std::equal(firstRun.begin(), firstRun.begin() + 2 * 4410, secondRun.begin()));

    // Stop while paused also rewinds.
    engine.pause();
    engine.stop();
    EXPECT_EQ(*engine.currentPosition(), 0.0);
}

TEST_F(AudioEngineTest, VolumeAndBalanceReachTheSamples) {
    Mp3Recipe recipe;
    recipe.seconds = 0.6;
    recipe.amplitude = 0.5;
    const QString file = mp3(QStringLiteral("tone.mp3"), recipe);
    const auto playCaptured = [&](int volume, int balance) {
        AudioEngine engine(fastOptions(40.0, true));
        engine.setVolume(volume);
        engine.setBalance(balance);
        EXPECT_TRUE(engine.setFileName(file));
        EXPECT_TRUE(engine.play());
        EXPECT_TRUE(waitFor([&] { return playedToEnd(engine); }));
        return engine.capturedSamples();
    };
    const std::vector<float> full = playCaptured(0, 0);
    const size_t from = 2000;
    const size_t to = 20000;
    const double left = rms(full, 0, from, to);
    const double right = rms(full, 1, from, to);
    ASSERT_GT(left, 0.3);
    EXPECT_NEAR(left / right, 1.0, 0.01);

    // -600 hundredths of a dB is half the amplitude (-6.02 dB), on both sides.
    const std::vector<float> half = playCaptured(-602, 0);
    EXPECT_NEAR(rms(half, 0, from, to) / left, 0.5, 0.01);
    EXPECT_NEAR(rms(half, 1, from, to) / right, 0.5, 0.01);

    // The bottom of the range mutes.
    const std::vector<float> muted = playCaptured(-2500, 0);
    EXPECT_EQ(rms(muted, 0, 0, muted.size() / 2), 0.0);
    EXPECT_EQ(rms(muted, 1, 0, muted.size() / 2), 0.0);

    // Balance 2000 takes 20 dB (a factor 10) off the left channel and leaves the right alone.
    const std::vector<float> right20 = playCaptured(0, 2000);
    EXPECT_NEAR(rms(right20, 0, from, to) / left, 0.1, 0.002);
    EXPECT_NEAR(rms(right20, 1, from, to) / right, 1.0, 0.01);
    const std::vector<float> left20 = playCaptured(-602, -2000);
    EXPECT_NEAR(rms(left20, 0, from, to) / left, 0.5, 0.01);
    EXPECT_NEAR(rms(left20, 1, from, to) / right, 0.05, 0.002);
}

TEST_F(AudioEngineTest, VolumeIsKeptWhenAnotherFileIsLoaded) {
    Mp3Recipe recipe;
    recipe.seconds = 0.5;
    const QString a = mp3(QStringLiteral("a.mp3"), recipe);
    const QString b = midi(QStringLiteral("b.mid"), fixtures::midiSong(0.5));
    AudioEngine engine(fastOptions(40.0, true));
    engine.setVolume(-2500);
    for (const QString& file : {a, b, a}) {
        ASSERT_TRUE(engine.setFileName(file));
        ASSERT_TRUE(engine.play());
        ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }));
        const std::vector<float> s = engine.capturedSamples();
        ASSERT_FALSE(s.empty());
        EXPECT_EQ(rms(s, 0, 0, s.size() / 2), 0.0) << file.toStdString();
    }
}

TEST_F(AudioEngineTest, LoadingWhilePlayingReplacesTheSong) {
    Mp3Recipe longRecipe;
    longRecipe.seconds = 4.0;
    const QString first = mp3(QStringLiteral("long.mp3"), longRecipe);
    Mp3Recipe shortSpec;
    shortSpec.seconds = 0.8;
    shortSpec.sampleRate = 32000; // another rate: the output is reopened
    Song second;
    const QString secondPath = mp3(QStringLiteral("short.mp3"), shortSpec, &second);
    AudioEngine engine(fastOptions(10.0, true));
    ASSERT_TRUE(engine.setFileName(first));
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() > 0.5; }));

    ASSERT_TRUE(engine.setFileName(secondPath));
    EXPECT_FALSE(engine.isPlaying()); // loading does not start playback by itself
    EXPECT_EQ(*engine.currentPosition(), 0.0);
    EXPECT_EQ(*engine.duration(), second.durationSeconds);
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }));
    EXPECT_EQ(engine.capturedSamples().size(), static_cast<size_t>(2 * second.frames));

    // A failing load in the middle of a song leaves nothing loaded.
    ASSERT_TRUE(engine.setFileName(first));
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return *engine.currentPosition() > 0.2; }));
    EXPECT_FALSE(engine.setFileName(path(QStringLiteral("missing.mp3"))));
    EXPECT_FALSE(engine.isReady());
    EXPECT_FALSE(engine.duration().has_value());
    EXPECT_FALSE(engine.currentPosition().has_value());
    EXPECT_FALSE(engine.play());
}

TEST_F(AudioEngineTest, RapidCommandsWhilePlayingNeitherHangNorCorrupt) {
    Mp3Recipe a;
    a.seconds = 2.0;
    Mp3Recipe b = a;
    b.sampleRate = 22050;
    b.channels = 1;
    b.bitrateKbps = 64;
    Song songA;
    const QString files[] = {mp3(QStringLiteral("Café ü.mp3"), a, &songA), mp3(QStringLiteral("b.mp3"), b),
                             midi(QStringLiteral("Ünïcode.mid"), fixtures::midiSong(1.0))};
    AudioEngine engine(fastOptions(30.0));
    std::mt19937 random(7);
    for (int i = 0; i < 150; ++i) {
        switch (random() % 6) {
        case 0:
            ASSERT_TRUE(engine.setFileName(files[random() % 3])) << engine.errorString().toStdString();
            break;
        case 1:
            engine.play();
            break;
        case 2:
            engine.pause();
            break;
        case 3:
            engine.stop();
            break;
        case 4:
            engine.setVolume(-int(random() % 2501));
            engine.setBalance(int(random() % 10001) - 5000);
            break;
        default:
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 5));
            break;
        }
        if (engine.isReady()) {
            ASSERT_LE(*engine.currentPosition(), *engine.duration());
        }
    }
    // Still whole: a fresh load plays to its exact end.
    ASSERT_TRUE(engine.setFileName(files[0]));
    ASSERT_TRUE(engine.play());
    ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }));
    EXPECT_EQ(*engine.currentPosition(), songA.durationSeconds);
}

TEST_F(AudioEngineTest, NothingLoadedIsHarmless) {
    AudioEngine engine(fastOptions());
    EXPECT_FALSE(engine.isReady());
    EXPECT_FALSE(engine.duration().has_value());
    EXPECT_FALSE(engine.currentPosition().has_value());
    engine.pause();
    engine.stop();
    engine.stop();
    engine.setVolume(-750);
    engine.setBalance(5000);
    engine.setAutoStart(false);
    EXPECT_FALSE(engine.play());
    EXPECT_FALSE(engine.isPlaying());
}

TEST_F(AudioEngineTest, BadFilesFailToLoadOrEndEarly) {
    AudioEngine engine(fastOptions(40.0));
    std::mt19937 random(1234);
    QByteArray noise(200000, '\0');
    for (char& c : noise) {
        c = char(random() & 0xff);
    }
    Mp3Recipe recipe;
    recipe.seconds = 2.0;
    const Song whole = fixtures::makeMp3(recipe);

    // Delta times of 2^28 ticks at the slowest tempo and one tick a quarter, 140 years each,
    // adding up to more frames than a 64-bit count holds.
    QByteArray endlessTrack("\0\xff\x51\x03\xff\xff\xff", 7);
    endlessTrack += QByteArray("\xff\xff\xff\x7f\xff\x01\0", 7).repeated(60000);
    endlessTrack += QByteArray("\0\xff\x2f\0", 4);
    QByteArray endlessMidi("MThd\0\0\0\x06\0\0\0\x01\0\x01MTrk", 18);
    for (int shift = 24; shift >= 0; shift -= 8) {
        endlessMidi += char((endlessTrack.size() >> shift) & 0xff);
    }
    endlessMidi += endlessTrack;

    // Fail to load, with a reason.
    const QStringList failing = {
        path(QStringLiteral("missing.mp3")),
        raw(QStringLiteral("empty.mp3"), {}),
        raw(QStringLiteral("text.mp3"), QByteArray("Dit is geen muziek.\r\n").repeated(50)),
        raw(QStringLiteral("zeros.mp3"), QByteArray(50000, '\0')),
        raw(QStringLiteral("empty.mid"), {}),
        raw(QStringLiteral("garbage.mid"), noise.left(5000)),
        raw(QStringLiteral("header-only.mid"), QByteArray("MThd\0\0\0\x06\0\x01\0\x01\x01\xe0", 14)),
        raw(QStringLiteral("bad-format.mid"),
            QByteArray("MThd\0\0\0\x06\0\x07\0\x01\x01\xe0MTrk\0\0\0\0", 22)),
        raw(QStringLiteral("mp3-as.mid"), whole.bytes),
        raw(QStringLiteral("endless.mid"), endlessMidi),
        m_dir.path(), // a folder
    };
    for (const QString& file : failing) {
        EXPECT_FALSE(engine.setFileName(file)) << file.toStdString();
        EXPECT_FALSE(engine.errorString().isEmpty()) << file.toStdString();
        EXPECT_FALSE(engine.isReady());
        EXPECT_FALSE(engine.play());
    }

    // Load (or not), and then play to an end without hanging: truncated files, noise, a
    // damaged middle.
    QByteArray damaged = whole.bytes;
    for (qsizetype i = damaged.size() / 3; i < damaged.size() / 2; ++i) {
        damaged[i] = noise[i % noise.size()];
    }
    fixtures::MidiRecipe midiSpec = fixtures::midiSong(1.0);
    const QByteArray midiBytes = fixtures::makeMidi(midiSpec).bytes;
    const QStringList ending = {
        raw(QStringLiteral("truncated.mp3"), whole.bytes.left(whole.bytes.size() / 2)),
        raw(QStringLiteral("damaged.mp3"), damaged),
        raw(QStringLiteral("noise.mp3"), noise),
        raw(QStringLiteral("truncated.mid"), midiBytes.left(midiBytes.size() - 20)),
        raw(QStringLiteral("tagonly.mp3"), whole.bytes.left(600)),
    };
    for (const QString& file : ending) {
        if (!engine.setFileName(file)) {
            continue;
        }
        ASSERT_TRUE(engine.play()) << file.toStdString();
        EXPECT_TRUE(waitFor([&] { return playedToEnd(engine); })) << file.toStdString();
    }
    // The truncated MP3 keeps the length its tag gives and ends early; the position then reads
    // the full duration, so a playlist moves on.
    ASSERT_TRUE(engine.setFileName(ending[0]));
    EXPECT_EQ(*engine.duration(), whole.durationSeconds);
}

TEST_F(AudioEngineTest, SongsWithNothingOrAlmostNothingToPlayEndAtOnce) {
    // A playlist must move past them: each loads with its exact length and reaches its end.
    fixtures::MidiRecipe noNotes;
    noNotes.endOfTrackTick = 0;
    fixtures::MidiRecipe restOnly;
    restOnly.endOfTrackTick = 960;
    Mp3Recipe oneFrame;
    oneFrame.seconds = 0.0001;
    Mp3Recipe oneFrameUntagged = oneFrame;
    oneFrameUntagged.xingTag = false;
    Song songs[4];
    const QString files[] = {midi(QStringLiteral("leeg.mid"), noNotes, &songs[0]),
                             midi(QStringLiteral("rust.mid"), restOnly, &songs[1]),
                             mp3(QStringLiteral("kort.mp3"), oneFrame, &songs[2]),
                             mp3(QStringLiteral("kort2.mp3"), oneFrameUntagged, &songs[3])};
    AudioEngine engine(fastOptions(40.0));
    for (int i = 0; i < 4; ++i) {
        const std::string name = files[i].toStdString();
        ASSERT_TRUE(engine.setFileName(files[i])) << name << ": " << engine.errorString().toStdString();
        EXPECT_EQ(*engine.duration(), songs[i].durationSeconds) << name;
        ASSERT_TRUE(engine.play()) << name;
        EXPECT_TRUE(waitFor([&] { return playedToEnd(engine); }, 5s)) << name;
    }
    EXPECT_EQ(songs[0].durationSeconds, 0.0);
}

TEST_F(AudioEngineTest, MidiWithoutSoundFontFailsAndTheEngineGoesOn) {
    AudioEngine::Options o = fastOptions();
    o.soundFontPath = path(QStringLiteral("nowhere.sf2"));
    AudioEngine engine(o);
    const QString song = midi(QStringLiteral("song.mid"), fixtures::midiSong(0.5));
    EXPECT_FALSE(engine.setFileName(song));
    EXPECT_TRUE(engine.errorString().contains(QStringLiteral("SoundFont")))
        << engine.errorString().toStdString();
    Mp3Recipe recipe;
    recipe.seconds = 0.3;
    ASSERT_TRUE(engine.setFileName(mp3(QStringLiteral("song.mp3"), recipe)));
    ASSERT_TRUE(engine.play());
    EXPECT_TRUE(waitFor([&] { return playedToEnd(engine); }));
}

TEST_F(AudioEngineTest, SdlOutputPlaysInRealTime) {
    // The test environment selects SDL's dummy driver: a device that takes blocks in real time.
    AudioEngine::Options o;
    o.output = AudioEngine::Options::Output::Sdl;
    o.captureSamples = true;
    AudioEngine engine(o);
    Mp3Recipe recipe;
    recipe.seconds = 0.5;
    Song song;
    ASSERT_TRUE(engine.setFileName(mp3(QStringLiteral("song.mp3"), recipe, &song)));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(engine.play()) << engine.errorString().toStdString();
    EXPECT_FALSE(engine.usesSilentOutput());
    ASSERT_TRUE(waitFor([&] { return playedToEnd(engine); }, 5s));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(elapsed, 0.4);
    EXPECT_EQ(engine.capturedSamples().size(), static_cast<size_t>(2 * song.frames));
    engine.stop();
}

TEST_F(AudioEngineTest, AutomaticOutputFallsBackToTheSilentClock) {
    // A driver that cannot exist: no device opens, and the engine plays on the silent output.
    const QByteArray before = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    AudioEngine::Options o;
    o.output = AudioEngine::Options::Output::Auto;
    o.nullOutputSpeed = 20.0;
    AudioEngine engine(o);
    Mp3Recipe recipe;
    recipe.seconds = 0.5;
    ASSERT_TRUE(engine.setFileName(mp3(QStringLiteral("song.mp3"), recipe)));
    ASSERT_TRUE(engine.play());
    qputenv("SDL_AUDIODRIVER", before);
    EXPECT_TRUE(engine.usesSilentOutput());
    EXPECT_TRUE(waitFor([&] { return playedToEnd(engine); }));
}

} // namespace
