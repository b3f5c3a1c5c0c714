#include "app/CommandBar.h"
#include "app/SettingsFile.h"
#include "appearance/MainWindowFixture.h"
#include "appearance/ModalHelper.h"
#include "playlist/PlaylistModel.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Records the settings file as it was at the moment the player was told to stop.
class StopWatchingPlayer : public FakePlayer {
public:
    QString settingsPath;
    QByteArray fileAtStop;
    void stop() override {
        fileAtStop = readAll(settingsPath);
        FakePlayer::stop();
    }
};

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

using CommandBarTest = MainWindowFixture;

class QuitTest : public MainWindowFixtureT<StopWatchingPlayer> {
protected:
    void SetUp() override {
        m_player.settingsPath = settingsFilePath(folder());
        MainWindowFixtureT<StopWatchingPlayer>::SetUp();
        m_player.loadAll = true;
        ASSERT_TRUE(m_player.setFileName(QStringLiteral("/muziek/a.mp3")));
        ASSERT_TRUE(m_player.play());
        m_main->state().playing = true;
        m_player.calls.clear();
    }

    QString iniPath() const { return settingsFilePath(folder()); }

    // Button 9 and the given answer; returns what the question looked like.
    std::shared_ptr<modal::Outcome> clickQuit(QMessageBox::StandardButton answer, QString* text = nullptr,
                                              QMessageBox::Icon* icon = nullptr,
                                              QMessageBox::StandardButton* defaultButton = nullptr) {
        const auto outcome = modal::answer<QMessageBox>([=](QMessageBox* box) {
            if (text) {
                *text = box->text();
            }
            if (icon) {
                *icon = box->icon();
            }
            if (defaultButton) {
                *defaultButton = box->standardButton(box->defaultButton());
            }
            box->button(answer)->click();
        });
        QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_9")), Qt::LeftButton);
        return outcome;
    }
};

} // namespace

TEST_F(CommandBarTest, HelpButtonTwiceBringsBackThePlaylistView) {
    for (int i = 0; i < 5; ++i) {
        m_main->playlist().append(QStringLiteral("Song %1").arg(i), QStringLiteral("/m/Song %1.mp3").arg(i));
    }
    auto* list2 = control<QListView>(QStringLiteral("List2"));
    auto* text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    list2->setCurrentIndex(m_main->playlist().index(2, 0));
    const QString helpText = text1->toPlainText();
    EXPECT_TRUE(text1->isHidden());
    const QImage before = list2->grab().toImage();

    QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_3")), Qt::LeftButton);
    EXPECT_TRUE(text1->isVisible());
    EXPECT_EQ(text1->geometry(), list2->geometry());
    // The help screen covers the playlist: what is seen at the playlist's centre is the help.
    EXPECT_EQ(m_main->childAt(list2->mapTo(m_main.get(), list2->rect().center()))->parentWidget(), text1);

    QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_3")), Qt::LeftButton);
    EXPECT_TRUE(text1->isHidden());
    EXPECT_TRUE(list2->isVisible());
    EXPECT_EQ(list2->currentIndex().row(), 2);
    EXPECT_EQ(m_main->playlist().count(), 5);
    EXPECT_EQ(text1->toPlainText(), helpText);
    EXPECT_EQ(list2->grab().toImage(), before);
}

TEST_F(CommandBarTest, WebButtonOpensTheSoftwarePage) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_2")), Qt::LeftButton);
    // Malformed addresses are dropped without a word.
    modal::Watchdog watchdog;
    OpenWebPage(m_main.get(), QString());
    OpenWebPage(m_main.get(), QStringLiteral("https://[nonsense"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.first(), QUrl(QStringLiteral("https://www.example.org/tunara/software")));
    EXPECT_EQ(catcher.urls.first().host(), QStringLiteral("www.example.org"));
    EXPECT_EQ(watchdog.count(), 0);
}

