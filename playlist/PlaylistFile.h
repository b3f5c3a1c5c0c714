#pragma once

#include "playlist/PlaylistModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Stored playlists: one file "<name>.lst" per playlist in the folder "Playlist" of the program
// folder. One line per entry, in playlist order: the full path, the separator " ---/--- ", the
// display name, then CR LF (after the last line too). Written as UTF-8 without a byte-order
// mark; read line by line, a line that is not valid UTF-8 as Windows-1252.
// No function here asks the user anything; the callers do (overwrite question, messages).
namespace playlist {

inline constexpr char16_t kFieldSeparator[] = u" ---/--- ";
inline constexpr qsizetype kFieldSeparatorLength = 9;

// The whole file for these entries, byte for byte. No entries give 0 bytes.
QByteArray serializePlaylist(const QVector<PlaylistEntry>& entries);

struct ParsedPlaylist {
    QVector<PlaylistEntry> entries;
    // Good lines after the first `maxEntries`, which were left out.
    qsizetype dropped = 0;
};

// Reads a stored file: a line ends at CR LF, at CR and at LF (files edited on Linux), the last
// line needs no line end; blank lines and lines without the separator are skipped; the first
// separator splits the line, nothing is trimmed.
ParsedPlaylist parsePlaylist(const QByteArray& bytes, qsizetype maxEntries = PlaylistModel::kMaxEntries);

// "<programFolder>/Playlist"
QString playlistFolder(const QString& programFolder);
// "<programFolder>/Playlist/<name>.lst", the name as given.
QString playlistFilePath(const QString& programFolder, const QString& name);

// Empty when `name` may name a stored playlist; otherwise the Dutch message that says why not.
// Refused: names that would leave the Playlist folder or that the file system cannot hold ("/",
// the NUL character, "." and "..", more than 255 bytes with ".lst").
QString playlistNameProblem(const QString& name);

// Empty when every entry can be stored so that it reads back unchanged; otherwise the Dutch
// message that names the first song that cannot: a CR or LF in its path or name would end its
// line early, and the separator inside its path would split the line in the wrong place.
QString playlistEntriesProblem(const QVector<PlaylistEntry>& entries);

// True when an ordinary file (or a link to one) exists at `path`.
bool fileExists(const QString& path);

// Creates the Playlist folder when missing and replaces "<name>.lst" atomically with the
// entries: a failure leaves any earlier file as it was. Returns false with a Dutch message in
// `error` on failure, the system's reason in it (a refused name or entry included; nothing is
// written then).
bool savePlaylist(const QString& programFolder, const QString& name, const QVector<PlaylistEntry>& entries,
                  QString* error);

struct LoadedPlaylist {
    bool opened = false; // false: missing, unreadable or a name outside the folder; `parsed` is empty then
    QString error;       // when not opened: why, in Dutch (common::reasonText)
    ParsedPlaylist parsed;
};
// Any stored name loads, also one longer than the writer accepts (made by another program);
// only names that would leave the Playlist folder are refused.
LoadedPlaylist loadPlaylist(const QString& programFolder, const QString& name);

// The names of the stored playlists (file names without ".lst"), in the program's name order.
// Names starting with "." are included: the writer may have made them. No folder: empty.
QStringList storedPlaylistNames(const QString& programFolder);

// Deletes "<name>.lst". True when the file is gone afterwards (also when it was gone already);
// false, with the reason in Dutch in `error` when given, when it is still there.
bool removePlaylist(const QString& programFolder, const QString& name, QString* error = nullptr);

} // namespace playlist
