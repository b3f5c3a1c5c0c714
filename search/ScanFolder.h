#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What one search found. `names` and `paths` are parallel: entry i of both is the same file.
struct SearchResults {
    QStringList names; // the bare file name, with its extension
    QStringList paths; // folder + "/" + name, joined as plain text
    // Every "*.mp3" file the walk met, whether its name held the keyword or not.
    qint32 mp3Total = 0;
    // Files whose name held the keyword but are left out because their name, or that of a
    // folder above them, is not valid UTF-8: a path built as text would not open them.
    qint32 unreadable = 0;
};

struct ScanOptions {
    // Trust the entry type that the folder listing carries, and ask for a file's attributes
    // only where the listing does not know the type or the entry is a link. Switched off, every
    // entry's attributes are queried; the results are the same, only slower.
    bool useEntryType = true;
};

namespace search {

// Walks the tree below `folder`, depth-first and pre-order: first the files of a folder in the
// order the file system lists them, then each subfolder's whole tree in listing order.
// Regular files whose name ends in ".mp3" (any letter case) are counted in mp3Total; those
// whose lower-cased name contains the lower-cased `keyword` are appended to `results`.
// Names starting with "." are neither counted nor entered. Links are followed, to files and to
// folders alike, but no folder is entered twice (by device and inode), so loops end; the
// kernel's pseudo file systems (/proc, /sys and the like) are not entered at all.
// Anything that cannot be listed or queried is skipped without a word: a folder that does not
// exist yields nothing. `folder` is used as given; a trailing "/" gives a doubled one in the
// paths. Runs on the calling thread and handles no events.
void ScanFolder(const QString& folder, const QString& keyword, SearchResults& results,
                const ScanOptions& options = {});

} // namespace search