TEST_F(QuitTest, NoKeepsTheSongPlayingAndWritesNothing) {
    const QByteArray fileBefore = readAll(iniPath());
    m_main->state().settings.advertText = QStringLiteral("Veranderd");
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    const auto outcome = clickQuit(QMessageBox::No, &text, &icon, &defaultButton);
    ASSERT_TRUE(outcome->seen);
    EXPECT_EQ(outcome->title, QStringLiteral(" Exit"));
    EXPECT_EQ(text, QStringLiteral("Wilt u het programma beeindigen?"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(defaultButton, QMessageBox::Yes);

    EXPECT_FALSE(m_player.calls.contains(QStringLiteral("stop")));
    EXPECT_TRUE(m_player.playingNow);
    EXPECT_TRUE(m_main->state().playing);
    EXPECT_TRUE(m_main->isVisible());
    EXPECT_EQ(readAll(iniPath()), fileBefore);
}

TEST_F(QuitTest, YesStopsThePlayerThenWritesEveryChangeAndCloses) {
    const QByteArray fileBefore = readAll(iniPath());

    // Colours: the playlist pane to red through the colour editor.
    modal::answer<QDialog>([](QDialog* editor) {
        editor->findChild<QScrollBar*>(QStringLiteral("Scroll_1"))->setValue(255);
        editor->findChild<QScrollBar*>(QStringLiteral("Scroll_2"))->setValue(0);
        editor->findChild<QScrollBar*>(QStringLiteral("Scroll_3"))->setValue(0);
        editor->findChild<QPushButton*>(QStringLiteral("OkKnop"))->click();
    });
    QTest::mouseClick(control<QListView>(QStringLiteral("List2"))->viewport(), Qt::RightButton);

    // Advertisement text, with a comma that the file must keep.
    modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("Muziek, altijd"));
        box->accept();
    });
    QTest::mouseDClick(control<QWidget>(QStringLiteral("ReclameLabel")), Qt::LeftButton);

    // Logo.
    const QString logo = folder() + QStringLiteral("/logo.bmp");
    QImage picture(50, 80, QImage::Format_RGB32);
    picture.fill(QColor(20, 120, 220));
    ASSERT_TRUE(picture.save(logo));
    modal::answer<QFileDialog>([logo](QFileDialog* dialog) {
        dialog->selectFile(logo);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseDClick(control<QWidget>(QStringLiteral("Logo")), Qt::LeftButton);

    // Search folder (set by the search window).
    m_main->state().settings.searchFolder = QStringLiteral("/home/muziek/zoek hier");
    const Settings expected = m_main->state().settings;
    ASSERT_EQ(expected.rightColour, (ColourTriple{255, 0, 0}));
    ASSERT_EQ(expected.advertText, QStringLiteral("Muziek, altijd"));
    ASSERT_EQ(expected.logoPath, logo);
    EXPECT_EQ(readAll(iniPath()), fileBefore) << "nothing is written before the quit";

    const auto outcome = clickQuit(QMessageBox::Yes);
    ASSERT_TRUE(outcome->seen);
    EXPECT_EQ(m_player.calls.count(QStringLiteral("stop")), 1);
    EXPECT_FALSE(m_player.playingNow);
    EXPECT_EQ(m_player.fileAtStop, fileBefore) << "the player stops before the file is written";

    Settings written;
    ASSERT_TRUE(LoadSettings(iniPath(), written));
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(m_main->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    }

    // A new start shows what the quit kept.
    m_main.reset();
    startMain();
    EXPECT_EQ(control<QLabel>(QStringLiteral("ReclameLabel"))->text(), QStringLiteral("Muziek, altijd"));
    EXPECT_EQ(control<QListView>(QStringLiteral("List2"))->palette().color(QPalette::Base),
              QColor(255, 0, 0));
    const QImage shown = control<QLabel>(QStringLiteral("Logo"))->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(20, 120, 220));
}

TEST_F(QuitTest, AnUnwritableSettingsFileIsReportedAndTheProgramStillEnds) {
    QFile::remove(iniPath());
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("Tunara.ini"))); // a folder where the file goes
    QString report;
    const auto failure = std::make_shared<modal::Outcome>();
    const auto question = modal::answer<QMessageBox>([&report, failure](QMessageBox* box) {
        modal::answer<QMessageBox>([&report, failure](QMessageBox* failed) {
            failure->seen = true;
            failure->title = failed->windowTitle();
            report = failed->text();
            failed->button(QMessageBox::Ok)->click();
        });
        box->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_9")), Qt::LeftButton);
    ASSERT_TRUE(question->seen);
    EXPECT_TRUE(failure->seen);
    EXPECT_EQ(failure->title, QStringLiteral("Tunara"));
    EXPECT_TRUE(report.startsWith(QStringLiteral("De instellingen konden niet worden opgeslagen")))
        << report.toStdString();
    EXPECT_TRUE(m_player.calls.contains(QStringLiteral("stop")));
    EXPECT_FALSE(m_main->isVisible());
}

TEST_F(QuitTest, ClosingByTheFrameAsksNothingAndKeepsTheOldFile) {
    const QByteArray fileBefore = readAll(iniPath());
    m_main->state().settings.advertText = QStringLiteral("Gaat verloren");
    m_main->state().settings.leftColour = ColourTriple{1, 2, 3};
    modal::Watchdog watchdog;
    EXPECT_TRUE(m_main->close());
    QTest::qWait(20);
    EXPECT_EQ(watchdog.count(), 0);
    EXPECT_FALSE(m_main->isVisible());
    EXPECT_EQ(readAll(iniPath()), fileBefore);
}

// Last in this file: it runs the application's own event loop to its end, as the program does.
TEST_F(QuitTest, YesEndsTheRunningProgram) {
    QTimer::singleShot(0, m_main.get(), [this] {
        modal::answer<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_9")), Qt::LeftButton);
    });
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(7); }); // a safety net only
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(m_main->isVisible());
    EXPECT_TRUE(QFile::exists(iniPath()));
}

#include "CommandBarTest.moc"
