// The program as a user starts it: its own folder, a real event loop, signals from outside.
#include "common/SettingsFile.h"
#include "support/Fixtures.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using fixtures::readFile;
using fixtures::writeFile;

namespace {

TEST(ProgramProcess, FirstStartWritesTheSettingsAndSignalsEndItWithoutWriting) {
    QTemporaryDir dir;
    // The program keeps its settings beside itself: a copy in a fresh folder starts clean.
    const QString exe = dir.filePath(QStringLiteral("tunara")), ini = common::settingsFilePath(dir.path());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TUNARA_EXE), exe));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Starts the program, waits until `ready` (20 s at most) and ends it with `signal`.
    const auto runUntil = [&process, &exe](const auto& ready, int signal) {
        process.start(exe, {});
        ASSERT_TRUE(process.waitForStarted(10000));
        for (int waited = 0; !ready() && waited < 20000; waited += 20) {
            QThread::msleep(20);
        }
        ::kill(static_cast<pid_t>(process.processId()), signal);
        EXPECT_TRUE(process.waitForFinished(10000)) << signal;
        EXPECT_TRUE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) << signal;
    };
    runUntil([&ini] { return QFileInfo(ini).size() > 0; }, SIGINT);
    EXPECT_EQ(readFile(ini), common::settingsFileBytes(Settings{}));

    const QByteArray mine =
        "1,2,3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n\"Tunara 1\"\r\n\"Mijn\"\r\n\"\"\r\n\"/m\"\r\n";
    writeFile(ini, mine);
    const QDeadlineTimer upAndRunning(1500);
    runUntil([&upAndRunning] { return upAndRunning.hasExpired(); }, SIGTERM);
    EXPECT_EQ(readFile(ini), mine);
}

} // namespace
