#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Lists the ordinary files of one folder whose names end in one of a set of suffixes, the way
// the hidden file lists of the program see a folder: no folders, no devices, no hidden files
// (names starting with "."), symbolic links only when they lead to an ordinary file.
// The folder is read once with readdir; only symbolic links and file systems that give no entry
// type cost an extra stat. Names are decoded from the file system's bytes (UTF-8).
// Safe to call from any thread; no Qt event loop needed.
namespace common {

struct ListFilter {
    // Suffixes in lower case, with their dot (".mp3"). A name must be longer than its suffix.
    QList<QByteArray> suffixes;
    // When set, "X.MP3" matches ".mp3" (ASCII letters only: suffixes are plain ASCII).
    bool ignoreCase = true;
    bool includeHidden = false;
};

struct Listing {
    bool ok = false;
    QString error;     // why not, in Dutch, when !ok
    QStringList names; // file names without folder, in the order of common::sortNames
    // Matching files left out because their names cannot be decoded (see decodeName): a path
    // built from such a name would not open them.
    int unreadable = 0;
};

// The song filter: "*.mp3;*.mid", any letter case, no hidden files.
ListFilter songFilter();

// Reads `folder` and returns its matching names, sorted. A folder that cannot be opened gives
// ok == false and no names.
Listing listFolder(const QString& folder, const ListFilter& filter);

// True when `folder` can be opened for listing (a volume without a medium or an unreachable
// network share cannot).
bool canOpenFolder(const QString& folder);

// The visible subfolders of `folder`: entries that are folders or links to folders, whose names
// do not start with "." and can be decoded (see decodeName), in the order of common::sortNames.
// One readdir; only links and file systems without entry types cost a stat per entry.
Listing listSubfolders(const QString& folder);

// The name of a directory entry as text, when the text leads back to the same bytes (so that a
// path built from it opens the entry); false for names that are not valid UTF-8.
bool decodeName(const char* name, qsizetype length, QString& text);

// True when `name` (raw bytes of a directory entry) passes the name part of `filter`.
bool nameMatches(const char* name, qsizetype length, const ListFilter& filter);

} // namespace common
