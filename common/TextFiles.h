#pragma once

#include <QByteArray>
#include <QString>

// Eight-bit text files (settings, playlists): written as UTF-8 so that every Linux file name
// survives; read as UTF-8 when the bytes are valid UTF-8, otherwise as Windows-1252 (files
// written by an eight-bit editor). No byte-order mark is written; one at the start is skipped.
namespace TextFiles {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);

// Decodes Windows-1252; the five unassigned bytes map to the C1 control characters of Latin-1.
QString decodeWindows1252(const QByteArray& bytes);

// Replaces the file at `path` with `bytes` atomically: a temporary file beside it is written,
// flushed and renamed over the old one, so a failure leaves the old file as it was.
// Returns false, with the reason in `error` when given, when anything fails.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace TextFiles
