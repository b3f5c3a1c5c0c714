#pragma once

#include "common/MainControls.h"
#include "common/ProgramState.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

class MediaPlayer;
class PlaylistModel;
class Browser;
class PlaylistController;
class PrintController;
class PlayerController;
class SongInfoController;
class SearchController;
class AppearanceController;
class CommandBar;

// The main window. Constructing it runs the whole start-up (Form_Load): layout, help text,
// defaults, the settings file, colours, logo and advertisement text. The window is not shown.
// GUI thread only.
class Main : public QWidget {
    Q_OBJECT
public:
    // `programFolder` holds Tunara.ini and Playlist/ (falls back to the per-user data folder when
    // it cannot be written). `player` must outlive the window.
    Main(const QString& programFolder, MediaPlayer& player, QWidget* parent = nullptr);
    ~Main() override;

    const MainControls& controls() const { return m_c; }
    ProgramState& state() { return m_state; }
    PlaylistModel& playlist() { return *m_playlist; }
    MediaPlayer& player() { return m_player; }

    // Puts `text`, unchanged, into the info line.
    void SetInfoLine(const QString& text);
    // Sets the twelve colours of the four panes from the settings.
    void ApplyColours();

    // The help screen's text as built at start-up: every line ends in CR LF.
    const QString& helpText() const { return m_helpText; }

    // Puts the picture of the file at `path` into Logo, stretched over 200 x 200 pixels. Returns
    // false, leaving the picture as it was, when the file is missing or not a readable picture.
    bool loadLogo(const QString& path);
    // Puts the built-in logo into Logo.
    void showBuiltInLogo();

    // The controllers, for tests that drive handlers directly.
    Browser& browser() { return *m_browser; }
    PlaylistController& playlistController() { return *m_playlistController; }
    PrintController& printController() { return *m_printController; }
    PlayerController& playerController() { return *m_playerController; }
    SongInfoController& songInfoController() { return *m_songInfoController; }
    SearchController& searchController() { return *m_searchController; }
    AppearanceController& appearanceController() { return *m_appearanceController; }
    CommandBar& commandBar() { return *m_commandBar; }

private Q_SLOTS:
    void KnopBottom_Click(int index);
    void Timer2_Timer();

private:
    void Form_Load();
    void createControls();
    void designControls();
    void createControllers();
    void showClockText(const QString& text);

    ProgramState m_state;
    MediaPlayer& m_player;
    PlaylistModel* m_playlist = nullptr;
    MainControls m_c;
    QString m_helpText;
    QPixmap m_builtInLogo;

    Browser* m_browser = nullptr;
    PlaylistController* m_playlistController = nullptr;
    PrintController* m_printController = nullptr;
    PlayerController* m_playerController = nullptr;
    SongInfoController* m_songInfoController = nullptr;
    SearchController* m_searchController = nullptr;
    AppearanceController* m_appearanceController = nullptr;
    CommandBar* m_commandBar = nullptr;
};
