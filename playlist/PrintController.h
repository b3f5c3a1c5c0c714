#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>

// Printing the playlist (command bar button 5 and its menu Printmenu). GUI thread only;
// printing blocks until the document has been handed to the printing system.
class PrintController : public QObject {
    Q_OBJECT
public:
    PrintController(const MainContext& ctx, QObject* parent = nullptr);

    // Prints the playlist's display names, numbered or not, and reports "Printer niet online!"
    // when there is no default printer or printing fails. With `pdfFile` set, the page goes into
    // that PDF file instead of to the default printer. Returns true when the document was
    // handed over.
    bool PrintPlaylist(bool numbered, const QString& pdfFile = QString());

    // Sends every later print into this PDF file instead of to the default printer; an empty
    // path goes back to the printer. For tests and for printing to a file.
    void setPdfOutput(const QString& pdfFile) { m_pdfOutput = pdfFile; }

public Q_SLOTS:
    // Command bar button 5: pops up Printmenu at the mouse position.
    void popupPrintmenu();
    // Printnummers 1 ("Met nummers") and 2 ("Zonder nummers"); nothing for an empty playlist.
    void printnummers_Click(int index);

private:
    bool printTo(bool numbered, const QString& pdfFile);

    MainContext m_ctx;
    QString m_pdfOutput;
};
