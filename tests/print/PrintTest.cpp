#include "playlist/PrintController.h"
#include "support/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

QString pdftotext(const QStringList& args) {
    QProcess p;
    p.start(u"pdftotext"_s, args);
    EXPECT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The non-empty lines of each page.
QList<QStringList> pages(const QString& pdf) {
    QList<QStringList> result;
    for (const QString& page : pdftotext({u"-layout"_s, pdf, u"-"_s}).split(QLatin1Char('\f'))) {
        const QStringList lines = page.split(QLatin1Char('\n')).filter(QRegularExpression(u"\\S"_s));
        if (!lines.isEmpty()) {
            result << lines;
        }
    }
    return result;
}

// Left edge of a word on page 1, in points.
double wordLeft(const QString& pdf, const QString& word) {
    const QString html = pdftotext({u"-bbox"_s, u"-l"_s, u"1"_s, pdf, u"-"_s});
    const QRegularExpressionMatch m =
        QRegularExpression(u"<word xMin=\"([\\d.]+)\"[^>]*>%1</word>"_s.arg(word)).match(html);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

class PrintTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_pdf = folder() + u"/playlist.pdf"_s;
        m_main->printController().setPdfOutput(m_pdf);
    }

    void addSongs(int n) {
        for (int i = 1; i <= n; ++i) {
            m_main->playlist().append(u"Liedje %1"_s.arg(i), u"/m/Liedje %1.mp3"_s.arg(i));
        }
        m_main->playlist().refreshCount();
    }

    // Button 5, then the menu item, as a person chooses it.
    void printFromMenu(int item) {
        QTest::mouseClick(control<QWidget>(u"KnopBottom_5"_s), Qt::LeftButton);
        QMenu* menu = control<QMenu>(u"Printmenu"_s);
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        QAction* action = menu->findChild<QAction*>(u"Printnummers_%1"_s.arg(item));
        ASSERT_NE(action, nullptr);
        menu->hide();
        action->trigger();
    }

    // Prints, answering the expected "Printer niet online!"; true when the arrow was back by then.
    bool printFails() {
        ModalAnswerer answerer({QMessageBox::Ok}, {},
                               [] { return QApplication::overrideCursor() == nullptr; });
        printFromMenu(1);
        EXPECT_EQ(answerer.texts(), QStringList{u"Tunara|Printer niet online!"_s});
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return answerer.seen().value(0).probe;
    }

    QString m_pdf;
};

} // namespace

TEST_F(PrintTest, NumberedPrintHasHeadingSeparatorAndEntriesGoingOnWithoutANewHeading) {
    addSongs(150);
    printFromMenu(1);
    const QList<QStringList> doc = pages(m_pdf);
    ASSERT_GE(doc.size(), 2); // the heading's text itself is checked without a printer
    // The separator runs off the paper; what is on the page is hyphens only.
    EXPECT_TRUE(QRegularExpression(u"^\\s*-{60,}\\s*$"_s).match(doc[0][1]).hasMatch());
    // "1." is about 8 points wide at 10 point; the three blanks add about 8 more.
    const double gap = wordLeft(m_pdf, u"Liedje"_s) - wordLeft(m_pdf, u"1\\."_s);
    EXPECT_TRUE(gap > 13.0 && gap < 20.0) << gap;
    QStringList entries;
    for (qsizetype page = 0; page < doc.size(); ++page) {
        EXPECT_EQ(doc[page].first().trimmed().startsWith(u"Playlist /"_s), page == 0) << page;
        for (qsizetype i = page == 0 ? 2 : 0; i < doc[page].size(); ++i) {
            entries << doc[page][i].simplified();
        }
    }
    // Every entry once, in order, none lost at a page break.
    ASSERT_EQ(entries.size(), 150);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(entries[i], u"%1. Liedje %1"_s.arg(i + 1));
    }
    EXPECT_EQ(control<QLabel>(u"InfoLabel"_s)->text(), u"Bezig met afdrukken..."_s);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintTest, EmptyPrintsNothingNoPrinterSaysPrinterNietOnlineThenUnnumberedPrintsWork) {
    {
        const QString info = control<QLabel>(u"InfoLabel"_s)->text();
        ModalAnswerer none; // an empty playlist prints nothing and says nothing
        printFromMenu(1);
        printFromMenu(2);
        QTest::qWait(20);
        EXPECT_TRUE(none.seen().isEmpty() && !QFile::exists(m_pdf));
        EXPECT_EQ(control<QLabel>(u"InfoLabel"_s)->text(), info);
    }
    addSongs(2);
    m_main->printController().setPdfOutput(folder() + u"/no/such/folder/out.pdf"_s);
    EXPECT_TRUE(printFails());
    if (QPrinterInfo::defaultPrinter().isNull()) { // with a printer the page would really be printed
        m_main->printController().setPdfOutput(QString());
        EXPECT_TRUE(printFails());
    }
    // Nothing of the failed printer is kept; without numbers the names stand alone.
    m_main->printController().setPdfOutput(m_pdf);
    printFromMenu(2);
    const QList<QStringList> doc = pages(m_pdf);
    ASSERT_EQ(doc.size(), 1);
    EXPECT_TRUE(doc[0].value(0).trimmed().startsWith(u"Playlist / "_s));
    EXPECT_EQ(doc[0].mid(2).join(u'|').replace(QRegularExpression(u" *\\| *"_s), u"|"_s).trimmed(),
              u"Liedje 1|Liedje 2"_s);
}
