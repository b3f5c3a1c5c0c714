#pragma once

#include <QString>
#include <QStringList>

// The order in which the program lists file names: alphabetical as a person reads it. Letter
// case is ignored and accented letters sort with their base letter ("Édith" beside "Edith");
// names equal under those rules are ordered by case, then by their exact characters, so the
// order is total and the same on every machine and in every locale.
namespace common {

// Sorts in place. About 10 ms for 32,767 names.
void sortNames(QStringList& names);

// The comparison sortNames() uses: negative, zero or positive. Zero only for identical texts.
int compareNames(const QString& a, const QString& b);

} // namespace common
