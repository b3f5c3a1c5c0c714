#pragma once

#include "common/MainControls.h"
#include "common/Settings.h"

#include <QColor>

// The four recolourable panes of the main window and the controls each one colours.
enum class Pane {
    Left,     // background of Drive1, Dir1, File1, List1
    Right,    // background of List2, Text1
    InfoBars, // background of Label1, Label6, Label9
    Texts,    // text colour of TellerLabel, InfoLabel, Label10
};

namespace PaneColours {

// The screen colour of a triple; components outside 0..255 (a hand-edited settings file) are
// clamped.
QColor toColor(const ColourTriple& triple);

// Colours the controls of one pane, in the order of the table above.
void apply(const MainControls& c, Pane pane, const ColourTriple& triple);

// All twelve colours from the settings, left pane first.
void applyAll(const MainControls& c, const Settings& settings);

} // namespace PaneColours
