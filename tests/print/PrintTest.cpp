#include "app/Main.h"
#include "appearance/MainWindowFixture.h"
#include "appearance/ModalHelper.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PrintController.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pageText(const QString& pdf, int page) {
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), pdf, QStringLiteral("-")});
}

int pageCount(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList nonEmptyLines(const QString& text) {
    QStringList lines;
    for (const QString& l : text.split(QLatin1Char('\n'))) {
        if (!l.trimmed().isEmpty()) {
            lines << l;
        }
    }
    return lines;
}

// A word's box on the page, in points from the top left corner, from pdftotext -bbox.
struct WordBox {
    double xMin = -1, yMin = -1;
};
WordBox firstWordBox(const QString& pdf, const QString& word) {
    const QString html = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                              QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    const QRegularExpression re(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>%1</word>")
                                    .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = re.match(html);
    if (!m.hasMatch()) {
        return {};
    }
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

class PrintTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        m_pdf = folder() + QStringLiteral("/playlist.pdf");
        m_main->printController().setPdfOutput(m_pdf);
    }
    void TearDown() override {
        // For looking at the page: TUNARA_KEEP_PRINTS=<folder> keeps a copy of each test's PDF.
        if (const QString keep = qEnvironmentVariable("TUNARA_KEEP_PRINTS");
            !keep.isEmpty() && QFile::exists(m_pdf)) {
            const QString name =
                QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
            QFile::remove(keep + QLatin1Char('/') + name + QStringLiteral(".pdf"));
            QFile::copy(m_pdf, keep + QLatin1Char('/') + name + QStringLiteral(".pdf"));
        }
        QLocale::setDefault(QLocale::system());
        MainWindowFixture::TearDown();
    }

    void addSongs(int n) {
        for (int i = 1; i <= n; ++i) {
            m_main->playlist().append(QStringLiteral("Liedje %1").arg(i),
                                      QStringLiteral("/muziek/Liedje %1.mp3").arg(i));
        }
        m_main->playlist().refreshCount();
    }

    // Button 5, then the menu item, as a person chooses it.
    void printFromMenu(int item) {
        control<QWidget>(QStringLiteral("KnopBottom_5"));
        QTest::mouseClick(m_main->findChild<QWidget*>(QStringLiteral("KnopBottom_5")), Qt::LeftButton);
        QMenu* menu = m_main->findChild<QMenu*>(QStringLiteral("Printmenu"));
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        QAction* action = menu->findChild<QAction*>(QStringLiteral("Printnummers_%1").arg(item));
        if (!action) {
            action = m_main->findChild<QAction*>(QStringLiteral("Printnummers_%1").arg(item));
        }
        ASSERT_NE(action, nullptr);
        menu->hide();
        action->trigger();
    }

    QString m_pdf;
};

} // namespace

TEST_F(PrintTest, AnEmptyPlaylistPrintsNothing) {
    const QString info = control<QLabel>(QStringLiteral("InfoLabel"))->text();
    modal::Watchdog watchdog;
    printFromMenu(1);
    printFromMenu(2);
    m_main->printController().printnummers_Click(1);
    QTest::qWait(20);
    EXPECT_EQ(watchdog.count(), 0);
    EXPECT_FALSE(QFile::exists(m_pdf));
    EXPECT_EQ(control<QLabel>(QStringLiteral("InfoLabel"))->text(), info);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintTest, NumberedPageHasHeadingSeparatorAndNumberedEntries) {
    addSongs(3);
    printFromMenu(1);
    ASSERT_TRUE(QFile::exists(m_pdf));
    EXPECT_EQ(pageCount(m_pdf), 1);
    const QStringList lines = nonEmptyLines(pageText(m_pdf, 1));
    ASSERT_EQ(lines.size(), 5) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^\\s*Playlist / \\w+dag \\d{1,2} \\w+ \\d{4}, \\d{1,2}:\\d\\d:\\d\\d\\s*$"))
            .match(lines[0])
            .hasMatch())
        << lines[0].toStdString();
    // The separator runs off the right edge of the paper; what is on the page is hyphens only.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\s*-{60,}\\s*$")).match(lines[1]).hasMatch())
        << lines[1].toStdString();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\s*%1\\.\\s+Liedje %1\\s*$").arg(i))
                        .match(lines[1 + i])
                        .hasMatch())
            << lines[1 + i].toStdString();
    }
    EXPECT_EQ(control<QLabel>(QStringLiteral("InfoLabel"))->text(), QStringLiteral("Bezig met afdrukken..."));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintTest, TheGapAfterTheNumberIsAPointAndThreeBlanks) {
    m_main->playlist().append(QStringLiteral("Zee"), QStringLiteral("/m/Zee.mp3"));
    printFromMenu(1);
    // Raw text keeps the blanks as drawn.
    const QString raw =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), m_pdf, QStringLiteral("-")});
    EXPECT_TRUE(raw.contains(QStringLiteral("1.   Zee")) || raw.contains(QStringLiteral("1. Zee")))
        << raw.toStdString();
    const WordBox number = firstWordBox(m_pdf, QStringLiteral("1."));
    const WordBox name = firstWordBox(m_pdf, QStringLiteral("Zee"));
    ASSERT_GE(number.xMin, 0.0);
    ASSERT_GE(name.xMin, 0.0);
    // "1." is about 8 points wide at 10 point; three blanks add about 8 more.
    EXPECT_GT(name.xMin - number.xMin, 13.0);
    EXPECT_LT(name.xMin - number.xMin, 20.0);
}

