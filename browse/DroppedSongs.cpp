#include "browse/DroppedSongs.h"

#include "browse/SongNames.h"
#include "common/FileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace browse {

std::optional<PlaylistEntry> songFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.isFile()) {
        return std::nullopt;
    }
    const QString name = info.fileName();
    const QByteArray bytes = QFile::encodeName(name);
    common::ListFilter filter = common::songFilter();
    // A hidden song that the user picked out and dropped is still a song.
    filter.includeHidden = true;
    if (!common::nameMatches(bytes.constData(), bytes.size(), filter)) {
        return std::nullopt;
    }
    return PlaylistEntry{browse::displayName(name), browse::fullPath(info.path(), name)};
}

DroppedCollection collectDropped(const QList<QUrl>& urls) {
    DroppedCollection result;
    for (const QUrl& url : urls) {
        const QString path = url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : QString();
        if (path.isEmpty()) {
            ++result.skipped;
        } else if (QFileInfo(path).isDir()) {
            const common::Listing listing = common::listFolder(path, common::songFilter());
            result.skipped += listing.ok ? 0 : 1;
            for (const QString& name : listing.names) {
                result.entries.append(PlaylistEntry{browse::displayName(name), browse::fullPath(path, name)});
            }
        } else if (const std::optional<PlaylistEntry> entry = songFile(path)) {
            result.entries.append(*entry);
        } else {
            ++result.skipped;
        }
    }
    return result;
}

QString droppedSkippedText(int skipped) {
    return (skipped == 1 ? QStringLiteral("1 bestand overgeslagen")
                         : QStringLiteral("%1 bestanden overgeslagen").arg(skipped)) +
           QStringLiteral(": alleen MP3- en MIDI-bestanden en mappen gaan in de playlist.");
}

} // namespace browse
