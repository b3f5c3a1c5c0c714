#pragma once

#include <QString>

// How a song of the folder list becomes a playlist entry, and the folder list's counter texts.
namespace browse {

// The counter's caption before the first change of folder.
inline constexpr char16_t kTellerStart[] = u"0 Songs / Mp3, Midi";

// "1 Song gevonden..." for one song, "<n> Songs gevonden..." for every other count.
QString tellerText(int count);

// The info line's note on songs left out of a listing because their names cannot be read:
// "1 bestand met een onleesbare naam overgeslagen." and "<n> bestanden ..." for other counts.
QString unreadableText(int count);

// The file name without its last four characters (".mp3", ".mid"): "Intro.mp3" gives "Intro".
QString displayName(const QString& fileName);

// The folder, "/", and the name, joined as plain text: a folder that already ends in "/" (the
// root) gives a doubled separator, which the file system treats like a single one.
QString fullPath(const QString& folder, const QString& fileName);

} // namespace browse
