// The player pane's handlers against a scripted player: the exact steps of the four buttons, the
// state table, the position tick and its advance, volume and balance.

#include "PlaybackTestSupport.h"

#include "app/Main.h"
#include "playback/PlayerController.h"
#include "playlist/PlaylistModel.h"
#include "support/FakePlayer.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace playbacktest;

namespace {

class PlayerPane : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        main = std::make_unique<Main>(dir.path(), player);
    }

    const MainControls& c() const { return main->controls(); }
    PlayerController& ctl() { return main->playerController(); }
    ProgramState& state() { return main->state(); }

    // Appends a song that loads with the given duration; "name" plays from "/m/name.mp3".
    void add(const QString& name, double seconds) {
        const QString path = QStringLiteral("/m/") + name + QStringLiteral(".mp3");
        player.durations[path] = seconds;
        main->playlist().append(name, path);
        main->playlist().refreshCount();
    }
    // Appends a song whose file cannot be loaded.
    void addBroken(const QString& name) {
        main->playlist().append(name, QStringLiteral("/m/") + name + QStringLiteral(".mp3"));
        main->playlist().refreshCount();
    }
    void click(int knop) { c().Knop[knop]->click(); }
    QString count() const { return c().Label10->text(); }

    // The state table: playing flag, paused flag, Timer1, enabled player and command buttons.
    void expectIdle() {
        EXPECT_FALSE(state().playing);
        EXPECT_FALSE(state().paused);
        EXPECT_FALSE(c().Timer1->isActive());
        EXPECT_EQ(playerButtonsEnabled(c()), "1111");
        EXPECT_TRUE(commandButtonsEnabled(c()));
    }
    void expectPlaying() {
        EXPECT_TRUE(state().playing);
        EXPECT_FALSE(state().paused);
        EXPECT_TRUE(c().Timer1->isActive());
        EXPECT_EQ(playerButtonsEnabled(c()), "1111");
        EXPECT_TRUE(commandButtonsDisabled(c()));
    }
    void expectPaused() {
        EXPECT_TRUE(state().playing);
        EXPECT_TRUE(state().paused);
        EXPECT_TRUE(c().Timer1->isActive());
        EXPECT_EQ(playerButtonsEnabled(c()), "0010");
        EXPECT_TRUE(commandButtonsDisabled(c()));
    }

    QTemporaryDir dir;
    FakePlayer player;
    std::unique_ptr<Main> main;
};

TEST_F(PlayerPane, EveryButtonDoesNothingOnAnEmptyPlaylist) {
    player.calls.clear();
    for (int i = 1; i <= 4; ++i) {
        click(i);
    }
    ctl().Knop_Click(0);
    ctl().Knop_Click(5);
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join(QLatin1Char('|')).toStdString();
    expectIdle();
}

TEST_F(PlayerPane, StartLoadsTheHeadAndEntersThePlayingState) {
    add(QStringLiteral("Song A"), 187.5);
    add(QStringLiteral("Song B"), 20.0);
    c().PosLabel->setText(QStringLiteral("1:23"));
    player.calls.clear();
    QSignalSpy refreshes(&main->playlist(), &PlaylistModel::countTextChanged);

    click(1);

    EXPECT_EQ(player.calls,
              QStringList({QStringLiteral("setFileName /m/Song A.mp3"), QStringLiteral("play")}));
    EXPECT_EQ(c().InfoLabel->text(), "Song A");
    EXPECT_EQ(c().Slider1->maximum(), 188); // 187.5 to the even neighbour
    expectPlaying();
    // PosLabel, the count and the playlist are left alone.
    EXPECT_EQ(c().PosLabel->text(), "1:23");
    EXPECT_EQ(refreshes.count(), 0);
    EXPECT_EQ(main->playlist().count(), 2);

    // Start again restarts the head from its beginning; the Timer1 stays on.
    player.position = 50.0;
    player.calls.clear();
    click(1);
    EXPECT_EQ(player.calls,
              QStringList({QStringLiteral("setFileName /m/Song A.mp3"), QStringLiteral("play")}));
    EXPECT_EQ(player.position, 0.0);
    expectPlaying();
}

