// Whole playlists on the real engine's silent output, faster than real time, driven through the
// main window's buttons and the real Timer1.

#include "PlaybackTestSupport.h"

#include "playback/AudioEngine.h"

#include <random>

using namespace playbacktest;

namespace {

// The silent output at `speed` engine seconds per real second.
AudioEngine::Options nullOutput(double speed) {
    return {AudioEngine::Options::Output::Null, speed, false, QString::fromLatin1(fixtures::kTestSoundFont)};
}

// Every distinct text a label shows, polled faster than anything changes it.
struct LabelRecorder {
    explicit LabelRecorder(const QLabel* label) : texts{label->text()} {
        QObject::connect(&poll, &QTimer::timeout, [this, label] {
            if (label->text() != texts.last()) {
                texts << label->text();
            }
        });
        poll.start(1);
    }
    QStringList texts;
    QTimer poll;
};

class EndToEnd : public ::testing::Test {
protected:
    // Tests that look at a song halfway use long songs at a lower speed, so a busy machine cannot
    // run them out underneath.
    void start(double speed = 10.0) {
        engine = std::make_unique<AudioEngine>(nullOutput(speed));
        main = std::make_unique<Main>(dir.path(), *engine);
        answerer = std::make_unique<BoxAnswerer>(main->controls()); // a failing test cannot hang on a box
    }
    const MainControls& c() const { return main->controls(); }
    void add(const QString& name, double seconds, bool midi = false) {
        const QString path = dir.filePath(name + (midi ? ".mid" : ".mp3"));
        const auto song = midi ? fixtures::writeMidi(path, fixtures::midiSong(seconds))
                               : fixtures::writeMp3(path, {.seconds = seconds});
        ASSERT_FALSE(song.bytes.isEmpty());
        main->playlist().append(name, path);
        main->playlist().refreshCount();
    }
    static bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 15000); }

    QTemporaryDir dir;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<Main> main;
    std::unique_ptr<BoxAnswerer> answerer;
};

TEST_F(EndToEnd, APlaylistPlaysThroughWithoutAClickTakingSongsAppendedOnTheWay) {
    start();
    add("Een", 3.0);
    add("Twee", 2.0, true);
    LabelRecorder counts(c().Label10);
    LabelRecorder names(c().InfoLabel);
    c().Knop[1]->click();
    ASSERT_TRUE(waitFor([&] { return c().PosLabel->text() != "00:00"; }));
    add("Drie", 1.5);
    ASSERT_TRUE(waitFor([&] { return answerer->seen().size() > 0; }));
    QTest::qWait(400); // several more Timer1 intervals: the message stays single
    expectOneBox(*answerer, "Playlist met songs bijvullen a.u.b.!");
    EXPECT_EQ(counts.texts,
              QStringList({"2 Songs in de playlist", "3 Songs in de playlist", "2 Songs in de playlist",
                           "1 Songs in de playlist", "0 Songs in de playlist"}));
    EXPECT_EQ(names.texts.mid(1), QStringList({"Een", "Twee", "Drie"}));
    EXPECT_FALSE(main->state().playback.isPlaying() || engine->isPlaying());
    EXPECT_EQ(enabled(c().KnopBottom, 5, 7), "111");
}

TEST_F(EndToEnd, PauseFreezesEverythingAndStopKeepsTheReadOuts) {
    start(4.0);
    add("Lang", 30.0);
    add("Volgende", 5.0); // Next while paused must not reach it
    c().Knop[1]->click();
    QTest::mouseClick(c().KnopBottom[7], Qt::LeftButton); // load, while playing: opens nothing
    EXPECT_EQ(answerer->seen().size(), 0);
    ASSERT_TRUE(waitFor([&] { return c().Slider1->value() >= 2; }));
    c().Knop[3]->click();
    QTest::qWait(100); // a tick catches up with where the pause stopped
    const QString pos = c().PosLabel->text();
    const auto position = engine->currentPosition();
    for (int i : {1, 2, 4}) {
        QTest::mouseClick(c().Knop[i], Qt::LeftButton);
    }
    QTest::qWait(600); // ten Timer1 intervals
    EXPECT_EQ(QStringList({c().PosLabel->text(), c().InfoLabel->text(), enabled(c().Knop, 1, 4)}),
              QStringList({pos, "Lang", "0010"}));
    EXPECT_EQ(engine->currentPosition(), position);

    c().Knop[3]->click();
    ASSERT_TRUE(waitFor([&] { return engine->currentPosition().value_or(0) > position.value_or(99); }));
    ASSERT_TRUE(waitFor([&] { return c().Slider1->value() >= 3; }));
    c().Knop[2]->click();
    const QString stopped = c().PosLabel->text();
    EXPECT_LT(stopped, QString("0:28"));
    QTest::qWait(300);
    EXPECT_EQ(QStringList({c().PosLabel->text(), c().InfoLabel->text(), enabled(c().KnopBottom, 5, 7)}),
              QStringList({stopped, "Lang", "111"}));
    EXPECT_FALSE(engine->isPlaying());
    QTest::mouseClick(c().KnopBottom[7], Qt::LeftButton);
    EXPECT_EQ(answerer->texts(), QStringList{" Load Playlist|"});
}

