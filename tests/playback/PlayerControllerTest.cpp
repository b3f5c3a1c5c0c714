// The player pane's handlers against the scripted player.

#include "PlaybackTestSupport.h"

#include "playback/PlayerController.h"
#include "playlist/PlaylistModel.h"
#include "support/FakePlayer.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace playbacktest;

namespace {

class PlayerPane : public ::testing::Test {
protected:
    void SetUp() override { main = std::make_unique<Main>(dir.path(), player); }

    const MainControls& c() const { return main->controls(); }
    // Appends "name" as /m/name.mp3; a negative length makes a file that cannot be loaded.
    void add(const QString& name, double seconds = 100.0) {
        const QString path = "/m/" + name + ".mp3";
        if (seconds >= 0) {
            player.durations[path] = seconds;
        }
        main->playlist().append(name, path);
        main->playlist().refreshCount();
    }
    void click(int knop) { c().Knop[knop]->click(); }
    void tick() { main->playerController().Timer1_Timer(); }
    QString head() const { return main->playlist().head().displayName; }
    QString count() const { return c().Label10->text(); }
    QStringList loadAndPlay(const QString& name) const { return {"setFileName /m/" + name + ".mp3", "play"}; }

    // The state table: flags, Timer1, the player buttons and the command buttons.
    void expectState(bool playing, bool paused) {
        EXPECT_EQ(main->state().playing, playing);
        EXPECT_EQ(main->state().paused, paused);
        EXPECT_EQ(c().Timer1->isActive(), playing);
        EXPECT_EQ(playerButtons(c()), paused ? "0010" : "1111");
        EXPECT_EQ(commandButtons(c()), playing ? "000" : "111");
        EXPECT_TRUE(showsPicture(c().Knop[3], paused ? 1 : 0));
    }

    QTemporaryDir dir;
    FakePlayer player;
    std::unique_ptr<Main> main;
};

TEST_F(PlayerPane, ButtonsDoNothingWithoutASongUnderWay) {
    player.calls.clear();
    for (int i = 1; i <= 4; ++i) {
        click(i); // empty playlist
    }
    add("A");
    add("B");
    click(3); // nothing loaded
    click(4);
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join('|').toStdString();
    click(1);
    click(2);
    player.calls.clear();
    click(3); // after Stop: resuming would play behind an idle window
    click(4);
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join('|').toStdString();
    EXPECT_EQ(main->playlist().count(), 2);
    expectState(false, false);
}

TEST_F(PlayerPane, StartPlaysTheHeadAndStopKeepsTheDisplays) {
    add("Song A", 187.2);
    add("Song B");
    c().PosLabel->setText("1:23");
    player.calls.clear();
    click(1);
    EXPECT_EQ(player.calls, loadAndPlay("Song A"));
    EXPECT_EQ(c().InfoLabel->text(), "Song A");
    EXPECT_EQ(c().Slider1->maximum(), 187);
    EXPECT_EQ(c().PosLabel->text(), "1:23"); // left for the first tick
    EXPECT_EQ(count(), "2 Songs in de playlist");
    expectState(true, false);

    player.position = 60.0;
    tick();
    player.calls.clear();
    click(2);
    EXPECT_EQ(player.calls, QStringList{"stop"});
    expectState(false, false);
    EXPECT_EQ(c().InfoLabel->text(), "Song A");
    EXPECT_EQ(c().PosLabel->text(), "2:07");
    EXPECT_EQ(c().Slider1->value(), 60);

    player.calls.clear();
    click(1); // the head again, from its beginning
    EXPECT_EQ(player.calls, loadAndPlay("Song A"));
    EXPECT_EQ(player.position, 0.0);
    expectState(true, false);
}

TEST_F(PlayerPane, WhilePausedOnlyThePauseButtonReactsAndTheEndWaitsForResume) {
    add("A", 10.0);
    add("B");
    click(1);
    player.position = 10.0;
    player.calls.clear();
    click(3);
    EXPECT_EQ(player.calls, QStringList{"pause"});
    expectState(true, true);

    player.calls.clear();
    for (int i : {1, 2, 4}) {
        QTest::mouseClick(c().Knop[i], Qt::LeftButton);
    }
    tick();
    tick();
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join('|').toStdString();
    EXPECT_EQ(head(), "A");
    expectState(true, true);

    click(3);
    EXPECT_EQ(player.calls, QStringList{"play"});
    EXPECT_EQ(player.position, 10.0); // resumed, not restarted
    expectState(true, false);
    tick();
    EXPECT_EQ(head(), "B");
}

TEST_F(PlayerPane, NextPlaysTheFollowingSongAndEndsTheListWithItsOwnMessage) {
    add("Song A");
    add("Song B", 59.5);
    click(1);
    player.position = 42.0;
    tick();
    player.calls.clear();
    click(4);
    EXPECT_EQ(player.calls, loadAndPlay("Song B"));
    EXPECT_EQ(c().InfoLabel->text(), "Song B");
    EXPECT_EQ(c().Slider1->maximum(), 60);
    EXPECT_EQ(c().PosLabel->text(), "00:00");
    EXPECT_EQ(count(), "1 Songs in de playlist");
    expectState(true, false);

    player.calls.clear();
    BoxAnswerer answerer(c());
    click(4);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, "Playlist aanvullen met songs!");
    EXPECT_TRUE(answerer.boxes()[0].plainOk);
    EXPECT_FALSE(answerer.boxes()[0].timer1Active);
    EXPECT_EQ(player.calls, QStringList{"stop"});
    EXPECT_EQ(count(), "0 Songs in de playlist");
    EXPECT_EQ(c().InfoLabel->text(), "Song B");
    expectState(false, false);
}

