#pragma once

#include "app/MainContext.h"

#include <QObject>

class PlaylistController : public QObject {
    Q_OBJECT
public:
    PlaylistController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void KnopR_Click(int index);
    // Command bar button 6: ask for a name and store the playlist.
    void savePlaylistCommand();
    // Command bar button 7: the load-playlist window, modal.
    void showLoadform();

private:
    MainContext m_ctx;
};