// Found a Pause after Stop that started a song no window state knew of.
TEST_F(EndToEnd, RapidClicksAmongShortEmptyAndMissingSongsKeepTheStateTableTrue) {
    start(20.0);
    std::mt19937 random(4242);
    int added = 0;
    const auto addSome = [&] {
        const QString name = QStringLiteral("S%1").arg(added++);
        const unsigned kind = random() % 4; // a short MP3, a short MIDI, a MIDI without notes, a missing MP3
        if (kind < 2) {
            return add(name, kind == 0 ? 0.3 : 0.5, kind == 1);
        }
        const QString path = dir.filePath(name + (kind == 2 ? ".mid" : " weg.mp3"));
        ASSERT_TRUE(kind == 3 || fixtures::writeMidi(path, {.endOfTrackTick = 0}).bytes.size() > 0);
        main->playlist().append(name, path);
        main->playlist().refreshCount();
    };
    for (int i = 0; i < 6; ++i) {
        addSome();
    }
    for (int step = 0; step < 400; ++step) {
        const unsigned action = random() % 20;
        const ProgramState& st = main->state();
        if (action < 12) {
            QTest::mouseClick(c().Knop[1 + int(action % 4)], Qt::LeftButton);
        } else if (action == 12 || (action < 15 && main->playlist().isEmpty())) {
            addSome();
        } else if (action < 15 && !st.playback.isPlaying()) {
            c().List2->setCurrentIndex(c().List2->model()->index(0, 0)); // take the top song off
            QTest::mouseClick(c().KnopR[1], Qt::LeftButton);
        } else {
            QTest::qWait(int(random() % 40));
        }
        ASSERT_EQ(c().Timer1->isActive(), st.playback.isPlaying()) << step;
        ASSERT_TRUE(!st.playback.isPaused() || st.playback.isPlaying()) << step;
        ASSERT_EQ(enabled(c().KnopBottom, 5, 7), st.playback.isPlaying() ? "000" : "111") << step;
        ASSERT_EQ(enabled(c().Knop, 1, 4), st.playback.isPaused() ? "0010" : "1111") << step;
        ASSERT_EQ(engine->isReady(), st.playback.isPlaying()) << step;
        ASSERT_TRUE(!st.playback.isPlaying() || engine->isPlaying() == !st.playback.isPaused()) << step;
    }
}

// What a first run plays: every shipped song loads, 20 to 40 s, the MP3 with a 1.5 s fade-out.
TEST(ExampleSongs, EveryShippedSongLoadsWithItsLength) {
    AudioEngine engine(nullOutput(1.0));
    for (const char* name : {"Ode an die Freude", "Twinkle Twinkle", "Frere Jacques"}) {
        const QString base = QStringLiteral(TUNARA_EXAMPLES_DIR "/") + name;
        ASSERT_TRUE(engine.setFileName(base + ".mid")) << name;
        const double midi = engine.duration().value_or(0);
        ASSERT_TRUE(engine.setFileName(base + ".mp3")) << name;
        EXPECT_GT(midi, 20.0) << name;
        EXPECT_NEAR(engine.duration().value_or(0) - midi, 1.5, 0.1) << name;
        EXPECT_LT(engine.duration().value_or(0), 40.0) << name;
    }
}

} // namespace
