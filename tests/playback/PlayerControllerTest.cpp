// The player pane's handlers against the scripted m_player.

#include "PlaybackTestSupport.h"

#include "playback/PlayerController.h"
#include "widgets/Plaatjes.h"

#include <QItemSelectionModel>

#include <tuple>

using namespace playbacktest;

namespace {

class PlayerPane : public testsupport::MainWindowTest {
protected:
    // Appends "name" as /m/name.mp3; "Kapot" cannot be loaded.
    void add(const QString& name, double seconds = 100.0) {
        if (name != "Kapot") {
            m_player.durations["/m/" + name + ".mp3"] = seconds;
        }
        playlist().append(name, "/m/" + name + ".mp3");
        playlist().refreshCount();
    }
    void click(int knop) { c().Knop[knop]->click(); }
    void tick() { m_main->playerController().Timer1_Timer(); }
    QString head() const { return playlist().head().displayName; }
    QString count() const { return c().Label10->text(); }

    // The state table, 'i' idle, 'p' playing, 'P' paused: flags, Timer1, buttons, pause picture.
    void expectState(char s) {
        EXPECT_EQ(m_main->state().playback.isPlaying(), s != 'i');
        EXPECT_EQ(m_main->state().playback.isPaused(), s == 'P');
        EXPECT_EQ(c().Timer1->isActive(), s != 'i');
        EXPECT_EQ(enabled(c().Knop, 1, 4), s == 'P' ? "0010" : "1111");
        EXPECT_EQ(enabled(c().KnopBottom, 5, 7), s == 'i' ? "111" : "000");
        EXPECT_EQ(c().Knop[3]->icon().pixmap(80, 28).toImage(),
                  Plaatjes::Img(s == 'P' ? 1 : 0).pixmap(80, 28).toImage());
    }
};

TEST_F(PlayerPane, ButtonsFollowTheStateTable) {
    m_player.calls.clear();
    for (int i = 1; i <= 4; ++i) {
        click(i); // empty playlist
    }
    EXPECT_TRUE(m_player.calls.isEmpty());
    for (const char* name : {"A", "B", "C"}) {
        add(name);
    }
    BoxAnswerer answerer(c());
    // The button clicked; the player's calls, the state, the song shown and the songs left after it.
    // Pause and Next with nothing under way (as after Stop) do nothing.
    const std::tuple<int, const char*, char, const char*, int> script[] = {
        {1, "setFileName /m/A.mp3|play", 'p', "A", 3},
        {1, "setFileName /m/A.mp3|play", 'p', "A", 3},
        {3, "pause", 'P', "A", 3},
        {1, "", 'P', "A", 3},
        {2, "", 'P', "A", 3},
        {4, "", 'P', "A", 3},
        {3, "play", 'p', "A", 3},
        {4, "setFileName /m/B.mp3|play", 'p', "B", 2},
        {2, "stop", 'i', "B", 2},
        {3, "", 'i', "B", 2},
        {4, "", 'i', "B", 2},
        {1, "setFileName /m/B.mp3|play", 'p', "B", 2},
        {4, "setFileName /m/C.mp3|play", 'p', "C", 1},
        {4, "stop", 'i', "C", 0}};
    for (const auto& row : script) {
        SCOPED_TRACE(&row - script);
        const auto& [knop, calls, state, info, left] = row;
        m_player.calls.clear();
        click(knop);
        EXPECT_EQ(QStringList({m_player.calls.join('|'), c().InfoLabel->text(), count()}),
                  QStringList({calls, info, QString::number(left) + " Songs in de playlist"}));
        expectState(state);
    }
    expectOneBox(answerer, "Playlist aanvullen met songs!");
}

TEST_F(PlayerPane, TheTickShowsTheTimeSendsTheBalanceAndMovesOnAtExactlyTheEnd) {
    add("A", 187.2);
    add("B", 20.4);
    c().PosLabel->setText("1:23");
    click(1);
    // The position is left for the first tick.
    EXPECT_EQ(std::pair(c().Slider1->maximum(), c().PosLabel->text()), std::pair(187, QString("1:23")));
    const std::tuple<double, const char*, int> cases[] = {
        {0.0, "3:07", 0}, {2.5, "3:05", 2}, {3.5, "3:03", 4}, {127.6, "0:59", 128}, {187.19999, "0:00", 187}};
    for (const auto& [position, text, slider] : cases) {
        m_player.position = position;
        tick();
        EXPECT_EQ(std::pair(c().PosLabel->text(), c().Slider1->value()), std::pair(QString(text), slider))
            << position;
    }
    m_player.position = 187.2;
    click(3); // paused right at the end: moves on only after Resume
    tick();
    EXPECT_EQ(head(), "A");
    click(3);
    const QSignalBlocker quiet(c().Ballans); // a balance the slider's handler never sent
    c().Ballans->setValue(-3210);
    m_player.calls.clear();
    tick();
    EXPECT_EQ(m_player.balance, -3210);
    // The calls, the song shown, its length, the position shown, the songs left.
    EXPECT_EQ(QStringList({m_player.calls.join('|'), c().InfoLabel->text(),
                           QString::number(c().Slider1->maximum()), c().PosLabel->text(), count()}),
              QStringList({"setFileName /m/B.mp3|play", "B", "20", "00:00", "1 Songs in de playlist"}));
    expectState('p');

    m_player.isLoaded = false; // a player that cannot be read: every display stays
    tick();
    EXPECT_EQ(c().PosLabel->text(), "00:00");
    m_player.isLoaded = true;
    BoxAnswerer answerer(c());
    m_player.position = 20.4;
    tick();
    expectOneBox(answerer, "Playlist met songs bijvullen a.u.b.!");
    EXPECT_EQ(QStringList({count(), c().InfoLabel->text(), m_player.calls.last()}),
              QStringList({"0 Songs in de playlist", "B", "stop"}));
    expectState('i');
}

TEST_F(PlayerPane, ASongThatWillNotPlayStopsEverythingNamesItAndStaysAtTheHead) {
    // Reached by Start (1), Next (4) or the tick at the end of the first song (0); the load or the
    // start fails; the playlist; the song named; the songs left.
    const std::tuple<int, bool, const char*, const char*, int> cases[] = {
        {1, false, "Kapot B", "Kapot", 2},   {1, true, "A", "A", 1},   {4, false, "A Kapot C", "Kapot", 2},
        {0, false, "A Kapot C", "Kapot", 2}, {0, true, "A B", "B", 1},
    };
    for (const auto& [via, playFails, songs, culprit, left] : cases) {
        SCOPED_TRACE(songs);
        startMain();
        m_player.playFails = false;
        for (const QString& name : QString(songs).split(' ')) {
            add(name, 10.0);
        }
        if (via != 1) {
            click(1);
        }
        m_player.playFails = playFails;
        m_player.reason = playFails ? QString() : QStringLiteral("geen MIDI-bestand");
        m_player.position = 10.0;
        BoxAnswerer answerer(c());
        via == 0 ? tick() : click(via);
        expectOneBox(answerer, playFails
                                   ? QString("Kan '%1' niet afspelen.").arg(culprit)
                                   : QString("Kan '%1' niet afspelen: geen MIDI-bestand.").arg(culprit));
        expectState('i');
        EXPECT_EQ(QStringList({head(), count()}),
                  QStringList({culprit, QString::number(left) + " Songs in de playlist"}));
    }
}

TEST_F(PlayerPane, StartSkipsAnUnreadableDuration) {
    class NoDuration : public FakePlayer {
        std::optional<double> duration() const override { return std::nullopt; }
    } p;
    p.loadAll = true;
    Main m(folder(), p);
    m.playlist().append("X", "/x.mp3");
    m.controls().Slider1->setMaximum(17);
    m.controls().Knop[1]->click();
    EXPECT_EQ(std::tuple(m.state().playback.isPlaying(), m.controls().Slider1->maximum(), p.calls.last()),
              std::tuple(true, 17, QString("play")));
}

TEST_F(PlayerPane, VolumeAndBalanceFollowTheirSlidersWhileDragged) {
    c().Slider2->setSliderDown(true);
    c().Slider2->setSliderPosition(625);
    c().Ballans->setSliderDown(true);
    c().Ballans->setSliderPosition(-1250);
    EXPECT_EQ(std::tuple(c().VolumeLabel->text(), m_player.volume, c().Label12->text(), m_player.balance),
              std::tuple(QString("2"), -1875, QString("-2"), -1250));
}

TEST_F(PlayerPane, MovingOnNeverPicksTheNextSongForRemoval) {
    add("Song A");
    add("Song B");
    add("Song C");
    const QRect first = c().List2->visualRect(playlist().index(0, 0));
    QTest::mouseClick(c().List2->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_TRUE(c().List2->selectionModel()->isSelected(playlist().index(0, 0)));
    click(1);
    click(4);
    EXPECT_FALSE(c().List2->selectionModel()->hasSelection());
    click(2);
    c().KnopR[1]->click(); // "Wis song" removes nothing the user did not choose
    EXPECT_EQ(playlist().count(), 2);
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
