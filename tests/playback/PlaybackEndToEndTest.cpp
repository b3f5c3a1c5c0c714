// Whole playlists played by the real engine on its silent output at many times real time,
// driven through the main window's buttons and the real Timer1, as a person would.

#include "PlaybackTestSupport.h"

#include "Fixtures.h"
#include "app/Main.h"
#include "playback/AudioEngine.h"
#include "playlist/PlaylistModel.h"

#include <QLabel>
#include <QListView>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace playbacktest;

namespace {

// Engine seconds per real second: a 2 s song ends after 0.2 s, a few Timer1 ticks. Tests that
// look at a song halfway use long songs, so a busy machine cannot run them out underneath.
constexpr double kSpeed = 10.0;
constexpr int kWaitMs = 15000;

AudioEngine::Options fastOptions(double speed) {
    AudioEngine::Options o;
    o.output = AudioEngine::Options::Output::Null;
    o.nullOutputSpeed = speed;
    o.soundFontPath = QString::fromLatin1(fixtures::kTestSoundFont);
    return o;
}

// Records every distinct text a label shows, polling faster than anything changes it.
class LabelRecorder {
public:
    explicit LabelRecorder(const QLabel* label) : m_label(label) {
        m_texts << label->text();
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (m_label->text() != m_texts.last()) {
                m_texts << m_label->text();
            }
        });
        m_poll.start(1);
    }
    const QStringList& texts() const { return m_texts; }

private:
    const QLabel* m_label;
    QTimer m_poll;
    QStringList m_texts;
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void start(double speed = kSpeed) {
        engine = std::make_unique<AudioEngine>(fastOptions(speed));
        main = std::make_unique<Main>(dir.path(), *engine);
        // Every message box is answered, so a test that fails cannot hang on one.
        answerer = std::make_unique<BoxAnswerer>(main->controls());
    }
    void TearDown() override {
        answerer.reset();
        main.reset();
        engine.reset();
    }
    size_t boxCount() const { return answerer->boxes().size(); }
    const SeenBox& box(size_t i = 0) const { return answerer->boxes().at(i); }

    const MainControls& c() const { return main->controls(); }

    // Makes a song file and appends it to the playlist as the browser would.
    void addMp3(const QString& name, double seconds) {
        fixtures::Mp3Recipe mp3;
        mp3.seconds = seconds;
        mp3.bitrateKbps = 64;
        const QString path = dir.filePath(name + QStringLiteral(".mp3"));
        ASSERT_FALSE(fixtures::writeMp3(path, mp3).bytes.isEmpty());
        append(name, path);
    }
    void addMidi(const QString& name, double seconds) {
        const QString path = dir.filePath(name + QStringLiteral(".mid"));
        ASSERT_FALSE(fixtures::writeMidi(path, fixtures::midiSong(seconds)).bytes.isEmpty());
        append(name, path);
    }
    void append(const QString& name, const QString& path) {
        main->playlist().append(name, path);
        main->playlist().refreshCount();
    }
    bool waitFor(const std::function<bool()>& condition, int ms = kWaitMs) {
        return QTest::qWaitFor(condition, ms);
    }
    QString count() const { return c().Label10->text(); }
    // "M:SS" back to seconds.
    static int remainingSeconds(const QString& text) {
        const QStringList parts = text.split(QLatin1Char(':'));
        return parts.size() == 2 ? parts[0].toInt() * 60 + parts[1].toInt() : -1;
    }

    QTemporaryDir dir;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<Main> main;
    std::unique_ptr<BoxAnswerer> answerer;
};

TEST_F(EndToEnd, AThreeSongPlaylistPlaysThroughWithoutAClick) {
    start();
    addMp3(QStringLiteral("Een"), 2.0);
    addMidi(QStringLiteral("Twee"), 2.0);
    addMp3(QStringLiteral("Drie"), 1.5);
    ASSERT_EQ(count(), "3 Songs in de playlist");

    LabelRecorder counts(c().Label10);
    LabelRecorder names(c().InfoLabel);
    c().Knop[1]->click();
    EXPECT_TRUE(commandButtonsDisabled(c()));

    ASSERT_TRUE(waitFor([&] { return boxCount() > 0; }));
    QTest::qWait(400); // several more Timer1 intervals: the message stays single
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(box().text, "Playlist met songs bijvullen a.u.b.!");
    EXPECT_EQ(box().title, "Tunara");
    EXPECT_FALSE(box().timer1Active);

    EXPECT_EQ(counts.texts(), QStringList({"3 Songs in de playlist", "2 Songs in de playlist",
                                           "1 Songs in de playlist", "0 Songs in de playlist"}));
    EXPECT_EQ(names.texts().mid(1), QStringList({"Een", "Twee", "Drie"}));
    EXPECT_TRUE(main->playlist().isEmpty());
    EXPECT_FALSE(main->state().playing);
    EXPECT_FALSE(c().Timer1->isActive());
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_TRUE(commandButtonsEnabled(c()));
    EXPECT_EQ(c().InfoLabel->text(), "Drie");
}

