#pragma once

#include "common/MainControls.h"
#include "common/ProgramState.h"

class MediaPlayer;
class PlaylistModel;

// What a module controller works on: the main window's controls, the program-wide state, the
// playlist and the player. All owned by Main, which outlives every controller.
struct MainContext {
    MainControls& c;
    ProgramState& state;
    PlaylistModel& playlist;
    MediaPlayer& player;
};
