// The program as a user starts it: its own folder, a real event loop, signals from outside.
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // The program keeps its settings beside itself: a copy in a fresh folder starts clean.
        m_exe = m_dir.filePath(QStringLiteral("tunara"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNARA_EXE), m_exe));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(m_dir.path());
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    void TearDown() override {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString iniPath() const { return settingsFilePath(m_dir.path()); }

    bool waitForFile(const QString& path, int timeoutMs) {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            if (QFileInfo(path).size() > 0) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    QTemporaryDir m_dir;
    QString m_exe;
    QProcess m_process;
};

TEST_F(ProgramProcess, FirstStartWritesTheSettingsAndCtrlCEndsTheProgram) {
    m_process.start(m_exe, {});
    ASSERT_TRUE(m_process.waitForStarted(10000));
    ASSERT_TRUE(waitForFile(iniPath(), 20000)) << "no settings file was written";
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), settingsFileBytes(Settings{}));
    ini.close();

    ::kill(static_cast<pid_t>(m_process.processId()), SIGINT);
    ASSERT_TRUE(m_process.waitForFinished(10000)) << "Ctrl+C did not end the program";
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
}

TEST_F(ProgramProcess, EndingFromOutsideLeavesTheSettingsFileAsItWas) {
    const QByteArray mine =
        "1,2,3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n\"Tunara 1\"\r\n\"Mijn tekst\"\r\n\"\"\r\n\"/m\"\r\n";
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(mine);
    }
    m_process.start(m_exe, {});
    ASSERT_TRUE(m_process.waitForStarted(10000));
    QThread::msleep(1500);
    m_process.terminate(); // SIGTERM
    ASSERT_TRUE(m_process.waitForFinished(10000));
    EXPECT_EQ(m_process.exitCode(), 0);
    QFile f(iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), mine);
}

} // namespace
