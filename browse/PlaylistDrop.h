#pragma once

#include "common/MainContext.h"

#include <QList>
#include <QObject>
#include <QUrl>
#include <QVector>

struct PlaylistEntry;

// Files and folders dropped onto the playlist List2 from a file manager (text/uri-list) are
// appended in the dropped order: songs as a double-click in the song list adds them, folders
// with their songs in the song list's order. Allowed at any time, also while a song plays, like
// the add buttons. GUI thread only.
class PlaylistDrop : public QObject {
    Q_OBJECT
public:
    // Accepts drops on `ctx.c.List2`; lives as long as the main window's controls.
    PlaylistDrop(const MainContext& ctx, QObject* parent = nullptr);

    // Appends what `urls` name (see browse::collectDropped), refreshes the count label, says in
    // the info line how many items were skipped, and shows the playlist-full message when not
    // everything fitted.
    void List2_OLEDragDrop(const QList<QUrl>& urls);

    // Appends `entries` as the add buttons do: as many as fit, the count label refreshed, the
    // playlist-full message when not all fitted. Returns how many were appended.
    static int appendSongs(const MainContext& ctx, const QVector<PlaylistEntry>& entries);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainContext m_ctx;
    QObject* m_viewport = nullptr;
};
