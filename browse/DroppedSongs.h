#pragma once

#include "playlist/PlaylistModel.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QVector>

#include <optional>

// What a drop of files and folders (file URLs, as a file manager sends them) adds to the
// playlist, decided without a window. No function here changes the playlist or asks anything.
namespace browse {

// The entry for an MP3 or MIDI file (by its name, any letter case) at the absolute `path`, built
// as a double-click in the song list builds it; nothing for anything else (a folder, another
// kind of file, a missing file).
std::optional<PlaylistEntry> songFile(const QString& path);

struct DroppedCollection {
    QVector<PlaylistEntry> entries; // in the dropped order
    int skipped = 0;                // dropped items that added nothing
};

// Each URL in turn: a song file gives its entry; a folder gives its songs in the song list's
// order (its subfolders are not entered; a folder without songs adds nothing and is not
// skipped); anything else (not a local file, another kind of file, an unreadable folder)
// counts as skipped.
DroppedCollection collectDropped(const QList<QUrl>& urls);

// The info line's text after a drop that skipped `skipped` items (at least one).
QString droppedSkippedText(int skipped);

} // namespace browse
