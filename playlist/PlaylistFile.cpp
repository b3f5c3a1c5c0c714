#include "playlist/PlaylistFile.h"

#include "common/TextFiles.h"
#include "browse/FileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
        const qsizetype cr = text.indexOf(u'\r', pos);
        const qsizetype end = cr < 0 ? n : cr;
        const QStringView line = QStringView(text).sliced(pos, end - pos);
        pos = cr < 0 ? n : cr + 1;
        if (cr >= 0 && pos < n && text.at(pos) == u'\n') {
            ++pos;
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
        if (e.fullPath.contains(u'\r') || e.displayName.contains(u'\r') ||
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
    if (!QDir().mkpath(folder)) {
        if (error) {
            *error = QStringLiteral("De map '%1' kon niet worden aangemaakt; de playlist is niet opgeslagen.")
                         .arg(folder);
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
        return out;
    }
    QFile file(filePath(programFolder, name));
    if (!file.open(QIODevice::ReadOnly)) {
        return out;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
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

bool remove(const QString& programFolder, const QString& name) {
    if (leavesFolder(name)) {
        return false;
    }
    return QFile::remove(filePath(programFolder, name));
}

} // namespace PlaylistFile
