#include "app/ClockText.h"
#include "app/Main.h"
#include "app/SettingsFile.h"
#include "appearance/PictureButton.h"
#include "appearance/Plaatjes.h"
#include "support/FakePlayer.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace {

QColor background(QWidget* w) {
    return w->palette().color(w->backgroundRole() == QPalette::Base ? QPalette::Base : QPalette::Window);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class MainStartup : public ::testing::Test {
protected:
    QString iniPath() const { return settingsFilePath(m_dir.path()); }

    Main& start() {
        m_main = std::make_unique<Main>(m_dir.path(), m_player);
        return *m_main;
    }

    // Every top-level widget that is shown: a message box would be one.
    static int visibleTopLevels() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            n += w->isVisible() ? 1 : 0;
        }
        return n;
    }

    QTemporaryDir m_dir;
    FakePlayer m_player;
    std::unique_ptr<Main> m_main;
};

TEST_F(MainStartup, FirstStartInAnEmptyFolderShowsTheDefaultsAndWritesTheFile) {
    Main& m = start();
    const MainControls& c = m.controls();
    EXPECT_EQ(c.List1->palette().color(QPalette::Base), QColor(200, 230, 230));
    EXPECT_EQ(c.Dir1->palette().color(QPalette::Base), QColor(200, 230, 230));
    EXPECT_EQ(c.List2->palette().color(QPalette::Base), QColor(230, 230, 200));
    EXPECT_EQ(c.Text1->palette().color(QPalette::Base), QColor(230, 230, 200));
    EXPECT_EQ(background(c.Label1), QColor(190, 190, 200));
    EXPECT_EQ(background(c.Label6), QColor(190, 190, 200));
    EXPECT_EQ(background(c.Label9), QColor(190, 190, 200));
    EXPECT_EQ(c.InfoLabel->palette().color(QPalette::WindowText), QColor(100, 70, 40));
    EXPECT_EQ(c.TellerLabel->palette().color(QPalette::WindowText), QColor(100, 70, 40));
    EXPECT_EQ(c.Label10->palette().color(QPalette::WindowText), QColor(100, 70, 40));
    EXPECT_EQ(c.ReclameLabel->text(), QStringLiteral("Hier kan uw reclame tekst staan..."));
    EXPECT_FALSE(c.Logo->pixmap().isNull());
    EXPECT_EQ(m.state().settings, Settings{});

    EXPECT_EQ(readFile(iniPath()), settingsFileBytes(Settings{}));
    EXPECT_TRUE(readFile(iniPath()).startsWith("200,230,230\r\n230,230,200\r\n190,190,200\r\n100,70,40\r\n"));
}

TEST_F(MainStartup, FileOfOnlyTheColoursIsUsedAndRewrittenWithEightLines) {
    writeFile(iniPath(), "10,20,30\r\n40,50,60\r\n70,80,90\r\n1,2,3\r\n");
    Main& m = start();
    const MainControls& c = m.controls();
    EXPECT_EQ(c.List1->palette().color(QPalette::Base), QColor(10, 20, 30));
    EXPECT_EQ(c.List2->palette().color(QPalette::Base), QColor(40, 50, 60));
    EXPECT_EQ(background(c.Label6), QColor(70, 80, 90));
    EXPECT_EQ(c.InfoLabel->palette().color(QPalette::WindowText), QColor(1, 2, 3));
    EXPECT_EQ(readFile(iniPath()), QByteArray("10,20,30\r\n40,50,60\r\n70,80,90\r\n1,2,3\r\n"
                                              "\"Tunara 1\"\r\n\"Hier kan uw reclame tekst staan...\"\r\n"
                                              "\"\"\r\n\"C:/mp3\"\r\n"));
}

TEST_F(MainStartup, CompleteFileIsAppliedAndLeftAlone) {
    const QByteArray bytes = "10,20,30\r\n40,50,60\r\n70,80,90\r\n300,-5,127.5\r\n\"Tunara 1\"\r\n"
                             "\"Welkom, luisteraar\"\r\n\"\"\r\n\"/muziek\"\r\n\"extra regel\"\r\n";
    writeFile(iniPath(), bytes);
    Main& m = start();
    EXPECT_EQ(m.controls().ReclameLabel->text(), QStringLiteral("Welkom, luisteraar"));
    // Out-of-range components show clamped; the record keeps what was read.
    EXPECT_EQ(m.controls().Label10->palette().color(QPalette::WindowText), QColor(255, 0, 128));
    EXPECT_EQ(m.state().settings.textColour, (ColourTriple{300, -5, 128}));
    EXPECT_EQ(m.state().settings.searchFolder, QStringLiteral("/muziek"));
    EXPECT_EQ(readFile(iniPath()), bytes);
}

