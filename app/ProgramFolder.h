#pragma once

#include <QString>

// The program folder holds Tunara.ini and Playlist/. It is the executable's folder; where that
// cannot be written (an installed copy under /usr, a read-only volume) the per-user data folder
// takes its place, so that settings and playlists are never lost. Decided once at start-up.
namespace ProgramFolder {

// True when files can be created in `folder` (it exists, is a folder and is writable).
bool isWritable(const QString& folder);

// `preferred` when it is writable, else `fallback` (created when missing). When the fallback has
// no settings file yet but `preferred` has one, it is copied over, so the settings that came with
// an installed copy are kept. When neither folder can be written, `preferred`: the program still
// runs, reading what is there, and its writes fail quietly.
QString resolve(const QString& preferred, const QString& fallback);

// Copies the settings file of folder `from` into folder `to` when `to` has none yet.
void carrySettingsOver(const QString& from, const QString& to);

// resolve() with the executable's folder and QStandardPaths::AppDataLocation. Needs the
// application object and its name.
QString forThisProgram();

} // namespace ProgramFolder