TEST_F(EndToEnd, SongsAppendedWhilePlayingArePlayedInTurn) {
    start();
    addMp3(QStringLiteral("Eerste"), 3.0);
    LabelRecorder names(c().InfoLabel);
    c().Knop[1]->click();
    ASSERT_TRUE(waitFor([&] { return c().PosLabel->text() != "00:00"; }));
    addMidi(QStringLiteral("Tweede"), 1.5);
    addMp3(QStringLiteral("Derde"), 1.0);
    EXPECT_EQ(count(), "3 Songs in de playlist");
    EXPECT_EQ(c().InfoLabel->text(), "Eerste");

    ASSERT_TRUE(waitFor([&] { return boxCount() > 0; }));
    EXPECT_EQ(names.texts().mid(1), QStringList({"Eerste", "Tweede", "Derde"}));
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_EQ(count(), "0 Songs in de playlist");
}

TEST_F(EndToEnd, WhilePausedNothingMovesAndOnlyThePauseButtonReacts) {
    start(4.0);
    addMp3(QStringLiteral("Lang"), 30.0);
    addMp3(QStringLiteral("Volgende"), 1.0);
    c().Knop[1]->click();
    ASSERT_TRUE(waitFor([&] { return c().Slider1->value() >= 2; }));

    c().Knop[3]->click();
    ASSERT_TRUE(main->state().paused);
    QTest::qWait(100); // let a tick catch up with where the pause stopped
    const QString pos = c().PosLabel->text();
    const int slider = c().Slider1->value();
    const auto position = engine->currentPosition();
    ASSERT_TRUE(position.has_value());

    QTest::mouseClick(c().Knop[1], Qt::LeftButton);
    QTest::mouseClick(c().Knop[2], Qt::LeftButton);
    QTest::mouseClick(c().Knop[4], Qt::LeftButton);
    QTest::qWait(600); // ten Timer1 intervals
    EXPECT_EQ(c().PosLabel->text(), pos);
    EXPECT_EQ(c().Slider1->value(), slider);
    EXPECT_EQ(engine->currentPosition(), position);
    EXPECT_EQ(c().InfoLabel->text(), "Lang");
    EXPECT_EQ(count(), "2 Songs in de playlist");
    EXPECT_TRUE(main->state().playing);
    EXPECT_TRUE(c().Timer1->isActive());
    EXPECT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(1)));
    EXPECT_EQ(playerButtonsEnabled(c()), "0010");

    c().Knop[3]->click();
    EXPECT_EQ(playerButtonsEnabled(c()), "1111");
    EXPECT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(0)));
    ASSERT_TRUE(waitFor([&] { return engine->currentPosition().value_or(0) > *position; }));
    EXPECT_EQ(boxCount(), 0u);
    c().Knop[4]->click();
    EXPECT_EQ(c().InfoLabel->text(), "Volgende");
    ASSERT_TRUE(waitFor([&] { return boxCount() > 0; }));
    EXPECT_EQ(box().text, "Playlist met songs bijvullen a.u.b.!");
}

TEST_F(EndToEnd, NextWithOneSongStopsWithItsMessage) {
    start();
    addMp3(QStringLiteral("Alleen"), 5.0);
    c().Knop[1]->click();
    ASSERT_TRUE(waitFor([&] { return engine->currentPosition().value_or(0) > 0.0; }));
    c().Knop[4]->click();
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(box().text, "Playlist aanvullen met songs!");
    EXPECT_EQ(count(), "0 Songs in de playlist");
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_FALSE(main->state().playing);
    EXPECT_FALSE(c().Timer1->isActive());
    EXPECT_TRUE(commandButtonsEnabled(c()));
}

TEST_F(EndToEnd, StopKeepsTheInfoLineAndTheRemainingTime) {
    start(4.0);
    addMp3(QStringLiteral("Stil"), 30.0);
    c().Knop[1]->click();
    ASSERT_TRUE(waitFor([&] { return c().Slider1->value() >= 3; }));
    c().Knop[2]->click();
    const QString pos = c().PosLabel->text();
    EXPECT_LE(remainingSeconds(pos), 27);
    QTest::qWait(300);
    EXPECT_EQ(c().PosLabel->text(), pos);
    EXPECT_EQ(c().InfoLabel->text(), "Stil");
    EXPECT_EQ(count(), "1 Songs in de playlist");
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_FALSE(c().Timer1->isActive());

    // Start plays it again from its beginning.
    c().Knop[1]->click();
    EXPECT_LT(engine->currentPosition().value_or(99), 1.0);
    ASSERT_TRUE(waitFor([&] { return c().PosLabel->text() != pos; }));
    EXPECT_GT(remainingSeconds(c().PosLabel->text()), remainingSeconds(pos));
    c().Knop[2]->click();
    EXPECT_EQ(boxCount(), 0u);
}

