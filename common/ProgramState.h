#pragma once

#include "common/Settings.h"

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

    // Playback state: playing stays set while paused.
    bool playing = false;
    bool paused = false;

    // Which colour triple the colour editor edits; at most one is set while it is open.
    bool editLeft = false;
    bool editRight = false;
    bool editInfoBars = false;
    bool editTexts = false;
};
