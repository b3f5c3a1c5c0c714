// The desktop's media-player interface through real clients (playerctl, gdbus) on a private
// session bus: run under dbus-run-session (see CMakeLists).
#include "app/Main.h"
#include "common/PlaybackState.h"
#include "desktop/MprisService.h"
#include "playback/AudioEngine.h"
#include "support/Fixtures.h"

#include <QDBusConnection>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// Runs a client to its end while this process goes on serving the bus; its output, trimmed.
QString client(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 20000))
        << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString playerctl(const QStringList& arguments) {
    return client(u"playerctl"_s, QStringList{u"--player=tunara"_s} + arguments);
}

// The PropertiesChanged signals of the player interface, as "Name" or "Name=value" lines.
class ChangeWatcher : public QObject {
    Q_OBJECT
public:
    QStringList seen;
public Q_SLOTS:
    void changed(const QString&, const QVariantMap& properties, const QStringList&) {
        for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
            seen << (it.value().metaType() == QMetaType::fromType<QString>()
                         ? it.key() + u'=' + it.value().toString()
                         : it.key());
        }
    }
};

// The built program in a folder of its own, started offscreen on the silent output.
struct Program {
    QTemporaryDir dir;
    QProcess process;
    bool start() {
        const QString exe = dir.filePath(u"tunara"_s);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"SDL_AUDIODRIVER"_s, u"dummy"_s);
        process.setProcessEnvironment(env);
        return QFile::copy(QStringLiteral(TUNARA_EXE), exe) &&
               (process.start(exe, {}), process.waitForStarted(10000));
    }
    QString end() {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        EXPECT_TRUE(process.waitForFinished(10000));
        return QString::fromUtf8(process.readAllStandardError());
    }
};

TEST(Mpris, PlayerctlSeesPlaysPausesSkipsAndSetsTheVolumeOfTheRunningProgram) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "run under dbus-run-session";
    const QString service = QString::fromLatin1(MprisService::kServiceName);
    const QString path = QString::fromLatin1(MprisService::kObjectPath);

    // The program takes its name on the bus once its window is up.
    {
        Program program;
        ASSERT_TRUE(program.start());
        EXPECT_TRUE(
            QTest::qWaitFor([] { return client(u"playerctl"_s, {u"--list-all"_s}) == u"tunara"_s; }, 20000));
        program.end();
    }

    QTemporaryDir songs;
    fixtures::Mp3Recipe recipe{.seconds = 30.0, .sampleRate = 24000, .channels = 1, .bitrateKbps = 64};
    recipe.id3v1 = fixtures::Id3v1Fields{.title = "Eerste lied", .artist = "Koor", .album = "Proef"};
    const QString first = songs.filePath(u"een.mp3"_s), second = songs.filePath(u"twee.mp3"_s);
    ASSERT_FALSE(fixtures::writeMp3(first, recipe).bytes.isEmpty());
    recipe.id3v1.reset();
    ASSERT_FALSE(fixtures::writeMp3(second, recipe).bytes.isEmpty());

    AudioEngine::Options silent;
    silent.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(silent);
    Main window(songs.path(), engine);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    MainControls controls = window.controls();
    MprisService::startFor(MainContext{controls, window.state(), window.playlist(), window.player()},
                           &window);
    ChangeWatcher watcher;
    QDBusConnection watching = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"watcher"_s);
    ASSERT_TRUE(watching.connect(service, path, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                                 &watcher, SLOT(changed(QString, QVariantMap, QStringList))));

    for (const QString& song : {first, second, songs.filePath(u"leesmij.txt"_s)}) {
        client(u"gdbus"_s,
               {u"call"_s, u"--session"_s, u"--dest"_s, service, u"--object-path"_s, path, u"--method"_s,
                u"org.mpris.MediaPlayer2.Player.OpenUri"_s, QUrl::fromLocalFile(song).toString()});
    }
    EXPECT_EQ(controls.Label10->text(), u"2 Songs in de playlist"_s);
    EXPECT_EQ(playerctl({u"status"_s}), u"Stopped"_s);

    // Sends `command` and waits for the status it leads to.
    const auto send = [](const QString& command, const QString& status) {
        playerctl({command});
        EXPECT_TRUE(QTest::qWaitFor([&status] { return playerctl({u"status"_s}) == status; }, 5000))
            << command.toStdString() << " to " << status.toStdString();
    };
    send(u"play"_s, u"Playing"_s);
    EXPECT_EQ(playerctl({u"metadata"_s, u"--format"_s, u"{{title}}|{{artist}}|{{mpris:length}}"_s}),
              u"Eerste lied|Koor|30000000"_s);
    send(u"pause"_s, u"Paused"_s);
    EXPECT_EQ(window.state().playback.mode(), PlaybackState::Mode::Paused);
    playerctl({u"next"_s}); // Next is disabled while paused
    send(u"play"_s, u"Playing"_s);
    EXPECT_EQ(controls.Label10->text(), u"2 Songs in de playlist"_s);
    playerctl({u"next"_s});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return controls.Label10->text() == u"1 Songs in de playlist"_s; }, 5000));
    EXPECT_EQ(playerctl({u"metadata"_s, u"title"_s}), u"twee"_s);
    playerctl({u"volume"_s, u"0.4"_s});
    EXPECT_EQ(std::pair(controls.VolumeLabel->text(), controls.Slider2->value()), std::pair(u"4"_s, 1000));
    controls.Slider2->setValue(2500);
    EXPECT_EQ(playerctl({u"volume"_s}).toDouble(), 1.0);
    send(u"stop"_s, u"Stopped"_s);
    EXPECT_EQ(window.state().playback.mode(), PlaybackState::Mode::Idle);

    EXPECT_TRUE(
        QTest::qWaitFor([&watcher] { return watcher.seen.contains(u"PlaybackStatus=Stopped"_s); }, 5000));
    for (const QString& change : {u"PlaybackStatus=Playing"_s, u"PlaybackStatus=Paused"_s, u"Metadata"_s,
                                  u"Volume"_s, u"CanGoNext"_s, u"CanPlay"_s}) {
        EXPECT_TRUE(watcher.seen.contains(change))
            << change.toStdString() << " in " << watcher.seen.join(u' ').toStdString();
    }

    // A second copy finds the name taken, says so once and runs on.
    Program other;
    ASSERT_TRUE(other.start());
    QTest::qWait(1500);
    EXPECT_EQ(other.process.state(), QProcess::Running);
    EXPECT_EQ(other.end().count(u"MPRIS2"_s), 1);
}

} // namespace

#include "MprisTest.moc"
