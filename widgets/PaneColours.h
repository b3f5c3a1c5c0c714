#pragma once

#include "common/MainControls.h"
#include "common/Settings.h"

#include <QColor>

namespace widgets {

// The screen colour of a triple; components outside 0..255 (a hand-edited settings file) are
// clamped.
QColor toColor(const ColourTriple& triple);

// Colours the controls of one pane, in the order of the table above.
void applyPaneColour(const MainControls& c, Pane pane, const ColourTriple& triple);

// All twelve colours from the settings, left pane first.
void applyPaneColours(const MainControls& c, const Settings& settings);

} // namespace widgets