TEST_F(MainStartup, LogoPathOfADeletedFileGivesTheBuiltInLogoWithoutAMessage) {
    Settings s;
    s.logoPath = m_dir.path() + QStringLiteral("/weg.jpg");
    ASSERT_TRUE(SaveSettings(iniPath(), s));
    Main& m = start();
    EXPECT_EQ(visibleTopLevels(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QImage shown = m.controls().Logo->pixmap().toImage();
    const QImage builtIn =
        Plaatjes::Img(2).pixmap(QSize(200, 200), m.controls().Logo->pixmap().devicePixelRatio()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), builtIn.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(m.state().settings.logoPath, s.logoPath);

    // Neither does a named pipe, which must not be waited for, nor a folder.
    const QString pipe = m_dir.path() + QStringLiteral("/pijp.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(m.loadLogo(pipe));
    EXPECT_FALSE(m.loadLogo(m_dir.path()));

    // A file that is not a picture keeps the logo as well.
    writeFile(m_dir.path() + QStringLiteral("/kapot.png"), "geen plaatje");
    EXPECT_FALSE(m.loadLogo(m_dir.path() + QStringLiteral("/kapot.png")));
    EXPECT_EQ(m.controls().Logo->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              builtIn.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(MainStartup, LogoFromTheSettingsIsStretchedOverTheLogo) {
    QImage red(50, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString png = m_dir.path() + QStringLiteral("/rood.png");
    ASSERT_TRUE(red.save(png));
    Settings s;
    s.logoPath = png;
    ASSERT_TRUE(SaveSettings(iniPath(), s));
    Main& m = start();
    const QPixmap shown = m.controls().Logo->pixmap();
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(200, 200));
    EXPECT_EQ(shown.toImage().pixelColor(190, 5), QColor(Qt::red));
    EXPECT_TRUE(m.controls().Logo->hasScaledContents());
}

TEST_F(MainStartup, HelpHiddenPlaylistVisibleVolumeSevenAndTimers) {
    Main& m = start();
    const MainControls& c = m.controls();
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    EXPECT_FALSE(c.Text1->isVisible());
    EXPECT_TRUE(c.Text1->isReadOnly());
    EXPECT_TRUE(c.List2->isVisible());
    EXPECT_FALSE(c.BackList->isVisible());
    EXPECT_FALSE(c.File1->isVisible());

    EXPECT_EQ(c.VolumeLabel->text(), QStringLiteral("7"));
    EXPECT_EQ(c.Slider2->value(), 1750);
    EXPECT_EQ(c.Slider2->minimum(), 0);
    EXPECT_EQ(c.Slider2->maximum(), 2500);
    EXPECT_EQ(c.Slider2->singleStep(), 1);
    EXPECT_EQ(c.Slider2->pageStep(), 10);
    EXPECT_EQ(c.Slider2->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(m_player.calls.filter(QStringLiteral("volume")), QStringList{QStringLiteral("volume -750")});
    EXPECT_EQ(m_player.volume, -750);
    EXPECT_EQ(c.Ballans->minimum(), -5000);
    EXPECT_EQ(c.Ballans->maximum(), 5000);
    EXPECT_EQ(c.Ballans->value(), 0);
    EXPECT_EQ(c.Label12->text(), QStringLiteral("0"));

    EXPECT_FALSE(c.Timer1->isActive());
    EXPECT_EQ(c.Timer1->interval(), 60);
    EXPECT_TRUE(c.Timer2->isActive());
    EXPECT_FALSE(m.state().playing);
    EXPECT_FALSE(m.state().paused);
    EXPECT_FALSE(m.state().editLeft || m.state().editRight || m.state().editInfoBars || m.state().editTexts);
    for (int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
        EXPECT_TRUE(c.KnopBottom[i]->isEnabled()) << i;
    }
    EXPECT_TRUE(m_player.calls.filter(QStringLiteral("play")).isEmpty());
}

TEST_F(MainStartup, HelpTextHasItsTwentyFourLines) {
    Main& m = start();
    const QString help = m.helpText();
    const QStringList lines = help.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 25); // the last line ends in CR LF too
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("  Uitleg programma..."));
    EXPECT_EQ(lines[5],
              QStringLiteral("  4. U kunt uw favoriete playlist opslaan om snel uw muziek te starten"));
    EXPECT_TRUE(lines[6].isEmpty());
    EXPECT_EQ(lines[15], QStringLiteral("  --------------------------------------"));
    for (int i : {19, 20, 21}) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("  ")) && lines[i].size() > 4) << i;
    }
    EXPECT_EQ(lines[23], QStringLiteral("  Druk nogmaals op de helpknop om dit helpscherm te verlaten."));
    EXPECT_EQ(help.count(u'\r'), 24);
    // The text box shows the same lines.
    QString shown = help;
    shown.remove(u'\r');
    EXPECT_EQ(m.controls().Text1->toPlainText(), shown);
}

TEST_F(MainStartup, WindowCaptionSizeTextsAndFonts) {
    Main& m = start();
    const MainControls& c = m.controls();
    EXPECT_EQ(m.windowTitle(), QStringLiteral(" Tunara"));
    EXPECT_EQ(m.size(), QSize(1024, 768));
    EXPECT_EQ(m.minimumSize(), QSize(1024, 768));
    EXPECT_EQ(m.maximumSize(), QSize(1024, 768));
    EXPECT_EQ(m.pos(), QPoint(0, 0));

    EXPECT_EQ(c.Klok->text(), QStringLiteral("00:00"));
    EXPECT_EQ(c.PosLabel->text(), QStringLiteral("00:00"));
    EXPECT_EQ(c.TellerLabel->text(), QStringLiteral("0 Songs / Mp3, Midi"));
    EXPECT_EQ(c.Label10->text(), QStringLiteral("0 Songs in de playlist"));
    EXPECT_EQ(c.InfoLabel->text(), QStringLiteral("Selecteer met de navigatie de songs..."));
    EXPECT_EQ(c.List2->toolTip(), QStringLiteral(" Playlist "));
    EXPECT_EQ(c.Label6->toolTip(), QStringLiteral(" Informatie "));
    EXPECT_EQ(c.KnopBottom[9]->toolTip(), QStringLiteral(" Afsluiten en gegevens opslaan "));
    EXPECT_EQ(c.SelectieKnop->toolTip(), QStringLiteral(" Copyeer song  "));
    EXPECT_EQ(c.Slider2->toolTip(), QStringLiteral(" Volume "));
    EXPECT_EQ(c.Ballans->toolTip(), QStringLiteral(" Balance "));
    EXPECT_TRUE(c.Knop[1]->toolTip().isEmpty());
    EXPECT_TRUE(c.KnopL[2]->toolTip().isEmpty());

    for (QWidget* w : std::initializer_list<QWidget*>{c.List1, c.List2, c.Drive1, c.Dir1, c.Text1,
                                                      c.InfoLabel, c.TellerLabel, c.Label10}) {
        EXPECT_EQ(w->font().family(), QStringLiteral("Comic Sans MS")) << w->objectName().toStdString();
        EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("Comic Neue"))
            << w->objectName().toStdString();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{c.Klok, c.PosLabel, c.VolumeLabel, c.Label12}) {
        EXPECT_EQ(w->font().family(), QStringLiteral("Arial")) << w->objectName().toStdString();
        EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("Liberation Sans"))
            << w->objectName().toStdString();
    }

    m.SetInfoLine(QStringLiteral("Speeltijd: 3:07"));
    EXPECT_EQ(c.InfoLabel->text(), QStringLiteral("Speeltijd: 3:07"));
    m.SetInfoLine(QString());
    EXPECT_TRUE(c.InfoLabel->text().isEmpty());
}

