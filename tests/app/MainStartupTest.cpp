#include "app/ClockText.h"
#include "common/SettingsFile.h"
#include "support/MainWindow.h"
#include "widgets/ElidingLabel.h"
#include "widgets/Plaatjes.h"

#include <QFontInfo>

#include <array>
#include <tuple>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace testsupport;
using fixtures::readFile;
using fixtures::writeFile;

namespace {

// Per line a holder and its controls: name, left, top, width, height in twips (15 twips are one
// pixel). A width with "~" is a text label, slider or drive list: at least that wide, its own height.
const char* const kLayout[] = {
    "Main: Frame1 75 30 15120 615, Frame2 75 660 6900 8550, Frame3 7110 660 1050 8550",
    "Main: Frame4 8295 660 6900 8550, Frame6 75 9210 15120 795, Frame5 75 10005 15120 990",
    "Frame1: ReclameLabel 150 225 ~12000 285",
    "Frame2: Drive1 120 210 ~3360 390, Dir1 120 615 3345 2790, Logoback 3570 210 3195 3195",
    "Logoback: Logo 75 75 3000 3000",
    "Frame2: Label1 120 3480 6660 420, TellerLabel 210 3510 ~2295 315, List1 120 3975 6660 3870",
    "Frame2: Label5 120 7950 2460 480, KnopL_1 150 7980 1200 420, KnopL_2 1350 7980 1200 420",
    "Frame3: Label2 180 6000 675 1290, SelectieKnop 210 6030 615 615, SelectieAllKnop 210 6645 615 615",
    "Frame4: Label9 120 210 3960 435, Label10 240 255 ~2355 315, Label11 4200 210 2565 435",
    "Frame4: Ballans 4245 255 ~2040 330, Label12 6480 300 ~135 285, List2 120 750 6645 7080",
    "Frame4: Text1 120 750 6645 7080, Label3 120 7950 2460 480, KnopR_1 150 7980 1200 420",
    "Frame4: KnopR_2 1350 7980 1200 420, Label4 2700 7950 4080 480, Slider1 2745 8010 ~3150 345",
    "Frame4: PosLabel 5970 8055 ~630 285",
    "Frame6: Label6 105 225 8100 450, InfoLabel 210 270 ~4275 315, BackKnoppen 8340 210 4860 480",
    "Frame6: Knop_1 8370 240 1200 420, Knop_2 9570 240 1200 420, Knop_3 10770 240 1200 420",
    "Frame6: Knop_4 11970 240 1200 420, Label7 13290 210 1710 480, Slider2 13335 270 ~1260 345",
    "Frame6: VolumeLabel 14565 315 ~270 285",
    "Frame5: Label13 135 210 3360 660, KnopBottom_1 825 240 660 600, KnopBottom_2 1485 240 660 600",
    "Frame5: KnopBottom_3 2145 240 660 600, KnopBottom_4 2805 240 660 600, Label8 8355 210 2040 660",
    "Frame5: KnopBottom_5 8385 240 660 600, KnopBottom_6 9045 240 660 600, KnopBottom_7 9705 240 660 600",
    "Frame5: ExitLabel 14280 210 720 660, KnopBottom_9 14310 240 660 600",
};

using Colours = std::array<ColourTriple, 4>; // left pane, right pane, info bars, texts
const Colours kDefaultColours{{{200, 230, 230}, {230, 230, 200}, {190, 190, 200}, {100, 70, 40}}};

// One control of each pane shows the pane's colour.
void expectColours(const MainControls& c, const Colours& t) {
    const auto colour = [&t](int i) { return QColor(t[i].red, t[i].green, t[i].blue); };
    EXPECT_EQ(c.List1->palette().color(QPalette::Base), colour(0));
    EXPECT_EQ(c.List2->palette().color(QPalette::Base), colour(1));
    EXPECT_EQ(c.Label6->palette().color(QPalette::Window), colour(2));
    EXPECT_EQ(c.InfoLabel->palette().color(QPalette::WindowText), colour(3));
}

// Each test starts with the first start of the program in an empty folder.
class MainStartup : public MainWindowTest {
protected:
    QString ini() const { return common::settingsFilePath(folder()); }
};

TEST_F(MainStartup, FirstStartInAnEmptyFolderShowsTheDefaultsAndWritesTheFile) {
    expectColours(c(), kDefaultColours);
    EXPECT_EQ(c().ReclameLabel->text(), u"Hier kan uw reclame tekst staan..."_s);
    EXPECT_EQ(readFile(ini()), common::settingsFileBytes(Settings{}));

    // A program folder that cannot be written starts the same.
    ASSERT_TRUE(writeFile(m_dir.filePath(u"plain"_s), "x"));
    Main unwritable(m_dir.filePath(u"plain/map"_s), m_player);
    expectColours(unwritable.controls(), kDefaultColours);
    EXPECT_EQ(unwritable.state().settings, Settings{});
}

TEST_F(MainStartup, ShortFileIsRewrittenWithEightLinesAndACompleteOneLeftAlone) {
    ASSERT_TRUE(writeFile(ini(), "10,20,30\r\n40,50,60\r\n70,80,90\r\n1,2,3\r\n"));
    startMain();
    expectColours(c(), {{{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}}});
    EXPECT_EQ(readFile(ini()), "10,20,30\r\n40,50,60\r\n70,80,90\r\n1,2,3\r\n\"Tunara 1\"\r\n"
                               "\"Hier kan uw reclame tekst staan...\"\r\n\"\"\r\n\"C:/mp3\"\r\n");

    const QByteArray complete = "10,20,30\r\n40,50,60\r\n70,80,90\r\n300,-5,127.5\r\n\"Tunara 1\"\r\n"
                                "\"Welkom, luisteraar\"\r\n\"\"\r\n\"/muziek\"\r\n\"extra regel\"\r\n";
    ASSERT_TRUE(writeFile(ini(), complete));
    startMain();
    EXPECT_EQ(c().ReclameLabel->text(), u"Welkom, luisteraar"_s);
    // Out-of-range components show clamped; the record keeps what was read.
    EXPECT_EQ(c().Label10->palette().color(QPalette::WindowText), QColor(255, 0, 128));
    EXPECT_EQ(m_main->state().settings.textColour, (ColourTriple{300, -5, 128}));
    EXPECT_EQ(readFile(ini()), complete);
}

TEST_F(MainStartup, LogoThatCannotBeReadGivesTheBuiltInLogoWithoutAMessage) {
    Settings s;
    s.logoPath = m_dir.filePath(u"weg.jpg"_s);
    ASSERT_TRUE(common::SaveSettings(ini(), s));
    ModalAnswerer none;
    startMain();
    const auto argb = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    const QImage builtIn =
        argb(Plaatjes::Img(2).pixmap(QSize(200, 200), c().Logo->pixmap().devicePixelRatio()));
    EXPECT_EQ(argb(c().Logo->pixmap()), builtIn);
    EXPECT_EQ(m_main->state().settings.logoPath, s.logoPath);

    // A named pipe must not be waited for; a folder or a file that is no picture keep the logo too.
    const QString pipe = m_dir.filePath(u"pijp.png"_s), broken = m_dir.filePath(u"kapot.png"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(writeFile(broken, "geen plaatje"));
    for (const QString& path : {pipe, folder(), broken}) {
        EXPECT_FALSE(m_main->loadLogo(path)) << path.toStdString();
    }
    EXPECT_EQ(argb(c().Logo->pixmap()), builtIn);
    EXPECT_TRUE(none.seen().isEmpty());
}

TEST_F(MainStartup, HelpHiddenPlaylistVisibleVolumeSevenAndTimers) {
    EXPECT_EQ(m_main->windowTitle(), u" Tunara"_s);
    // The layout with a 5-pixel margin all round, so the framed window fits a 1024 x 768 screen.
    // (The control table places every frame and Text1 over List2.)
    EXPECT_EQ(std::pair(m_main->minimumSize(), m_main->maximumSize()),
              std::pair(QSize(1018, 738), QSize(1018, 738)));
    EXPECT_TRUE(c().Text1->isHidden() && c().List2->isVisible());
    EXPECT_FALSE(c().BackList->isVisible() || c().File1->isVisible()); // lists that are never shown
    EXPECT_EQ(std::tuple(c().VolumeLabel->text(), c().Slider2->value(), m_player.calls.filter(u"volume"_s),
                         c().Ballans->value()),
              std::tuple(u"7"_s, 1750, QStringList{u"volume -750"_s}, 0));
    EXPECT_TRUE(!c().Timer1->isActive() && c().Timer2->isActive());

    // The help text box holds the help text's twenty-four lines.
    const QStringList lines = m_main->helpText().split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 25); // the last line ends in CR LF too
    EXPECT_EQ(lines[0], u"  Uitleg programma..."_s);
    EXPECT_EQ(lines[23], u"  Druk nogmaals op de helpknop om dit helpscherm te verlaten."_s);
    EXPECT_EQ(c().Text1->toPlainText(), lines.join(u'\n'));
}

TEST_F(MainStartup, FontsAreSubstitutedAndTheClockTicks) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{c().List1, c().List2, c().Dir1, c().Text1, c().InfoLabel,
                                         c().Label10, c().Klok, c().PosLabel, c().VolumeLabel, c().Label12}) {
        const bool arial = qobject_cast<QLabel*>(w) && w != c().InfoLabel && w != c().Label10;
        EXPECT_EQ(w->font().family(), arial ? u"Arial"_s : u"Comic Sans MS"_s);
        EXPECT_EQ(QFontInfo(w->font()).family(), arial ? u"Liberation Sans"_s : u"Comic Neue"_s)
            << w->objectName().toStdString();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return c().Klok->text() != u"00:00"_s; }, 2000));
    // The text for now, or for the second before if the tick came just before it.
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = c().Klok->text();
    EXPECT_TRUE(text == app::clockText(now, QLocale()) || text == app::clockText(now.addSecs(-1), QLocale()))
        << text.toStdString();
    EXPECT_GE(c().Klok->width(), c().Klok->fontMetrics().horizontalAdvance(text));
}

