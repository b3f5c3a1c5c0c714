#include "playlist/PlaylistFile.h"

#include "common/FileList.h"
#include "common/TextFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace playlist {

namespace {

// A file name holds at most 255 bytes; the atomic writer's temporary file beside the playlist
// adds 7 (".XXXXXX") to the name.
constexpr qsizetype kMaxFileNameBytes = 255 - 7;

bool isBlank(QStringView line) {
    for (const QChar ch : line) {
        if (ch != u' ') {
            return false;
        }
    }
    return true;
}

// "/" and NUL would lead out of the Playlist folder or cut the path short. "." and ".." stay
// inside ("..lst", "...lst"), so a stored file of that name still loads and deletes.
bool leavesFolder(const QString& name) {
    return name.contains(QChar(u'\0')) || name.contains(u'/');
}

bool hasLineEnd(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace

QByteArray serializePlaylist(const QVector<PlaylistEntry>& entries) {
    qsizetype length = 0;
    for (const PlaylistEntry& e : entries) {
        length += e.fullPath.size() + kFieldSeparatorLength + e.displayName.size() + 2;
    }
    QString text;
    text.reserve(length);
    for (const PlaylistEntry& e : entries) {
        text.append(e.fullPath).append(QStringView(kFieldSeparator)).append(e.displayName).append(u"\r\n");
    }
    return common::encodeText(text);
}

ParsedPlaylist parsePlaylist(const QByteArray& bytes, qsizetype maxEntries) {
    ParsedPlaylist out;
    const QString text = common::decodeText(bytes);
    const QStringView separator(kFieldSeparator);
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text.at(end) != u'\r' && text.at(end) != u'\n') {
            ++end;
        }
        const QStringView line = QStringView(text).sliced(pos, end - pos);
        pos = end;
        if (pos < n) {
            pos += text.at(pos) == u'\r' && pos + 1 < n && text.at(pos + 1) == u'\n' ? 2 : 1;
        }
        if (isBlank(line)) {
            continue;
        }
        const qsizetype at = line.indexOf(separator);
        if (at < 0) {
            continue;
        }
        if (out.entries.size() >= maxEntries) {
            ++out.dropped;
            continue;
        }
        out.entries.append(
            PlaylistEntry{line.sliced(at + kFieldSeparatorLength).toString(), line.first(at).toString()});
    }
    return out;
}

QString playlistFolder(const QString& programFolder) {
    return programFolder + QStringLiteral("/Playlist");
}

QString playlistFilePath(const QString& programFolder, const QString& name) {
    return programFolder + QStringLiteral("/Playlist/") + name + QStringLiteral(".lst");
}

QString playlistNameProblem(const QString& name) {
    if (name.contains(QChar(u'\0'))) {
        return QStringLiteral(
            "Deze naam kan niet worden gebruikt: een playlistnaam mag geen nul-teken bevatten.");
    }
    if (name.contains(u'/')) {
        return QStringLiteral(
                   "De naam '%1' kan niet worden gebruikt: een playlistnaam mag geen '/' bevatten.")
            .arg(name);
    }
    if (name == QLatin1String(".") || name == QLatin1String("..")) {
        return QStringLiteral("De naam '%1' kan niet worden gebruikt als playlistnaam.").arg(name);
    }
    if (QFile::encodeName(name).size() + 4 > kMaxFileNameBytes) {
        return QStringLiteral("De naam is te lang: kies een kortere naam voor deze playlist.");
    }
    return {};
}

QString playlistEntriesProblem(const QVector<PlaylistEntry>& entries) {
    for (const PlaylistEntry& e : entries) {
        if (hasLineEnd(e.fullPath) || hasLineEnd(e.displayName) ||
            e.fullPath.contains(QStringView(kFieldSeparator))) {
            return QStringLiteral(
                       "De playlist kan niet worden opgeslagen: het pad of de naam van de song '%1' "
                       "bevat tekens die een playlistbestand niet kan bewaren (een regeleinde, of "
                       "' ---/--- ' in het pad). Verwijder deze song uit de playlist en sla "
                       "opnieuw op.")
                .arg(e.displayName);
        }
    }
    return {};
}

bool fileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool savePlaylist(const QString& programFolder, const QString& name, const QVector<PlaylistEntry>& entries,
                  QString* error) {
    QString problem = playlistNameProblem(name);
    if (problem.isEmpty()) {
        problem = playlistEntriesProblem(entries);
    }
    if (!problem.isEmpty()) {
        if (error) {
            *error = problem;
        }
        return false;
    }
    const QString folder = playlistFolder(programFolder);
    if (!QFileInfo(folder).isDir() && ::mkdir(QFile::encodeName(folder).constData(), 0777) != 0) {
        // A plain file of that name: mkdir says EEXIST, which would read as if all were well.
        const QString reason = common::reasonText(errno == EEXIST ? ENOTDIR : errno);
        if (error) {
            *error = QStringLiteral("De map '%1' kon niet worden aangemaakt (%2); de playlist is niet "
                                    "opgeslagen.")
                         .arg(folder, reason);
        }
        return false;
    }
    QString reason;
    if (!common::writeAtomically(playlistFilePath(programFolder, name), serializePlaylist(entries),
                                 &reason)) {
        if (error) {
            *error = QStringLiteral("De playlist '%1' kon niet worden opgeslagen (%2). "
                                    "Een eerder opgeslagen playlist met deze naam is niet veranderd.")
                         .arg(name, reason);
        }
        return false;
    }
    return true;
}

LoadedPlaylist loadPlaylist(const QString& programFolder, const QString& name) {
    LoadedPlaylist out;
    if (leavesFolder(name)) {
        out.error = common::reasonText(ENOENT);
        return out;
    }
    QByteArray bytes;
    if (!common::readFile(playlistFilePath(programFolder, name), bytes, &out.error)) {
        return out;
    }
    out.opened = true;
    out.parsed = parsePlaylist(bytes);
    return out;
}

QStringList storedPlaylistNames(const QString& programFolder) {
    const common::ListFilter filter{{QByteArrayLiteral(".lst")}, false, true};
    common::Listing listing = common::listFolder(playlistFolder(programFolder), filter);
    for (QString& name : listing.names) {
        name.chop(4);
    }
    return listing.names;
}

bool removePlaylist(const QString& programFolder, const QString& name, QString* error) {
    if (leavesFolder(name)) {
        if (error) {
            *error = common::reasonText(ENOENT);
        }
        return false;
    }
    if (::unlink(QFile::encodeName(playlistFilePath(programFolder, name)).constData()) != 0 &&
        errno != ENOENT) {
        if (error) {
            *error = common::reasonText(errno);
        }
        return false;
    }
    return true;
}

} // namespace playlist