TEST_F(PlayerPane, ASongThatWillNotPlayStopsEverythingNamesItAndStaysAtTheHead) {
    // How the song is reached (Start, Next, the tick's advance), whether it fails to load or to play.
    const struct {
        int via; // 1 Start, 4 Next, 0 the tick at the end of the first song
        bool playFails;
        const char* songs;
        const char* culprit;
        const char* count;
    } cases[] = {{1, false, "Kapot B", "Kapot", "2"},
                 {1, true, "A", "A", "1"},
                 {4, false, "A Kapot C", "Kapot", "2"},
                 {0, false, "A Kapot C", "Kapot", "2"},
                 {0, true, "A B", "B", "1"}};
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.songs);
        main.reset();
        player.durations.clear();
        player.playFails = false;
        main = std::make_unique<Main>(dir.path(), player);
        for (const QString& name : QString(cs.songs).split(' ')) {
            add(name, name == "Kapot" ? -1 : 10.0);
        }
        if (cs.via != 1) {
            click(1);
        }
        player.playFails = cs.playFails;
        player.position = 10.0;
        BoxAnswerer answerer(c());
        cs.via == 0 ? tick() : click(cs.via);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes()[0].text, QString("Kan '%1' niet afspelen.").arg(cs.culprit));
        EXPECT_FALSE(answerer.boxes()[0].timer1Active);
        expectState(false, false);
        EXPECT_EQ(head(), cs.culprit);
        EXPECT_EQ(count(), QString(cs.count) + " Songs in de playlist");
    }
}

TEST_F(PlayerPane, TickShowsTheRemainingTimeSendsTheBalanceAndSkipsWhatItCannotRead) {
    add("A", 187.2);
    click(1);
    const struct {
        double position;
        const char* text;
        int slider;
    } cases[] = {
        {0.0, "3:07", 0}, {2.5, "3:05", 2}, {3.5, "3:03", 4}, {127.6, "0:59", 128}, {187.0, "0:00", 187}};
    for (const auto& cs : cases) {
        player.position = cs.position;
        tick();
        EXPECT_EQ(c().PosLabel->text(), cs.text) << cs.position;
        EXPECT_EQ(c().Slider1->value(), cs.slider) << cs.position;
    }
    // Every tick sends the balance, even one set without the slider's handler.
    c().Ballans->blockSignals(true);
    c().Ballans->setValue(-3210);
    c().Ballans->blockSignals(false);
    tick();
    EXPECT_EQ(player.balance, -3210);

    // A player that cannot be read leaves every display and the balance alone.
    c().Ballans->blockSignals(true);
    c().Ballans->setValue(100);
    c().Ballans->blockSignals(false);
    player.isLoaded = false;
    tick();
    EXPECT_EQ(c().PosLabel->text(), "0:00");
    EXPECT_EQ(c().Slider1->value(), 187);
    EXPECT_EQ(player.balance, -3210);
    expectState(true, false);
}

