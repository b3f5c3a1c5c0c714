#include "playlist/PrintController.h"

#include "playlist/PlaylistModel.h"
#include "playlist/PrintLayout.h"
#include "widgets/Algemeen.h"
#include "widgets/MessageKit.h"

#include "widgets/MessageKit.h"
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QFontMetricsF>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace {

QFont arialBold(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

// The hourglass for as long as it lives, unless given back earlier.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void release() {
        if (m_active) {
            QApplication::restoreOverrideCursor();
            m_active = false;
        }
    }

private:
    bool m_active = true;
};

} // namespace

PrintController::PrintController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    for (int i = 1; i <= 2; ++i) {
        if (QAction* item = m_ctx.c.Printnummers[i]) {
            connect(item, &QAction::triggered, this, [this, i] { printnummers_Click(i); });
        }
    }
}

void PrintController::popupPrintmenu() {
    if (m_ctx.c.Printmenu) {
        m_ctx.c.Printmenu->popup(QCursor::pos());
    }
}

void PrintController::printnummers_Click(int index) {
    if (m_ctx.playlist.isEmpty()) {
        return;
    }
    if (index == 1) {
        PrintPlaylist(true, m_pdfOutput);
    } else if (index == 2) {
        PrintPlaylist(false, m_pdfOutput);
    }
}

bool PrintController::PrintPlaylist(bool numbered, const QString& pdfFile) {
    BusyCursor busy;
    if (printTo(numbered, pdfFile)) {
        return true;
    }
    busy.release();
    widgets::inform(m_ctx.c.Main, QStringLiteral("Printer niet online!"));
    return false;
}

bool PrintController::printTo(bool numbered, const QString& pdfFile) {
    // A fresh printer every time: one that failed to begin stays unusable.
    std::unique_ptr<QPrinter> printer;
    if (pdfFile.isEmpty()) {
        // Without a printer Qt would quietly make a PDF printer without a file; ask CUPS instead.
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            return false;
        }
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile);
    }
    printer->setDocName(QStringLiteral("Playlist"));
    printer->setCopyCount(1);
    printer->setPageOrientation(QPageLayout::Portrait);

    QPainter painter;
    if (!painter.begin(printer.get())) {
        return false;
    }
    const int dpiX = printer->logicalDpiX();
    const int dpiY = printer->logicalDpiY();
    const auto x = [dpiX](int twips) { return playlist::twipsToDots(twips, dpiX); };
    const auto y = [dpiY](int twips) { return playlist::twipsToDots(twips, dpiY); };

    // The layout gives each line's top as the current position; the baseline lies one ascent
    // below it.
    const QFont headingFont = arialBold(playlist::kHeadingPointSize);
    painter.setFont(headingFont);
    painter.setPen(QColor(100, 60, 60));
    const QFontMetricsF headingMetrics(painter.font(), printer.get());
    double top = y(playlist::kHeadingYTwips);
    painter.drawText(QPointF(x(playlist::kHeadingXTwips), top + headingMetrics.ascent()),
                     playlist::headingText(QDateTime::currentDateTime(), QLocale()));
    top += headingMetrics.lineSpacing();
    painter.drawText(QPointF(0.0, top + headingMetrics.ascent()), playlist::separatorText());

    painter.setFont(arialBold(playlist::kEntryPointSize));
    painter.setPen(QColor(60, 60, 60));
    const QFontMetricsF entryMetrics(painter.font(), printer.get());
    playlist::LineFeed feed(y(playlist::kFirstEntryYTwips), entryMetrics.lineSpacing(), printer->height());
    const PlaylistModel& playlist = m_ctx.playlist;
    for (int i = 0; i < playlist.count(); ++i) {
        const playlist::LineFeed::Line line = feed.next();
        if (line.newPage && !printer->newPage()) {
            painter.end();
            return false;
        }
        painter.drawText(QPointF(x(playlist::kEntryXTwips), line.top + entryMetrics.ascent()),
                         playlist::entryText(i + 1, playlist.entry(i).displayName, numbered));
    }

    widgets::SetInfoLine(m_ctx.c.InfoLabel, QStringLiteral("Bezig met afdrukken..."));
    if (!painter.end()) {
        return false;
    }
    return printer->printerState() != QPrinter::Error && printer->printerState() != QPrinter::Aborted;
}
