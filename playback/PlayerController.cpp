#include "playback/PlayerController.h"

#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"
#include "playback/MediaPlayer.h"
#include "playback/TimeFormat.h"
#include "playlist/PlaylistModel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>

PlayerController::PlayerController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    MainControls& c = m_ctx.c;

    // The sliders' ranges and steps are their design (Main). Tracking makes valueChanged fire
    // while a knob is dragged, so one notification serves both dragging and any other change.
    c.Slider2->setTracking(true);
    c.Ballans->setTracking(true);

    for (int i = 1; i <= 4; ++i) {
        connect(c.Knop[i], &QAbstractButton::clicked, this, [this, i] { Knop_Click(i); });
    }
    connect(c.Timer1, &QTimer::timeout, this, &PlayerController::Timer1_Timer);
    connect(c.Slider2, &QSlider::valueChanged, this, &PlayerController::Slider2_Change);
    connect(c.Ballans, &QSlider::valueChanged, this, &PlayerController::Ballans_Change);
}

QString PlayerController::cannotPlayText(const QString& displayName) {
    return QStringLiteral("Kan '%1' niet afspelen.").arg(displayName);
}

void PlayerController::Knop_Click(int index) {
    if (m_ctx.playlist.isEmpty()) {
        return;
    }
    switch (index) {
    case 1:
        startHead();
        break;
    case 2:
        stopPlayback();
        break;
    case 3:
        pauseOrResume();
        break;
    case 4:
        nextSong();
        break;
    default:
        break;
    }
}

void PlayerController::startHead() {
    MainControls& c = m_ctx.c;
    MediaPlayer& player = m_ctx.player;
    const PlaylistEntry head = m_ctx.playlist.head();

    if (!player.setFileName(head.fullPath)) {
        // Nothing is loaded now (a song that played before has stopped): back to idle, and say
        // which song is the trouble so the user can remove it. The head stays.
        player.stop();
        endPlayback(true);
        showMessage(cannotPlayText(head.displayName));
        return;
    }
    c.InfoLabel->setText(head.displayName);

    // From here on a step that fails is skipped, except that a song which will not play must not
    // leave the program claiming that it plays.
    if (const auto d = player.duration()) {
        c.Slider1->setMaximum(wholeSeconds(*d));
    }
    setTimer1(true);
    setCommandButtonsEnabled(false);
    if (!player.play()) {
        player.stop();
        endPlayback(true);
        showMessage(cannotPlayText(head.displayName));
        return;
    }
    m_ctx.state.playing = true;
}

void PlayerController::stopPlayback() {
    m_ctx.player.stop();
    setCommandButtonsEnabled(true);
    m_ctx.state.playing = false;
    setTimer1(false);
}

void PlayerController::pauseOrResume() {
    MainControls& c = m_ctx.c;
    MediaPlayer& player = m_ctx.player;
    if (!player.isReady()) {
        return;
    }
    if (m_ctx.state.paused) {
        c.Knop[1]->setEnabled(true);
        c.Knop[2]->setEnabled(true);
        c.Knop[4]->setEnabled(true);
        player.play();
        c.Knop[3]->setIcon(Plaatjes::Img(0));
        m_ctx.state.paused = false;
    } else {
        c.Knop[1]->setEnabled(false);
        c.Knop[2]->setEnabled(false);
        c.Knop[4]->setEnabled(false);
        player.pause();
        c.Knop[3]->setIcon(Plaatjes::Img(1));
        m_ctx.state.paused = true;
    }
}

void PlayerController::nextSong() {
    if (!m_ctx.state.playing) {
        return;
    }
    moveOn(false);
}