TEST_F(PlayerPane, StopKeepsTheDisplaysAndTheHeadAndStartPlaysItAgain) {
    add(QStringLiteral("Song A"), 187.2);
    click(1);
    player.position = 60.0;
    ctl().Timer1_Timer();
    EXPECT_EQ(c().PosLabel->text(), "2:07");
    EXPECT_EQ(c().Slider1->value(), 60);

    player.calls.clear();
    click(2);
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("stop")}));
    expectIdle();
    EXPECT_EQ(c().InfoLabel->text(), "Song A");
    EXPECT_EQ(c().PosLabel->text(), "2:07");
    EXPECT_EQ(c().Slider1->value(), 60);
    EXPECT_EQ(main->playlist().count(), 1);

    player.calls.clear();
    click(1);
    EXPECT_EQ(player.calls,
              QStringList({QStringLiteral("setFileName /m/Song A.mp3"), QStringLiteral("play")}));
    expectPlaying();
}

TEST_F(PlayerPane, PauseLeavesOnlyThePauseButtonAndResumeRestoresEverything) {
    add(QStringLiteral("Song A"), 100.0);
    click(1);
    player.position = 10.0;
    ctl().Timer1_Timer();
    const QString shown = c().PosLabel->text();

    player.calls.clear();
    click(3);
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("pause")}));
    expectPaused();
    EXPECT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(1)));
    EXPECT_FALSE(showsPicture(c().Knop[3], Plaatjes::Img(0)));

    // Start, Stop and Next do not react; the displays stand still while the timer ticks.
    player.calls.clear();
    QTest::mouseClick(c().Knop[1], Qt::LeftButton);
    QTest::mouseClick(c().Knop[2], Qt::LeftButton);
    QTest::mouseClick(c().Knop[4], Qt::LeftButton);
    ctl().Timer1_Timer();
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(c().PosLabel->text(), shown);
    expectPaused();

    click(3);
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("play")}));
    expectPlaying();
    EXPECT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(0)));
    EXPECT_EQ(player.position, 10.0); // resumed, not restarted
}

TEST_F(PlayerPane, PauseDoesNothingWhenThePlayerIsNotReady) {
    add(QStringLiteral("Song A"), 100.0);
    player.calls.clear();
    click(3); // nothing loaded yet
    EXPECT_TRUE(player.calls.isEmpty());
    expectIdle();
    EXPECT_TRUE(showsPicture(c().Knop[3], Plaatjes::Img(0)));
}

TEST_F(PlayerPane, PauseAfterStopDoesNothingBecauseNoSongIsUnderWay) {
    // A stopped song cannot be paused: "resuming" it would play with no timer and an idle window.
    add(QStringLiteral("Song A"), 100.0);
    click(1);
    click(2);
    player.calls.clear();
    click(3);
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_FALSE(state().paused);
    EXPECT_FALSE(state().playing);
    EXPECT_FALSE(c().Timer1->isActive());
    EXPECT_EQ(playerButtonsEnabled(c()), "1111");
}

TEST_F(PlayerPane, NextDropsTheHeadAndPlaysTheNewOne) {
    add(QStringLiteral("Song A"), 100.0);
    add(QStringLiteral("Song B"), 59.5);
    add(QStringLiteral("Song C"), 30.0);
    click(1);
    player.position = 42.0;
    ctl().Timer1_Timer();
    player.calls.clear();

    click(4);
    EXPECT_EQ(player.calls,
              QStringList({QStringLiteral("setFileName /m/Song B.mp3"), QStringLiteral("play")}));
    EXPECT_EQ(c().InfoLabel->text(), "Song B");
    EXPECT_EQ(c().Slider1->maximum(), 60);
    EXPECT_EQ(c().PosLabel->text(), "00:00");
    EXPECT_EQ(count(), "2 Songs in de playlist");
    EXPECT_EQ(main->playlist().head().displayName, "Song B");
    expectPlaying();
}

