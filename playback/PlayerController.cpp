#include "playback/PlayerController.h"

#include "playback/MediaPlayer.h"
#include "playback/TimeFormat.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"

#include "widgets/MessageKit.h"
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
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
    connect(&m_ctx.state.playback, &PlaybackState::changed, this, &PlayerController::applyButtonStates);
    applyButtonStates(m_ctx.state.playback.mode());
}

void PlayerController::applyButtonStates(PlaybackState::Mode mode) {
    MainControls& c = m_ctx.c;
    const PlaybackButtons b = common::playbackButtons(mode);
    c.Knop[1]->setEnabled(b.start);
    c.Knop[2]->setEnabled(b.stop);
    c.Knop[3]->setEnabled(b.pauseResume);
    c.Knop[4]->setEnabled(b.next);
    c.Knop[3]->setIcon(Plaatjes::Img(b.resumePicture ? 1 : 0));
    // Its name is the word on its picture.
    c.Knop[3]->setAccessibleName(b.resumePicture ? QStringLiteral("Resume") : QStringLiteral("Pauze"));
    for (int i = 1; i <= 2; ++i) {
        c.KnopR[i]->setEnabled(b.playlistEdit);
        c.KnopL[i]->setEnabled(b.songInfo);
    }
    for (int i = 5; i <= 7; ++i) {
        c.KnopBottom[i]->setEnabled(b.printSaveLoad);
    }
}

QString PlayerController::cannotPlayText(const QString& displayName, const QString& reason) {
    if (reason.isEmpty()) {
        return QStringLiteral("Kan '%1' niet afspelen.").arg(displayName);
    }
    return QStringLiteral("Kan '%1' niet afspelen: %2.").arg(displayName, reason);
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
        const QString reason = player.failureReason();
        player.stop();
        endPlayback(true);
        showMessage(cannotPlayText(head.displayName, reason));
        return;
    }
    c.InfoLabel->setText(head.displayName);

    // From here on a step that fails is skipped, except that a song which will not play must not
    // leave the program claiming that it plays.
    if (const auto d = player.duration()) {
        c.Slider1->setMaximum(playback::wholeSeconds(*d));
    }
    setTimer1(true);
    if (!player.play()) {
        const QString reason = player.failureReason();
        player.stop();
        endPlayback(true);
        showMessage(cannotPlayText(head.displayName, reason));
        return;
    }
    m_ctx.state.playback.setMode(PlaybackState::Mode::Playing);
}

void PlayerController::stopPlayback() {
    m_ctx.player.stop();
    m_ctx.state.playback.setMode(PlaybackState::Mode::Idle);
    setTimer1(false);
}

void PlayerController::pauseOrResume() {
    MediaPlayer& player = m_ctx.player;
    if (!player.isReady()) {
        return;
    }
    PlaybackState& playback = m_ctx.state.playback;
    if (playback.isPaused()) {
        player.play();
        playback.setMode(PlaybackState::Mode::Playing);
    } else {
        player.pause();
        playback.setMode(PlaybackState::Mode::Paused);
    }
}

void PlayerController::nextSong() {
    if (!m_ctx.state.playback.isPlaying()) {
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
    c.Slider1->setMaximum(playback::wholeSeconds(*d));
    c.PosLabel->setText(playback::newSongPositionText());
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
    c.PosLabel->setText(playback::positionText(*d, *p));

    const auto p2 = player.currentPosition();
    if (!p2) {
        return;
    }
    c.Slider1->setValue(playback::wholeSeconds(*p2));

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
    if (m_ctx.state.playback.isPaused()) {
        return;
    }
    moveOn(true);
}

void PlayerController::moveOn(bool byTimer) {
    const TakeResult r = dropHeadAndTakeNext();
    if (r == TakeResult::Playing) {
        return;
    }
    const QString reason = r == TakeResult::Failed ? m_ctx.player.failureReason() : QString();
    m_ctx.player.stop();
    // The tick switches Timer1 off first, so no tick runs while its message is open; the Next
    // button keeps its own order of the same steps.
    endPlayback(byTimer);
    m_ctx.playlist.refreshCount();
    if (r == TakeResult::ListEmpty) {
        showMessage(byTimer ? advanceEndText() : nextEndText());
    } else {
        showMessage(cannotPlayText(m_ctx.playlist.head().displayName, reason));
    }
}

void PlayerController::endPlayback(bool timerFirst) {
    if (timerFirst) {
        setTimer1(false);
        m_ctx.state.playback.setMode(PlaybackState::Mode::Idle);
    } else {
        m_ctx.state.playback.setMode(PlaybackState::Mode::Idle);
        setTimer1(false);
    }
}

void PlayerController::Slider2_Change() {
    const int v = m_ctx.c.Slider2->value();
    m_ctx.player.setVolume(playback::playerVolume(v));
    m_ctx.c.VolumeLabel->setText(playback::volumeText(m_ctx.c.Slider2->value()));
}

void PlayerController::Ballans_Change() {
    const int b = m_ctx.c.Ballans->value();
    m_ctx.player.setBalance(b);
    m_ctx.c.Label12->setText(playback::balanceText(m_ctx.c.Ballans->value()));
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
    widgets::inform(m_ctx.c.Main, text);
}