TEST_F(EndToEnd, CommandButtonsAreDisabledWhilePlayingAndWorkAgainAfterStop) {
    start(4.0);
    addMp3(QStringLiteral("Bezig"), 30.0);
    c().Knop[1]->click();
    EXPECT_TRUE(commandButtonsDisabled(c()));
    // A click on the load button while playing opens nothing.
    QTest::mouseClick(c().KnopBottom[7], Qt::LeftButton);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Pausing keeps them disabled.
    c().Knop[3]->click();
    EXPECT_TRUE(commandButtonsDisabled(c()));
    c().Knop[3]->click();

    c().Knop[2]->click();
    EXPECT_TRUE(commandButtonsEnabled(c()));
    // The load-playlist window opens again; close it as a person would.
    bool opened = false;
    QTimer::singleShot(50, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = true;
            w->close();
        }
    });
    QTest::mouseClick(c().KnopBottom[7], Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_TRUE(opened);
}

TEST_F(EndToEnd, RapidClicksAmongShortEmptyAndMissingSongsKeepTheStateTableTrue) {
    start(20.0);
    std::mt19937 random(4242);
    int added = 0;
    const auto addSome = [&] {
        const QString name = QStringLiteral("S%1").arg(added++);
        switch (random() % 4) {
        case 0:
            addMp3(name, 0.2 + 0.1 * double(random() % 5));
            break;
        case 1:
            addMidi(name, 0.5);
            break;
        case 2: {
            fixtures::MidiRecipe empty;
            empty.endOfTrackTick = 0;
            const QString path = dir.filePath(name + QStringLiteral(".mid"));
            ASSERT_FALSE(fixtures::writeMidi(path, empty).bytes.isEmpty());
            append(name, path);
            break;
        }
        default:
            append(name, dir.filePath(name + QStringLiteral(" weg.mp3"))); // never written
            break;
        }
    };
    for (int i = 0; i < 6; ++i) {
        addSome();
    }
    for (int step = 0; step < 400; ++step) {
        const unsigned action = random() % 20;
        if (action < 12) {
            // A person's click: a disabled button does not react.
            QTest::mouseClick(c().Knop[1 + int(action % 4)], Qt::LeftButton);
        } else if (action == 12 || (action < 15 && main->playlist().isEmpty())) {
            addSome();
        } else if (action < 15 && !main->state().playing && !main->playlist().isEmpty() && boxCount() > 0 &&
                   box(boxCount() - 1).text.startsWith(QStringLiteral("Kan '"))) {
            // The person takes the song that would not play off the top of the list.
            c().List2->setCurrentIndex(c().List2->model()->index(0, 0));
            QTest::mouseClick(c().KnopR[1], Qt::LeftButton);
        } else {
            QTest::qWait(int(random() % 40));
        }
        const ProgramState& st = main->state();
        ASSERT_EQ(c().Timer1->isActive(), st.playing) << step;
        ASSERT_TRUE(!st.paused || st.playing) << step;
        ASSERT_EQ(commandButtonsEnabled(c()), !st.playing) << step;
        ASSERT_EQ(playerButtonsEnabled(c()), st.paused ? "0010" : "1111") << step;
        ASSERT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(st.paused ? 1 : 0))) << step;
        // Never claims to play a song that is not under way, nor plays behind an idle window.
        ASSERT_EQ(engine->isReady(), st.playing) << step;
        if (st.playing) {
            ASSERT_EQ(engine->isPlaying(), !st.paused) << step;
        }
    }
}

} // namespace

namespace {

// The songs shipped in examples/ are what a first run plays: each must load in the real engine
// and last 20 to 40 seconds, the MP3 as long as the MIDI it was rendered from plus its fade-out.
TEST(ExampleSongs, EveryShippedSongLoadsWithItsLength) {
    AudioEngine::Options o;
    o.output = AudioEngine::Options::Output::Null;
    o.soundFontPath = QString::fromLatin1(fixtures::kTestSoundFont);
    AudioEngine engine(o);
    for (const char* name : {"Ode an die Freude", "Twinkle Twinkle", "Frere Jacques"}) {
        const QString base = QStringLiteral(TUNARA_EXAMPLES_DIR "/") + QString::fromLatin1(name);
        ASSERT_TRUE(engine.setFileName(base + QStringLiteral(".mid"))) << name;
        const double midi = engine.duration().value_or(0);
        ASSERT_TRUE(engine.setFileName(base + QStringLiteral(".mp3"))) << name;
        const double mp3 = engine.duration().value_or(0);
        EXPECT_GT(midi, 20.0) << name;
        EXPECT_LT(mp3, 40.0) << name;
        EXPECT_NEAR(mp3 - midi, 1.5, 0.1) << name;
        EXPECT_EQ(engine.sampleRate(), 44100) << name;
    }
}

} // namespace