TEST_F(PlayerPane, NextDoesNothingUnlessPlaying) {
    add(QStringLiteral("Song A"), 100.0);
    add(QStringLiteral("Song B"), 100.0);
    player.calls.clear();
    click(4);
    click(1);
    click(2);
    player.calls.clear();
    click(4);
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(main->playlist().count(), 2);
}

TEST_F(PlayerPane, NextWithOneSongEndsTheListWithItsOwnMessage) {
    add(QStringLiteral("Song A"), 100.0);
    click(1);
    player.calls.clear();
    {
        BoxAnswerer answerer(c());
        click(4);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        const SeenBox& box = answerer.boxes().front();
        EXPECT_EQ(box.text, "Playlist aanvullen met songs!");
        EXPECT_EQ(box.title, "Tunara");
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttonCount, 1);
        EXPECT_TRUE(box.okButton);
        EXPECT_FALSE(box.timer1Active);
    }
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("stop")}));
    EXPECT_EQ(count(), "0 Songs in de playlist");
    EXPECT_TRUE(main->playlist().isEmpty());
    EXPECT_EQ(c().InfoLabel->text(), "Song A");
    expectIdle();
}

TEST_F(PlayerPane, NextOntoASongThatCannotBeLoadedStopsNamesItAndKeepsIt) {
    add(QStringLiteral("Song A"), 100.0);
    addBroken(QStringLiteral("Kapot"));
    add(QStringLiteral("Song C"), 100.0);
    click(1);
    {
        BoxAnswerer answerer(c());
        click(4);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes().front().text, "Kan 'Kapot' niet afspelen.");
        EXPECT_EQ(answerer.boxes().front().title, "Tunara");
        EXPECT_FALSE(answerer.boxes().front().timer1Active);
    }
    expectIdle();
    EXPECT_EQ(main->playlist().head().displayName, "Kapot");
    EXPECT_EQ(count(), "2 Songs in de playlist");
}

TEST_F(PlayerPane, StartOnASongThatCannotBeLoadedStaysIdle) {
    addBroken(QStringLiteral("Kapot"));
    add(QStringLiteral("Song B"), 100.0);
    c().InfoLabel->setText(QStringLiteral("Selecteer met de navigatie de songs..."));
    {
        BoxAnswerer answerer(c());
        click(1);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes().front().text, "Kan 'Kapot' niet afspelen.");
        EXPECT_EQ(answerer.boxes().front().icon, QMessageBox::NoIcon);
        EXPECT_FALSE(answerer.boxes().front().timer1Active);
    }
    expectIdle();
    EXPECT_EQ(main->playlist().count(), 2);
    EXPECT_EQ(c().InfoLabel->text(), "Selecteer met de navigatie de songs...");
}

TEST_F(PlayerPane, StartWhenPlayFailsDoesNotClaimToPlay) {
    add(QStringLiteral("Song A"), 100.0);
    player.playFails = true;
    {
        BoxAnswerer answerer(c());
        click(1);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes().front().text, "Kan 'Song A' niet afspelen.");
    }
    expectIdle();
    EXPECT_EQ(main->playlist().count(), 1);
}

