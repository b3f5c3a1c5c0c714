// The one test main: core tests get a QCoreApplication, GUI tests (TUNARA_TEST_GUI) a QApplication
// on the offscreen screen.

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#ifdef TUNARA_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

#include <unistd.h>

int main(int argc, char** argv) {
    // Away from the user's own folders and from the desktop: a private runtime folder, no sound
    // device, Qt's test-mode standard paths.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + QStringLiteral("/tunara-test-runtime-%1").arg(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS(); // the build lists the tests: no application, nothing to leak
    }
#ifdef TUNARA_TEST_GUI
    // The offscreen screen is 800x800 unless told otherwise; the main window needs 1024x768.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + TUNARA_TEST_SCREENS);
    }
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
