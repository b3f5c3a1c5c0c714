#pragma once

#include <QString>

// The program folder holds Tunara.ini and Playlist/. A copy started from where it was built keeps
// them beside its executable; where that folder cannot be written (a read-only volume) the
// per-user data folder takes its place, so that settings and playlists are never lost. An
// installed copy always uses the per-user data folder: nothing inside the install prefix is
// ever written. Decided once at start-up.
namespace app {

// True when files can be created in `folder` (it exists, is a folder and is writable).
bool isWritableFolder(const QString& folder);

// True when the executable in `executableFolder` is an installed copy: the install puts a
// folder "share/tunara" beside its "bin/". Decided from the files alone, so a copy installed
// under any prefix, or unpacked from a staging folder, counts as installed.
bool isInstalledCopy(const QString& executableFolder);

// `preferred` when it is writable, else `fallback` (created when missing), into which the
// settings file and the stored playlists of `preferred` are carried (carryOver). When neither
// folder can be written, `preferred`: the program still runs, reading what is there, and its
// writes fail quietly.
QString resolveProgramFolder(const QString& preferred, const QString& fallback);

// Copies what folder `from` holds into folder `to` without touching `from`: the settings file
// when `to` has none yet, and each stored playlist (Playlist/*.lst) that was not carried over
// before and whose name `to` does not hold yet. The names carried over are recorded in `to`, so
// a copy that the user deletes later does not come back at the next start.
void carryOverProgramFiles(const QString& from, const QString& to);

// The folder for this run: the per-user data folder (QStandardPaths::AppDataLocation, created
// when missing) for an installed copy, otherwise resolveProgramFolder() with the executable's folder and
// that data folder. Needs the application object and its name.
QString findProgramFolder();

} // namespace app
