#pragma once

#include "common/Settings.h"

#include <QByteArray>
#include <QString>

// The settings file Tunara.ini: eight CR LF lines, four colour triples ("200,230,230") and then
// four texts in double quotes. Written as UTF-8; read line by line as UTF-8, or as Windows-1252
// for a line whose bytes are not valid UTF-8.
//
// Reading takes sixteen fields in turn; commas and line ends both end a field. Blanks before a
// field are skipped. A field that starts with a double quote runs to the next double quote, also
// across line ends, and whatever follows it up to the next comma or line end is dropped. Anything
// after the sixteenth field is ignored.
//
// The reserved text is read and written back unchanged; a new file gets "Tunara 1", which marks
// the file's layout should it ever change.
//
// A colour field is read as a decimal number, rounded to a whole number (halves to even) and kept
// as read within -32768..32767; the screen colour clamps it to 0..255. A colour field that is not
// a number (empty, text) keeps the value it had and still counts as read.

namespace common {

// Reads the file at `filePath` into `settings`. Returns false when the file is missing, is not a
// regular file or cannot be opened, or when it ends before the sixteenth field; the fields read before that
// keep the values read, the later ones keep what they held. Only the first MiB of the file is looked at.
bool LoadSettings(const QString& filePath, Settings& settings);

// Writes all eight lines, replacing the file atomically: a failure leaves the previous file as it
// was. Returns false, with the reason in `error` when given (Dutch for the usual causes, see
// common::reasonText), when the file cannot be written.
bool SaveSettings(const QString& filePath, const Settings& settings, QString* error = nullptr);

// The settings file's path in a program folder: "<folder>/Tunara.ini".
QString settingsFilePath(const QString& programFolder);

// The parser and the writer without the file, for tests and fuzzing.
bool parseSettingsText(const QString& text, Settings& settings);
QByteArray settingsFileBytes(const Settings& settings);

// A text as the settings file can hold it. The reader ends a quoted field at the next double
// quote and has no escape, so a straight double quote cannot be stored: each one becomes a
// typographic quote, opening and closing in turn (“like this”). Everything else is kept.
QString settingsSafeText(const QString& text);

} // namespace common