TEST_F(PlayerPane, StartSkipsAnUnreadableDuration) {
    // A player that loads the file but cannot tell its length: the slider keeps its maximum and
    // the song plays.
    class NoDuration : public FakePlayer {
    public:
        std::optional<double> duration() const override { return std::nullopt; }
    };
    NoDuration p;
    p.loadAll = true;
    Main m(dir.path(), p);
    m.playlist().append(QStringLiteral("X"), QStringLiteral("/x.mp3"));
    m.controls().Slider1->setMaximum(17);
    m.controls().Knop[1]->click();
    EXPECT_TRUE(m.state().playing);
    EXPECT_TRUE(m.controls().Timer1->isActive());
    EXPECT_EQ(m.controls().Slider1->maximum(), 17);
    EXPECT_EQ(p.calls.last(), "play");
    // The tick has nothing to read and leaves the displays alone.
    m.controls().PosLabel->setText(QStringLiteral("00:00"));
    m.playerController().Timer1_Timer();
    EXPECT_EQ(m.controls().PosLabel->text(), "00:00");
}

TEST_F(PlayerPane, TickShowsRemainingTimeAndPosition) {
    add(QStringLiteral("A"), 187.2);
    click(1);
    const struct {
        double position;
        const char* text;
        int slider;
    } cases[] = {{0.0, "3:07", 0},     {0.4, "3:07", 0},     {2.5, "3:05", 2},    {3.5, "3:03", 4},
                 {127.6, "0:59", 128}, {186.0, "0:01", 186}, {187.0, "0:00", 187}};
    for (const auto& cs : cases) {
        player.position = cs.position;
        ctl().Timer1_Timer();
        EXPECT_EQ(c().PosLabel->text(), QString::fromLatin1(cs.text)) << cs.position;
        EXPECT_EQ(c().Slider1->value(), cs.slider) << cs.position;
    }
    // Worked values through the tick, at position 0.
    for (const auto& [d, text] : {std::pair{59.6, "1:00"}, std::pair{9.0, "0:09"}}) {
        add(QStringLiteral("W"), d);
        main->playlist().dropHead();
        click(1);
        player.position = 0.0;
        ctl().Timer1_Timer();
        EXPECT_EQ(c().PosLabel->text(), QString::fromLatin1(text)) << d;
    }
}

TEST_F(PlayerPane, TickSendsTheBalanceEvenWhenTheSlidersHandlerDidNotRun) {
    add(QStringLiteral("A"), 100.0);
    click(1);
    c().Ballans->blockSignals(true);
    c().Ballans->setValue(-3210);
    c().Ballans->blockSignals(false);
    EXPECT_EQ(player.balance, 0);
    ctl().Timer1_Timer();
    EXPECT_EQ(player.balance, -3210);
}

TEST_F(PlayerPane, TickMovesOnOnlyWhenPositionEqualsDurationExactly) {
    add(QStringLiteral("A"), 10.0);
    add(QStringLiteral("B"), 20.4);
    add(QStringLiteral("C"), 30.0);
    click(1);
    player.position = 9.999999999;
    ctl().Timer1_Timer();
    EXPECT_EQ(main->playlist().head().displayName, "A");
    EXPECT_EQ(c().PosLabel->text(), "0:00");

    player.position = 10.0;
    player.calls.clear();
    ctl().Timer1_Timer();
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("setFileName /m/B.mp3"), QStringLiteral("play")}));
    EXPECT_EQ(main->playlist().head().displayName, "B");
    EXPECT_EQ(c().InfoLabel->text(), "B");
    EXPECT_EQ(c().Slider1->maximum(), 20);
    EXPECT_EQ(c().PosLabel->text(), "00:00");
    EXPECT_EQ(count(), "2 Songs in de playlist");
    expectPlaying();
    // The first tick of the new song shows its full length.
    ctl().Timer1_Timer();
    EXPECT_EQ(c().PosLabel->text(), "0:20");
}

TEST_F(PlayerPane, SongsAppendedWhilePlayingWaitBehindTheCurrentOne) {
    add(QStringLiteral("A"), 10.0);
    click(1);
    add(QStringLiteral("Later"), 15.0);
    EXPECT_EQ(main->playlist().head().displayName, "A");
    player.position = 10.0;
    ctl().Timer1_Timer();
    EXPECT_EQ(c().InfoLabel->text(), "Later");
    EXPECT_EQ(player.loaded, "/m/Later.mp3");
    expectPlaying();
}