TEST_F(PrintTest, UnnumberedPageDiffersOnlyInThePrefixes) {
    addSongs(3);
    printFromMenu(2);
    ASSERT_TRUE(QFile::exists(m_pdf));
    const QStringList lines = nonEmptyLines(pageText(m_pdf, 1));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].trimmed().startsWith(QStringLiteral("Playlist / ")));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(lines[1 + i].trimmed(), QStringLiteral("Liedje %1").arg(i));
    }
    // Same places: the entries start where the heading does, 600 twips (30 points) lower.
    const WordBox heading = firstWordBox(m_pdf, QStringLiteral("Playlist"));
    const WordBox first = firstWordBox(m_pdf, QStringLiteral("Liedje"));
    ASSERT_GE(heading.xMin, 0.0);
    ASSERT_GE(first.xMin, 0.0);
    EXPECT_NEAR(first.xMin, heading.xMin, 1.0);
    EXPECT_NEAR(first.yMin - heading.yMin, 30.0, 1.5);
}

TEST_F(PrintTest, FontsAreArialBold) {
    addSongs(1);
    printFromMenu(1);
    const QString fonts = run(QStringLiteral("pdffonts"), {m_pdf});
    // Arial is rendered by its metric twin where the original is not installed.
    EXPECT_TRUE(fonts.contains(QRegularExpression(QStringLiteral("(Arial|LiberationSans)[-,]?Bold"))))
        << fonts.toStdString();
    EXPECT_FALSE(fonts.contains(QStringLiteral("Regular"))) << fonts.toStdString();
}

TEST_F(PrintTest, ALongPlaylistGoesOnWithoutANewHeading) {
    addSongs(150);
    printFromMenu(1);
    const int pages = pageCount(m_pdf);
    ASSERT_GE(pages, 2);
    QStringList entries;
    for (int page = 1; page <= pages; ++page) {
        const QStringList lines = nonEmptyLines(pageText(m_pdf, page));
        ASSERT_FALSE(lines.isEmpty());
        const bool hasHeading = lines.first().trimmed().startsWith(QStringLiteral("Playlist /"));
        EXPECT_EQ(hasHeading, page == 1) << "page " << page;
        for (qsizetype i = page == 1 ? 2 : 0; i < lines.size(); ++i) {
            entries << lines[i].simplified();
        }
    }
    // Every entry once, in order, none lost at a page break.
    ASSERT_EQ(entries.size(), 150);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(entries[i], QStringLiteral("%1. Liedje %1").arg(i + 1));
    }
    // The second page starts at its top, at the same left position.
    const QStringList second = nonEmptyLines(pageText(m_pdf, 2));
    EXPECT_FALSE(second.first().trimmed().startsWith(QStringLiteral("-")));
}

TEST_F(PrintTest, AFailingPrinterSaysPrinterNietOnline) {
    addSongs(2);
    m_main->printController().setPdfOutput(folder() + QStringLiteral("/no/such/folder/out.pdf"));
    bool arrowAtMessage = false;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
    const auto outcome = modal::answer<QMessageBox>([&](QMessageBox* box) {
        arrowAtMessage = QApplication::overrideCursor() == nullptr;
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    printFromMenu(2);
    ASSERT_TRUE(outcome->seen);
    EXPECT_EQ(outcome->title, QStringLiteral("Tunara"));
    EXPECT_EQ(text, QStringLiteral("Printer niet online!"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(arrowAtMessage);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A later print to a good place works again: nothing of the failed printer is kept.
    m_main->printController().setPdfOutput(m_pdf);
    printFromMenu(1);
    EXPECT_TRUE(QFile::exists(m_pdf));
}

TEST_F(PrintTest, WithoutAPrinterTheMessageShowsAndTheArrowComesBack) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "this machine has a printer; the page would really be printed";
    }
    addSongs(1);
    m_main->printController().setPdfOutput(QString());
    bool arrowAtMessage = false;
    const auto outcome = modal::answer<QMessageBox>([&](QMessageBox* box) {
        arrowAtMessage = QApplication::overrideCursor() == nullptr;
        EXPECT_EQ(box->text(), QStringLiteral("Printer niet online!"));
        box->button(QMessageBox::Ok)->click();
    });
    printFromMenu(1);
    EXPECT_TRUE(outcome->seen);
    EXPECT_TRUE(arrowAtMessage);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
