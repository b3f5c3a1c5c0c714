#pragma once

#include "common/PlaybackState.h"
#include "common/Settings.h"

#include <optional>

#include <QString>

// Program-wide state, owned by Main and handed by reference to every part that needs it.
// Lives for the whole run; GUI thread only.
struct ProgramState {
    // The folder that holds Tunara.ini and Playlist/ (the executable's folder, or the per-user
    // data folder when that one cannot be written).
    QString programFolder;

    Settings settings;

    // The folder whose songs List1 shows, as the browser last listed it (empty before the first
    // listing). Song information joins List1's names to it.
    QString songFolder;

    // Idle, playing or paused; the buttons that depend on it follow its change signal.
    PlaybackState playback;

    // The pane whose colour triple the colour editor edits; set only while the editor is open.
    std::optional<Pane> colourTarget;
};