TEST_F(PlayerPane, EndOfListByTheTimerShowsItsMessageOnceWithTheTimerOff) {
    add(QStringLiteral("A"), 10.0);
    add(QStringLiteral("B"), 12.0);
    click(1);
    BoxAnswerer answerer(c());
    player.position = 10.0;
    // The real Timer1 drives the rest: B ends as soon as it starts.
    ASSERT_TRUE(QTest::qWaitFor([&] { return c().InfoLabel->text() == "B"; }, 2000));
    player.position = 12.0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.boxes().empty(); }, 2000));
    QTest::qWait(300); // several more timer intervals: no second message
    ASSERT_EQ(answerer.boxes().size(), 1u);
    const SeenBox& box = answerer.boxes().front();
    EXPECT_EQ(box.text, "Playlist met songs bijvullen a.u.b.!");
    EXPECT_EQ(box.title, "Tunara");
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttonCount, 1);
    EXPECT_FALSE(box.timer1Active);
    EXPECT_EQ(count(), "0 Songs in de playlist");
    EXPECT_EQ(c().InfoLabel->text(), "B");
    EXPECT_EQ(player.calls.last(), "stop");
    expectIdle();
}

TEST_F(PlayerPane, AdvanceOntoASongThatCannotBeLoadedStopsAndKeepsIt) {
    add(QStringLiteral("A"), 10.0);
    addBroken(QStringLiteral("Kapot"));
    add(QStringLiteral("C"), 10.0);
    click(1);
    player.position = 10.0;
    {
        BoxAnswerer answerer(c());
        ctl().Timer1_Timer();
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes().front().text, "Kan 'Kapot' niet afspelen.");
        EXPECT_FALSE(answerer.boxes().front().timer1Active);
    }
    expectIdle();
    EXPECT_EQ(main->playlist().head().displayName, "Kapot");
    EXPECT_EQ(count(), "2 Songs in de playlist");
}

TEST_F(PlayerPane, AdvanceWhenTheNextSongWillNotPlayStops) {
    add(QStringLiteral("A"), 10.0);
    add(QStringLiteral("B"), 10.0);
    click(1);
    player.playFails = true;
    player.position = 10.0;
    {
        BoxAnswerer answerer(c());
        ctl().Timer1_Timer();
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes().front().text, "Kan 'B' niet afspelen.");
    }
    expectIdle();
    EXPECT_EQ(main->playlist().head().displayName, "B");
}

TEST_F(PlayerPane, ASongPausedRightAtItsEndMovesOnOnlyAfterResume) {
    add(QStringLiteral("A"), 10.0);
    add(QStringLiteral("B"), 10.0);
    click(1);
    player.position = 10.0;
    click(3);
    ctl().Timer1_Timer();
    ctl().Timer1_Timer();
    EXPECT_EQ(main->playlist().head().displayName, "A");
    expectPaused();
    click(3);
    player.position = 10.0;
    ctl().Timer1_Timer();
    EXPECT_EQ(main->playlist().head().displayName, "B");
    expectPlaying();
}

TEST_F(PlayerPane, TickWithAnUnreadablePlayerChangesNothing) {
    add(QStringLiteral("A"), 10.0);
    click(1);
    c().PosLabel->setText(QStringLiteral("0:07"));
    c().Slider1->setValue(3);
    c().Ballans->blockSignals(true);
    c().Ballans->setValue(100);
    c().Ballans->blockSignals(false);
    player.isLoaded = false;
    ctl().Timer1_Timer();
    EXPECT_EQ(c().PosLabel->text(), "0:07");
    EXPECT_EQ(c().Slider1->value(), 3);
    EXPECT_EQ(player.balance, 0);
    EXPECT_EQ(main->playlist().count(), 1);
    expectPlaying();
}

