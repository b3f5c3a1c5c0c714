// The install as a packager and a user meet it: a staged install, the desktop's own validators,
// and the installed program's first start by a user with a fresh home folder.
#include "common/SettingsFile.h"
#include "support/Fixtures.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// Runs `program` to its end; the exit code, or -1 when it did not start or end normally.
int run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
        QByteArray* output) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    *output = process.readAll();
    return ended ? process.exitCode() : -1;
}

QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
    }
    files.sort();
    return files;
}

TEST(Install, StagedTreePassesTheValidatorsAndTheProgramWritesOnlyBelowHome) {
    QTemporaryDir stage, home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DESTDIR"_s, stage.path());
    QByteArray output;
    ASSERT_EQ(run(QStringLiteral(TUNARA_CMAKE),
                  {u"--install"_s, QStringLiteral(TUNARA_BUILD_DIR), u"--prefix"_s, u"/usr"_s}, env, &output),
              0)
        << output.constData();

    const QString usr = stage.filePath(u"usr"_s);
    const QString desktopFile = usr + u"/share/applications/org.example.Tunara.desktop"_s;
    const QString metainfo = usr + u"/share/metainfo/org.example.Tunara.metainfo.xml"_s;
    EXPECT_TRUE(QFileInfo(usr + u"/bin/tunara"_s).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(usr + u"/share/icons/hicolor/scalable/apps/org.example.Tunara.svg"_s));
    EXPECT_EQ(run(u"desktop-file-validate"_s, {desktopFile}, env, &output), 0) << output.constData();
    EXPECT_EQ(run(u"appstreamcli"_s, {u"validate"_s, u"--no-net"_s, metainfo}, env, &output), 0)
        << output.constData();

    // Started as root (as here), the installed copy could write its own folder; it must not.
    const QStringList installed = filesBelow(stage.path());
    QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"XDG_DATA_HOME"_s, u"XDG_CONFIG_HOME"_s, u"DESTDIR"_s}) {
        user.remove(name);
    }
    user.insert(u"HOME"_s, home.path());
    user.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    user.insert(u"SDL_AUDIODRIVER"_s, u"dummy"_s);
    const QString ini = common::settingsFilePath(home.filePath(u".local/share/Tunara"_s));
    QProcess program;
    program.setProcessEnvironment(user);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(usr + u"/bin/tunara"_s, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    for (int waited = 0; QFileInfo(ini).size() == 0 && waited < 20000; waited += 20) {
        QThread::msleep(20);
    }
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(fixtures::readFile(ini), common::settingsFileBytes(Settings{})) << ini.toStdString();
    EXPECT_EQ(filesBelow(stage.path()), installed);
}

} // namespace