TEST_F(MainStartup, EveryControlOfTheTableIsInItsPlace) {
    for (const char* line : kLayout) {
        const QStringList holderAndControls = QString::fromLatin1(line).split(u": "_s);
        for (const QString& entry : holderAndControls[1].split(u", "_s)) {
            const QStringList f = entry.split(u' ');
            SCOPED_TRACE(entry.toStdString());
            QWidget* w = m_main->findChild<QWidget*>(f[0]);
            ASSERT_TRUE(w && w->parentWidget());
            EXPECT_EQ(w->parentWidget()->objectName(), holderAndControls[0]);
            EXPECT_EQ(w->pos(), QPoint(f[1].toInt() / 15, f[2].toInt() / 15));
            if (f[3].startsWith(u'~')) {
                EXPECT_GE(w->width(), f[3].mid(1).toInt() / 15);
            } else {
                EXPECT_EQ(w->size(), QSize(f[3].toInt() / 15, f[4].toInt() / 15));
            }
        }
    }
    // The clock keeps its right edge, however long its text.
    ASSERT_EQ(c().Klok->parentWidget()->objectName(), u"Frame1"_s);
    EXPECT_EQ(c().Klok->geometry().topRight(), QPoint((14370 + 630) / 15 - 1, 225 / 15));
}

