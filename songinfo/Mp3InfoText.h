#pragma once

#include "songinfo/Id3v1Tag.h"

#include <QString>
#include <QStringList>

#include <optional>

// The text of the MP3 information box. Each label keeps its own number of dots.
namespace songinfo {

inline const QString kInfoTitle = QStringLiteral(" Mp3 informatie");

// The box's lines in order: title, artist, album, year, genre (only for genre numbers that
// have a name), length. The length comes from the player, not from the tag; without a
// duration (the player could not load the file) the length line is left out.
QStringList infoLines(const Id3v1Tag& tag, std::optional<double> durationSeconds);

// The lines joined by CR LF, without a line end after the last one.
QString infoText(const Id3v1Tag& tag, std::optional<double> durationSeconds);

} // namespace songinfo