PlayerController::TakeResult PlayerController::dropHeadAndTakeNext() {
    MainControls& c = m_ctx.c;
    MediaPlayer& player = m_ctx.player;
    PlaylistModel& playlist = m_ctx.playlist;

    // A single-selection list moves its cursor, and with it the selection, onto the next entry
    // when the entry under the cursor leaves; playback must not pick a song for "Wis song".
    QItemSelectionModel* selection = c.List2->selectionModel();
    const bool headTouched =
        selection->currentIndex().row() == 0 || selection->isSelected(playlist.index(0, 0));
    playlist.dropHead();
    if (headTouched) {
        selection->clear();
    }
    if (playlist.isEmpty()) {
        return TakeResult::ListEmpty;
    }
    const PlaylistEntry& head = playlist.head();
    if (!player.setFileName(head.fullPath)) {
        return TakeResult::Failed;
    }
    c.InfoLabel->setText(head.displayName);
    const auto d = player.duration();
    if (!d) {
        return TakeResult::Failed;
    }
    c.Slider1->setMaximum(wholeSeconds(*d));
    c.PosLabel->setText(newSongPositionText());
    playlist.refreshCount();
    if (!player.play()) {
        return TakeResult::Failed;
    }
    return TakeResult::Playing;
}

void PlayerController::Timer1_Timer() {
    MainControls& c = m_ctx.c;
    MediaPlayer& player = m_ctx.player;

    // With nothing readable (no file loaded) the displays keep what they show.
    const auto d = player.duration();
    const auto p = player.currentPosition();
    if (!d || !p) {
        return;
    }
    c.PosLabel->setText(positionText(*d, *p));

    const auto p2 = player.currentPosition();
    if (!p2) {
        return;
    }
    c.Slider1->setValue(wholeSeconds(*p2));

    // Every tick, so a balance chosen before playback or kept across songs reaches the player.
    player.setBalance(c.Ballans->value());

    const auto d3 = player.duration();
    const auto p3 = player.currentPosition();
    // The player reports the very same double for both once the last frame has played.
    if (!d3 || !p3 || *d3 != *p3) {
        return;
    }
    // A song paused right on its end moves on only after Resume: moving on while paused would
    // start the next song behind a Resume picture and disabled buttons.
    if (m_ctx.state.paused) {
        return;
    }
    moveOn(true);
}

void PlayerController::moveOn(bool byTimer) {
    const TakeResult r = dropHeadAndTakeNext();
    if (r == TakeResult::Playing) {
        return;
    }
    m_ctx.player.stop();
    // The tick switches Timer1 off first, so no tick runs while its message is open; the Next
    // button keeps its own order of the same steps.
    endPlayback(byTimer);
    m_ctx.playlist.refreshCount();
    if (r == TakeResult::ListEmpty) {
        showMessage(byTimer ? advanceEndText() : nextEndText());
    } else {
        showMessage(cannotPlayText(m_ctx.playlist.head().displayName));
    }
}

void PlayerController::endPlayback(bool timerFirst) {
    if (timerFirst) {
        setTimer1(false);
        m_ctx.state.playing = false;
        setCommandButtonsEnabled(true);
    } else {
        setCommandButtonsEnabled(true);
        m_ctx.state.playing = false;
        setTimer1(false);
    }
}

void PlayerController::Slider2_Change() {
    const int v = m_ctx.c.Slider2->value();
    m_ctx.player.setVolume(playerVolume(v));
    m_ctx.c.VolumeLabel->setText(volumeText(m_ctx.c.Slider2->value()));
}

void PlayerController::Ballans_Change() {
    const int b = m_ctx.c.Ballans->value();
    m_ctx.player.setBalance(b);
    m_ctx.c.Label12->setText(balanceText(m_ctx.c.Ballans->value()));
}

void PlayerController::setCommandButtonsEnabled(bool enabled) {
    for (int i = 5; i <= 7; ++i) {
        m_ctx.c.KnopBottom[i]->setEnabled(enabled);
    }
}

void PlayerController::setTimer1(bool on) {
    QTimer* t = m_ctx.c.Timer1;
    if (on && !t->isActive()) {
        t->start();
    } else if (!on) {
        t->stop();
    }
}

void PlayerController::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, messageTitle(), text, QMessageBox::Ok, m_ctx.c.Main);
    box.setTextFormat(Qt::PlainText); // song names are shown as typed
    box.exec();
}
