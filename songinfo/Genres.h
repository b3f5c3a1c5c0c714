#pragma once

#include <QString>
#include <QStringList>

// The ID3v1 genre names this program shows, numbered from 0. The spellings are the program's
// own and stay as they are (they differ from the common list in a few places).
namespace songinfo {

inline constexpr int kGenreCount = 148;

// All names in number order, freshly split from the one "|"-separated text.
QStringList genreTable();

// The name of a genre number; a null QString for numbers outside 0 to 147, which have none.
QString genreName(int genre);

} // namespace songinfo
