#pragma once

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>

#include <QFile>

#include <unistd.h>

namespace testsupport {

// Keeps tests away from the user's own folders and from the desktop: a private runtime folder
// and Qt's test-mode standard paths. Call before any Q*Application exists.
inline void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir =
            QDir::tempPath().toUtf8() + "/tunara-test-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace testsupport