TEST_F(PlayerPane, StartSkipsAnUnreadableDuration) {
    class NoDuration : public FakePlayer {
        std::optional<double> duration() const override { return std::nullopt; }
    } p;
    p.loadAll = true;
    Main m(dir.path(), p);
    m.playlist().append("X", "/x.mp3");
    m.controls().Slider1->setMaximum(17);
    m.controls().Knop[1]->click();
    EXPECT_TRUE(m.state().playing);
    EXPECT_EQ(m.controls().Slider1->maximum(), 17);
    EXPECT_EQ(p.calls.last(), "play");
}

TEST_F(PlayerPane, TheTickMovesOnAtExactlyTheEndAndEndsTheListOnce) {
    add("A", 10.0);
    add("B", 20.4);
    click(1);
    player.position = 9.999999999;
    tick();
    EXPECT_EQ(head(), "A");

    player.position = 10.0;
    player.calls.clear();
    tick();
    EXPECT_EQ(player.calls, loadAndPlay("B"));
    EXPECT_EQ(c().InfoLabel->text(), "B");
    EXPECT_EQ(c().Slider1->maximum(), 20);
    EXPECT_EQ(c().PosLabel->text(), "00:00");
    EXPECT_EQ(count(), "1 Songs in de playlist");
    expectState(true, false);
    tick();
    EXPECT_EQ(c().PosLabel->text(), "0:20");

    // The real Timer1 runs on: one message, with the timer already off.
    BoxAnswerer answerer(c());
    player.position = 20.4;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.boxes().empty(); }, 2000));
    QTest::qWait(300);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, "Playlist met songs bijvullen a.u.b.!");
    EXPECT_TRUE(answerer.boxes()[0].plainOk);
    EXPECT_FALSE(answerer.boxes()[0].timer1Active);
    EXPECT_EQ(count(), "0 Songs in de playlist");
    EXPECT_EQ(c().InfoLabel->text(), "B");
    EXPECT_EQ(player.calls.last(), "stop");
    expectState(false, false);
}

TEST_F(PlayerPane, VolumeAndBalanceFollowTheirSlidersWhileDraggedAndAfterAnyChange) {
    c().Slider2->setValue(625);
    EXPECT_EQ(c().VolumeLabel->text(), "2");
    EXPECT_EQ(player.volume, -1875);
    c().Slider2->setSliderDown(true);
    c().Slider2->setSliderPosition(1000);
    EXPECT_EQ(c().VolumeLabel->text(), "4");
    EXPECT_EQ(player.volume, -1500);
    c().Slider2->setSliderDown(false);
    c().Slider2->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(player.volume, 0);

    c().Ballans->setValue(-1250);
    EXPECT_EQ(c().Label12->text(), "-2");
    EXPECT_EQ(player.balance, -1250);
    c().Ballans->setSliderDown(true);
    c().Ballans->setSliderPosition(-5000);
    EXPECT_EQ(c().Label12->text(), "-10");
    EXPECT_EQ(player.balance, -5000);
}

TEST_F(PlayerPane, MovingOnNeverPicksTheNextSongForRemoval) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    add("Song A");
    add("Song B");
    add("Song C");
    const QRect first = c().List2->visualRect(main->playlist().index(0, 0));
    QTest::mouseClick(c().List2->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_TRUE(c().List2->selectionModel()->isSelected(main->playlist().index(0, 0)));
    click(1);
    click(4);
    EXPECT_FALSE(c().List2->selectionModel()->hasSelection());
    click(2);
    c().KnopR[1]->click(); // "Wis song" removes nothing the user did not choose
    EXPECT_EQ(main->playlist().count(), 2);
}

TEST_F(PlayerPane, ASongNameIsShownAsTypedNotAsMarkup) {
    const QString name = "<b>Loud</b> & <i>clear</i>";
    add(name);
    click(1);
    EXPECT_EQ(c().InfoLabel->text(), name);
    // Rendered as markup the label would need far less room than the typed text.
    EXPECT_GE(c().InfoLabel->sizeHint().width(), c().InfoLabel->fontMetrics().horizontalAdvance(name));
}

} // namespace
