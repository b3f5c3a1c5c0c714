#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>

// The playlist pane's edit buttons (KnopR 1 and 2), the command bar's save and load buttons
// (KnopBottom 6 and 7), and the two routines that store and restore a playlist. Keeps Label10
// showing the playlist's count text. GUI thread only.
class PlaylistController : public QObject {
    Q_OBJECT
public:
    PlaylistController(const MainContext& ctx, QObject* parent = nullptr);

    // Stores the playlist as "<name>.lst" in the Playlist folder, the name as typed. Asks before
    // replacing a stored playlist of that name; refused names and failures are told in a message
    // box and leave any stored file as it was. True when the file was written.
    bool SavePlaylist(const QString& name);
    // Replaces the playlist with the stored playlist `name`; a missing or unreadable file leaves
    // the playlist as it was and is told in a message box with the reason.
    void LoadPlaylist(const QString& name);

public Q_SLOTS:
    void KnopR_Click(int index);
    // Command bar button 6: ask for a name and store the playlist.
    void savePlaylistCommand();
    // Command bar button 7: the load-playlist window, modal.
    void showLoadform();

private:
    MainContext m_ctx;
};
