#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>

// The player pane: the four player buttons (Knop 1 Start, 2 Stop, 3 Pauze/Resume, 4 Next), the
// position timer Timer1 that shows the remaining time and moves on to the next song, and the
// volume (Slider2) and balance (Ballans) sliders. Drives ProgramState's playback mode. Plays the playlist as
// a queue: the head (entry 0) is the song that plays, and it leaves the playlist when the player moves on.
//
// GUI thread only. The handlers may open a modal message box; Timer1 is always switched off
// before one opens, so no tick runs underneath it.
class PlayerController : public QObject {
    Q_OBJECT
public:
    // Connects the player buttons, Timer1 and the two sliders. The controls in `ctx` must exist
    // with their design; Main constructs controllers after the sliders hold their start values.
    PlayerController(const MainContext& ctx, QObject* parent = nullptr);

    // The end-of-list message of the Next button.
    static QString nextEndText() { return QStringLiteral("Playlist aanvullen met songs!"); }
    // The end-of-list message of the automatic advance.
    static QString advanceEndText() { return QStringLiteral("Playlist met songs bijvullen a.u.b.!"); }
    // The message when the song at the head cannot be loaded or played, with the player's reason
    // when it gives one.
    static QString cannotPlayText(const QString& displayName, const QString& reason);

public Q_SLOTS:
    // index 1 start, 2 stop, 3 pause/resume, 4 next; anything else does nothing.
    void Knop_Click(int index);
    // One tick of the 60 ms position timer.
    void Timer1_Timer();
    // Volume: runs on every change of Slider2's value, while dragging too.
    void Slider2_Change();
    // Balance: runs on every change of Ballans' value, while dragging too.
    void Ballans_Change();

private:
    enum class TakeResult { Playing, ListEmpty, Failed };

    void startHead();
    void stopPlayback();
    void pauseOrResume();
    void nextSong();
    // Drops the head and plays the next song; at the end of the list, or when the next song
    // cannot be played, runs the end-of-list steps (in the tick's order when `byTimer`).
    void moveOn(bool byTimer);
    // Drops the head and starts the new one (the shared steps of Next and of the advance).
    // On Failed the song that failed stays at the head.
    TakeResult dropHeadAndTakeNext();
    // Back to idle after a failure or the end of the list, in the order each caller needs;
    // `timerFirst` switches Timer1 off before the flag and the command buttons.
    void endPlayback(bool timerFirst);
    // The enabled states and the Pauze/Resume picture of every button that depends on the
    // playback mode; the one place that sets them.
    void applyButtonStates(PlaybackState::Mode mode);
    void setTimer1(bool on);
    void showMessage(const QString& text);

    MainContext m_ctx;
};