TEST_F(MainStartup, TextLabelsFitTheirLongestTextsAndStayOnTheirBars) {
    const std::tuple<QLabel*, const char*, QLabel*> cases[] = {
        {c().Label12, "-10", c().Label11},
        {c().VolumeLabel, "10", c().Label7},
        {c().PosLabel, "12:45", c().Label4},
        {c().TellerLabel, "32767 Songs / Mp3, Midi", c().Label1},
        {c().Label10, "32767 Songs in de playlist", c().Label9},
        {c().InfoLabel, "", c().Label6},
        {c().ReclameLabel, "Hier kan uw reclame tekst staan...", nullptr},
    };
    for (const auto& [label, text, bar] : cases) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(QString::fromUtf8(text)), label->width());
        EXPECT_TRUE(!bar || label->geometry().right() <= bar->geometry().right());
    }
    // A song name too long for the info line ends in an ellipsis; the label and its tooltip keep
    // the whole name.
    auto* info = static_cast<ElidingLabel*>(c().InfoLabel);
    const QString longName = u"Een heel lange songnaam "_s.repeated(8);
    info->setText(longName);
    info->grab();
    EXPECT_TRUE(info->shownText().endsWith(u'\u2026'));
    EXPECT_LE(info->fontMetrics().horizontalAdvance(info->shownText()), info->contentsRect().width());
    EXPECT_EQ(QStringList({info->text(), info->toolTip()}), QStringList({longName, longName}));
    info->setText(u"Kort"_s);
    info->grab();
    EXPECT_EQ(QStringList({info->shownText(), info->toolTip()}), QStringList({u"Kort"_s, QString()}));
}

} // namespace