TEST_F(PlayerPane, VolumeFollowsTheSliderWhileDraggedAndAfterAnyChange) {
    EXPECT_EQ(c().Slider2->minimum(), 0);
    EXPECT_EQ(c().Slider2->maximum(), 2500);
    EXPECT_EQ(c().Slider2->singleStep(), 1);
    EXPECT_EQ(c().Slider2->pageStep(), 10);
    EXPECT_EQ(c().Slider2->toolTip(), " Volume ");
    const struct {
        int value;
        const char* label;
    } cases[] = {{1750, "7"}, {625, "2"}, {875, "4"}, {125, "0"}, {375, "2"}, {2500, "10"}, {0, "0"}};
    for (const auto& cs : cases) {
        c().Slider2->setValue(cs.value);
        EXPECT_EQ(c().VolumeLabel->text(), QString::fromLatin1(cs.label)) << cs.value;
        EXPECT_EQ(player.volume, cs.value - 2500) << cs.value;
    }
    // Dragging: the label follows while the knob is held down.
    c().Slider2->setSliderDown(true);
    c().Slider2->setSliderPosition(1000);
    EXPECT_EQ(c().VolumeLabel->text(), "4");
    EXPECT_EQ(player.volume, -1500);
    c().Slider2->setSliderDown(false);
    // Keyboard steps.
    c().Slider2->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(player.volume, -1490);
    c().Slider2->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(c().VolumeLabel->text(), "10");
    EXPECT_EQ(player.volume, 0);
}

TEST_F(PlayerPane, BalanceLabelFollowsTheSliderAndThePlayerGetsItAtOnce) {
    EXPECT_EQ(c().Ballans->minimum(), -5000);
    EXPECT_EQ(c().Ballans->maximum(), 5000);
    EXPECT_EQ(c().Ballans->toolTip(), " Balance ");
    const struct {
        int value;
        const char* label;
    } cases[] = {{-5000, "-10"}, {-1250, "-2"}, {5000, "10"}, {0, "0"}, {-250, "0"}};
    for (const auto& cs : cases) {
        c().Ballans->setValue(cs.value);
        EXPECT_EQ(c().Label12->text(), QString::fromLatin1(cs.label)) << cs.value;
        EXPECT_EQ(player.balance, cs.value);
    }
    c().Ballans->setSliderDown(true);
    c().Ballans->setSliderPosition(-2600);
    EXPECT_EQ(c().Label12->text(), "-5");
    c().Ballans->setSliderDown(false);
}

} // namespace

namespace {

class PlayerPaneSelection : public PlayerPane {};

} // namespace

TEST_F(PlayerPaneSelection, MovingOnNeverPicksTheNextSongForRemoval) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    add(QStringLiteral("Song A"), 100.0);
    add(QStringLiteral("Song B"), 100.0);
    add(QStringLiteral("Song C"), 100.0);
    // The user had clicked the head before starting.
    const QRect head = c().List2->visualRect(main->playlist().index(0, 0));
    QTest::mouseClick(c().List2->viewport(), Qt::LeftButton, {}, head.center());
    ASSERT_TRUE(c().List2->selectionModel()->isSelected(main->playlist().index(0, 0)));
    click(1);
    click(4);
    EXPECT_FALSE(c().List2->selectionModel()->hasSelection());
    // A later "Wis song" after Stop removes nothing the user did not choose.
    click(2);
    c().KnopR[1]->click();
    EXPECT_EQ(main->playlist().count(), 2);
}

TEST_F(PlayerPaneSelection, ASongNameIsShownAsTypedNotAsMarkup) {
    const QString name = QStringLiteral("<b>Loud</b> & <i>clear</i>");
    add(name, 100.0);
    click(1);
    QLabel* info = c().InfoLabel;
    EXPECT_EQ(info->text(), name);
    // Rendered as markup the label would need far less room than the typed text.
    EXPECT_GE(info->sizeHint().width(), info->fontMetrics().horizontalAdvance(name));
}
