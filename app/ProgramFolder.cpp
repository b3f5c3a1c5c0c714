#include "app/ProgramFolder.h"

#include "common/SettingsFile.h"
#include "common/TextFiles.h"
#include "playlist/PlaylistFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// The settings reader looks at the first MiB only; a playlist file is read whole.
constexpr qint64 kSettingsCopyBytes = 1024 * 1024;

// Records, one name a line, which stored playlists came over from the executable's folder.
// Not a ".lst" file, so the load window never lists it.
QString carriedRecordPath(const QString& folder) {
    return playlist::playlistFolder(folder) + QStringLiteral("/.carried-over");
}

bool copyFile(const QString& source, const QString& target, qint64 maxBytes = -1) {
    QByteArray bytes;
    return common::readFile(source, bytes, nullptr, maxBytes) && common::writeAtomically(target, bytes);
}

void carrySettingsOver(const QString& from, const QString& to) {
    const QString target = common::settingsFilePath(to);
    const QString source = common::settingsFilePath(from);
    if (!QFileInfo::exists(target) && QFileInfo(source).isFile()) {
        copyFile(source, target, kSettingsCopyBytes);
    }
}

void carryPlaylistsOver(const QString& from, const QString& to) {
    const QStringList names = playlist::storedPlaylistNames(from);
    if (names.isEmpty() || !QDir().mkpath(playlist::playlistFolder(to))) {
        return;
    }
    const QString record = carriedRecordPath(to);
    QByteArray recorded;
    common::readFile(record, recorded); // none yet: nothing carried over before
    const QStringList lines = QString::fromUtf8(recorded).split(QLatin1Char('\n'));
    QSet<QString> carried(lines.begin(), lines.end());
    const qsizetype before = carried.size();
    for (const QString& name : names) {
        const QString source = playlist::playlistFilePath(from, name);
        const QString target = playlist::playlistFilePath(to, name);
        if (carried.contains(name) || !QFileInfo(source).isFile()) {
            continue;
        }
        // A playlist of the same name that the user saved here is theirs: it is kept. A name
        // with a line break cannot be recorded; it is copied whenever it is missing.
        const bool there = QFileInfo::exists(target) || copyFile(source, target);
        if (there && !name.contains(QLatin1Char('\n'))) {
            carried.insert(name);
        }
    }
    if (carried.size() != before) {
        QStringList kept(carried.begin(), carried.end());
        kept.removeAll(QString());
        kept.sort();
        common::writeAtomically(record, kept.join(QLatin1Char('\n')).toUtf8());
    }
}

} // namespace

namespace app {

bool isWritableFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QFileInfo info(folder);
    // access() also knows about read-only mounts, which the permission bits do not show.
    return info.isDir() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool isInstalledCopy(const QString& executableFolder) {
    return !executableFolder.isEmpty() &&
           QFileInfo(executableFolder + QStringLiteral("/../share/tunara")).isDir();
}

QString resolveProgramFolder(const QString& preferred, const QString& fallback) {
    if (isWritableFolder(preferred)) {
        return preferred;
    }
    if (fallback.isEmpty() || !QDir().mkpath(fallback) || !isWritableFolder(fallback)) {
        return preferred;
    }
    carryOverProgramFiles(preferred, fallback);
    return fallback;
}

void carryOverProgramFiles(const QString& from, const QString& to) {
    carrySettingsOver(from, to);
    carryPlaylistsOver(from, to);
}

QString findProgramFolder() {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (isInstalledCopy(executableFolder)) {
        // Even when it fails, the data folder: the install tree is not ours to write.
        QDir().mkpath(dataFolder);
        return dataFolder;
    }
    return resolveProgramFolder(executableFolder, dataFolder);
}

} // namespace app
