#include "common/SettingsFile.h"
#include "support/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QImage>

using namespace Qt::StringLiterals;
using namespace testsupport;
using fixtures::readFile;

namespace {

// Records the settings file as it was at the moment the player was told to stop.
class StopWatchingPlayer : public FakePlayer {
public:
    QString settingsPath;
    QByteArray fileAtStop;
    void stop() override {
        fileAtStop = readFile(settingsPath);
        FakePlayer::stop();
    }
};

// A song is playing when each test begins.
class CommandBarTest : public MainWindowTestT<StopWatchingPlayer> {
protected:
    void SetUp() override {
        m_player.settingsPath = iniPath();
        MainWindowTestT<StopWatchingPlayer>::SetUp();
        m_player.loadAll = true;
        ASSERT_TRUE(m_player.setFileName(u"/muziek/a.mp3"_s) && m_player.play());
        m_main->state().playback.setMode(PlaybackState::Mode::Playing);
        m_player.calls.clear();
        m_fileBefore = readFile(iniPath());
    }
    QString iniPath() const { return common::settingsFilePath(folder()); }
    void click(const QString& name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    // Button 9 and the given answer to its question; the boxes shown.
    QList<SeenBox> quit(QMessageBox::StandardButton answer) {
        ModalAnswerer answerer({answer});
        click(u"KnopBottom_9"_s);
        return answerer.seen();
    }
    QByteArray m_fileBefore;
};

} // namespace

TEST_F(CommandBarTest, HelpButtonTwiceBringsBackThePlaylistView) {
    for (int i = 0; i < 5; ++i) {
        m_main->playlist().append(u"Song %1"_s.arg(i), u"/m/Song %1.mp3"_s.arg(i));
    }
    auto* list2 = control<QListView>(u"List2"_s);
    auto* text1 = control<QPlainTextEdit>(u"Text1"_s);
    list2->setCurrentIndex(m_main->playlist().index(2, 0));
    const QImage before = list2->grab().toImage();
    click(u"KnopBottom_3"_s);
    EXPECT_TRUE(text1->isVisible());
    click(u"KnopBottom_3"_s);
    EXPECT_TRUE(text1->isHidden() && list2->isVisible());
    EXPECT_EQ(std::pair(list2->currentIndex().row(), list2->grab().toImage()), std::pair(2, before));
}

// Neither a No nor closing by the frame writes the changed settings; the frame asks nothing.
TEST_F(CommandBarTest, NoKeepsTheSongPlayingAndClosingByTheFrameAsksNothingBothWriteNothing) {
    m_main->state().settings.advertText = u"Veranderd"_s;
    const QList<SeenBox> boxes = quit(QMessageBox::No);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].titleAndText(), u" Exit|Wilt u het programma beeindigen?"_s);
    EXPECT_EQ(boxes[0].defaultButton, QMessageBox::Yes);
    EXPECT_FALSE(m_player.calls.contains(u"stop"_s));
    EXPECT_TRUE(m_player.playingNow && m_main->state().playback.isPlaying() && m_main->isVisible());
    EXPECT_EQ(readFile(iniPath()), m_fileBefore);

    ModalAnswerer none;
    EXPECT_TRUE(m_main->close());
    QTest::qWait(20);
    EXPECT_TRUE(none.seen().isEmpty() && !m_main->isVisible());
    EXPECT_EQ(readFile(iniPath()), m_fileBefore);
}

TEST_F(CommandBarTest, YesStopsThePlayerThenWritesEveryChangeAndCloses) {
    const QString logo = folder() + u"/logo.bmp"_s;
    QImage picture(50, 80, QImage::Format_RGB32);
    picture.fill(QColor(20, 120, 220));
    ASSERT_TRUE(picture.save(logo));
    // As the colour editor, the input box, the file chooser and the search window leave them.
    Settings& changed = m_main->state().settings;
    changed.rightColour = {255, 0, 0};
    changed.advertText = u"Muziek, altijd"_s; // the file must keep the comma
    changed.logoPath = logo;
    changed.searchFolder = u"/home/muziek/zoek hier"_s;
    const Settings expected = changed;
    EXPECT_EQ(readFile(iniPath()), m_fileBefore) << "nothing is written before the quit";

    ASSERT_EQ(quit(QMessageBox::Yes).size(), 1);
    EXPECT_EQ(m_player.calls.count(u"stop"_s), 1);
    EXPECT_EQ(m_player.fileAtStop, m_fileBefore) << "the player stops before the file is written";
    Settings written;
    ASSERT_TRUE(common::LoadSettings(iniPath(), written));
    EXPECT_EQ(written, expected);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    }

    // A new start shows the kept logo (MainStartup sees texts and colours read from the file).
    m_main.reset();
    startMain();
    const QImage shown = control<QLabel>(u"Logo"_s)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(20, 120, 220));
}

TEST_F(CommandBarTest, AnUnwritableSettingsFileIsReportedAndTheProgramStillEnds) {
    QFile::remove(iniPath());
    ASSERT_TRUE(QDir(folder()).mkdir(u"Tunara.ini"_s)); // a folder where the file goes
    const QList<SeenBox> boxes = quit(QMessageBox::Yes);
    ASSERT_EQ(boxes.size(), 2);
    const QString text = boxes[1].titleAndText();
    EXPECT_TRUE(text.startsWith(u"Tunara|De instellingen konden niet worden opgeslagen"_s) &&
                text.endsWith(u"\n(er staat een map met die naam)."_s))
        << text.toStdString();
    EXPECT_TRUE(m_player.calls.contains(u"stop"_s) && !m_main->isVisible());
}

// Last in this file: it runs the application's own event loop to its end, as the program does.
TEST_F(CommandBarTest, YesEndsTheRunningProgram) {
    QTimer::singleShot(0, m_main.get(), [this] { quit(QMessageBox::Yes); });
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(7); }); // a safety net only
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(!m_main->isVisible() && QFile::exists(iniPath()));
}