TEST_F(MainStartup, ClockShowsTimeAndDateAndStaysInItsStrip) {
    Main& m = start();
    const MainControls& c = m.controls();
    const int rightEdge = c.Klok->geometry().right();
    m.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.Klok->text() != QStringLiteral("00:00"); }, 2000));
    // The text is the one for now, or for the second before if the tick came just before it.
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = c.Klok->text();
    EXPECT_TRUE(text == ClockText::format(now, QLocale()) ||
                text == ClockText::format(now.addSecs(-1), QLocale()))
        << text.toStdString();
    EXPECT_EQ(c.Klok->geometry().right(), rightEdge);
    EXPECT_GE(c.Klok->width(), c.Klok->fontMetrics().horizontalAdvance(text));
    EXPECT_GT(c.Klok->x(), c.ReclameLabel->x());

    // Later ticks come once a second, just after it turns.
    const QString first = c.Klok->text();
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.Klok->text() != first; }, 2000));
    const int ms = QTime::currentTime().msec();
    EXPECT_LT(ms, 400) << "the tick should follow the whole second closely";
    EXPECT_TRUE(c.Timer2->isActive());
    EXPECT_GT(c.Timer2->remainingTime(), 400);
}

TEST_F(MainStartup, ProgramFolderThatCannotBeWrittenStillStarts) {
    writeFile(m_dir.path() + QStringLiteral("/plain"), "x");
    FakePlayer player;
    Main m(m_dir.path() + QStringLiteral("/plain/map"), player);
    EXPECT_EQ(m.controls().List1->palette().color(QPalette::Base), QColor(200, 230, 230));
    EXPECT_EQ(m.controls().ReclameLabel->text(), QStringLiteral("Hier kan uw reclame tekst staan..."));
    EXPECT_EQ(m.state().settings, Settings{});
}

} // namespace
