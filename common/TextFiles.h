#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Eight-bit text files (settings, playlists): written as UTF-8 so that every Linux file name
// survives; read line by line, each line as UTF-8 when its bytes are valid UTF-8 and otherwise as
// Windows-1252 (lines an eight-bit editor wrote), so one stray byte never
// spoils the rest of the file. No byte-order mark is written; one at the start is skipped. CR
// and LF end a line for the decoding; they are kept in the text.
namespace common {

QString decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text);

// Decodes Windows-1252; the five unassigned bytes map to the C1 control characters of Latin-1.
QString decodeWindows1252(QByteArrayView bytes);

// Why a file operation failed, for a message after a colon or in brackets: Dutch words for the
// usual causes of `errorNumber` (an errno value: a full disk, no permission, a read-only file
// system, a missing file ...), the system's own words for the rest.
QString reasonText(int errorNumber);

// Reads the regular file at `path`, at most `maxBytes` of it when that is not negative. Anything
// else (a folder, a pipe, a device) is refused without being read, so a pipe never blocks.
// Returns false, with the reason in `error` when given (see reasonText), when it cannot be read.
bool readFile(const QString& path, QByteArray& bytes, QString* error = nullptr, qint64 maxBytes = -1);

// Replaces the file at `path` with `bytes` atomically: a temporary file beside it ("<path>.xxxxxx")
// is written, flushed to the disk and renamed over the old one, so a failure leaves the old file as
// it was and no temporary file behind. A link at `path` is followed; the permissions of the file
// replaced are kept. Returns false, with the reason in `error` when given, when anything fails.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace common
