#include "playlist/PlaylistFile.h"

#include "browse/FileList.h"
#include "common/TextFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace PlaylistFile {

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

QByteArray serialize(const QVector<PlaylistEntry>& entries) {
    qsizetype length = 0;
    for (const PlaylistEntry& e : entries) {
        length += e.fullPath.size() + kSeparatorLength + e.displayName.size() + 2;
    }
    QString text;
    text.reserve(length);
    for (const PlaylistEntry& e : entries) {
        text.append(e.fullPath).append(QStringView(kSeparator)).append(e.displayName).append(u"\r\n");
    }
    return TextFiles::encode(text);
}

Parsed parse(const QByteArray& bytes, qsizetype maxEntries) {
    Parsed out;
    const QString text = TextFiles::decode(bytes);
    const QStringView separator(kSeparator);
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
            PlaylistEntry{line.sliced(at + kSeparatorLength).toString(), line.first(at).toString()});
    }
    return out;
}

QString folderPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Playlist");
}

QString filePath(const QString& programFolder, const QString& name) {
    return programFolder + QStringLiteral("/Playlist/") + name + QStringLiteral(".lst");
}

QString nameProblem(const QString& name) {
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

QString entriesProblem(const QVector<PlaylistEntry>& entries) {
    for (const PlaylistEntry& e : entries) {
        if (hasLineEnd(e.fullPath) || hasLineEnd(e.displayName) ||
            e.fullPath.contains(QStringView(kSeparator))) {
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

bool save(const QString& programFolder, const QString& name, const QVector<PlaylistEntry>& entries,
          QString* error) {
    QString problem = nameProblem(name);
    if (problem.isEmpty()) {
        problem = entriesProblem(entries);
    }
    if (!problem.isEmpty()) {
        if (error) {
            *error = problem;
        }
        return false;
    }
    const QString folder = folderPath(programFolder);
    if (!QFileInfo(folder).isDir() && ::mkdir(QFile::encodeName(folder).constData(), 0777) != 0) {
        // A plain file of that name: mkdir says EEXIST, which would read as if all were well.
        const QString reason = TextFiles::reasonText(errno == EEXIST ? ENOTDIR : errno);
        if (error) {
            *error = QStringLiteral("De map '%1' kon niet worden aangemaakt (%2); de playlist is niet "
                                    "opgeslagen.")
                         .arg(folder, reason);
        }
        return false;
    }
    QString reason;
    if (!TextFiles::writeAtomically(filePath(programFolder, name), serialize(entries), &reason)) {
        if (error) {
            *error = QStringLiteral("De playlist '%1' kon niet worden opgeslagen (%2). "
                                    "Een eerder opgeslagen playlist met deze naam is niet veranderd.")
                         .arg(name, reason);
        }
        return false;
    }
    return true;
}

Loaded load(const QString& programFolder, const QString& name) {
    Loaded out;
    if (leavesFolder(name)) {
        out.error = TextFiles::reasonText(ENOENT);
        return out;
    }
    QByteArray bytes;
    if (!TextFiles::readFile(filePath(programFolder, name), bytes, &out.error)) {
        return out;
    }
    out.opened = true;
    out.parsed = parse(bytes);
    return out;
}

QStringList storedNames(const QString& programFolder) {
    const FileList::Filter filter{{QByteArrayLiteral(".lst")}, false, true};
    FileList::Listing listing = FileList::list(folderPath(programFolder), filter);
    for (QString& name : listing.names) {
        name.chop(4);
    }
    return listing.names;
}

bool remove(const QString& programFolder, const QString& name, QString* error) {
    if (leavesFolder(name)) {
        if (error) {
            *error = TextFiles::reasonText(ENOENT);
        }
        return false;
    }
    if (::unlink(QFile::encodeName(filePath(programFolder, name)).constData()) != 0 && errno != ENOENT) {
        if (error) {
            *error = TextFiles::reasonText(errno);
        }
        return false;
    }
    return true;
}

} // namespace PlaylistFile
