#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The fixed texts of the search window and the small decisions around a search.
namespace search {

inline const QString kWindowTitle = QStringLiteral(" Searching for Mp3 files");
inline const QString kPlaceholder = QStringLiteral("Trefwoord");
inline const QString kKeywordMessage = QStringLiteral("Minimaal 3 tekens invoeren a.u.b.");
inline const QString kFolderPrompt = QStringLiteral("Selecteer de map waarin de Mp3 bestanden staan!");

// The seven lines the result list shows before the first search. The first is empty, which is
// what keeps the adding operations from ever adding an instruction.
QStringList instructionLines();

// A keyword is refused when it has fewer than 3 characters or is "mp3" in any letter case.
// It is taken whole: blanks count.
bool keywordAccepted(const QString& keyword);

// " Found <found> files of <total>".
QString foundCaption(qsizetype found, qint32 total);

// The start folder from the path label's caption (captionForFolder): the folder after the
// caption's leading blank when that is an existing folder, otherwise the caption with blanks
// (spaces only) trimmed at both ends.
QString folderFromCaption(const QString& caption);
// The path label's caption for a folder: one blank, then the folder.
QString captionForFolder(const QString& folder);

// A result line's playlist name: the file name less its last four characters (".mp3").
QString displayName(const QString& fileName);

} // namespace search
