#pragma once

#include <QObject>

// Whether a song plays, is paused or nothing plays; owned by ProgramState. The playing flag of
// the program ("a song is under way") is isPlaying(), which stays true while paused. GUI thread
// only; `changed` fires after every real change, never for a set to the same mode.
class PlaybackState : public QObject {
    Q_OBJECT
public:
    enum class Mode { Idle, Playing, Paused };
    Q_ENUM(Mode)

    Mode mode() const { return m_mode; }
    bool isPlaying() const { return m_mode != Mode::Idle; }
    bool isPaused() const { return m_mode == Mode::Paused; }

    void setMode(Mode mode);

Q_SIGNALS:
    void changed(PlaybackState::Mode mode);

private:
    Mode m_mode = Mode::Idle;
};

// Which buttons can be used in each playback mode. Every enabled state that depends on playback
// comes from this one table. The playlist edit buttons (KnopR) and the song information buttons
// (KnopL) stay enabled while a song plays but do nothing then (their handlers ask isPlaying()).
struct PlaybackButtons {
    bool start;         // Knop 1
    bool stop;          // Knop 2
    bool pauseResume;   // Knop 3
    bool next;          // Knop 4
    bool resumePicture; // Knop 3 shows "Resume" instead of "Pauze"
    bool playlistEdit;  // KnopR 1, 2
    bool songInfo;      // KnopL 1, 2
    bool printSaveLoad; // KnopBottom 5, 6, 7
};

namespace common {

constexpr PlaybackButtons playbackButtons(PlaybackState::Mode mode) {
    switch (mode) {
    case PlaybackState::Mode::Playing:
        return {true, true, true, true, false, true, true, false};
    case PlaybackState::Mode::Paused:
        return {false, false, true, false, true, true, true, false};
    case PlaybackState::Mode::Idle:
        break;
    }
    return {true, true, true, true, false, true, true, true};
}

} // namespace common
