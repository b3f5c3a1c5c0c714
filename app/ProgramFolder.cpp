#include "app/ProgramFolder.h"

#include "common/SettingsFile.h"
#include "common/TextFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace ProgramFolder {

bool isWritable(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QFileInfo info(folder);
    // access() also knows about read-only mounts, which the permission bits do not show.
    return info.isDir() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString resolve(const QString& preferred, const QString& fallback) {
    if (isWritable(preferred)) {
        return preferred;
    }
    if (fallback.isEmpty() || !QDir().mkpath(fallback) || !isWritable(fallback)) {
        return preferred;
    }
    carrySettingsOver(preferred, fallback);
    return fallback;
}

void carrySettingsOver(const QString& from, const QString& to) {
    const QString target = settingsFilePath(to);
    const QString source = settingsFilePath(from);
    if (QFileInfo::exists(target) || !QFileInfo(source).isFile()) {
        return;
    }
    QFile in(source);
    if (in.open(QIODevice::ReadOnly)) {
        // The reader looks at the first MiB only; so does the copy.
        TextFiles::writeAtomically(target, in.read(1024 * 1024));
    }
}

QString forThisProgram() {
    return resolve(QCoreApplication::applicationDirPath(),
                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace ProgramFolder
