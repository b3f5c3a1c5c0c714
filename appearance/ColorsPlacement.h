#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the colour editor opens. The rule places the editor's outer top left corner at the
// click position inside the clicked control (as if that control sat at the screen's origin),
// moved by a fixed offset per control; the result is then pulled back onto the screen.
namespace appearance {

// The offsets, in twips (15 twips = 1 pixel): left and top added to the click position.
inline constexpr QPoint kList1OffsetTwips{0, 2400};
inline constexpr QPoint kList2OffsetTwips{6000, -750};
inline constexpr QPoint kInfoBarOffsetTwips{0, 7200}; // Label6 and InfoLabel

// `clickInControl`: the click in the control's own pixels. `screen`: the geometry of the screen
// the main window is on; `available`: its part not taken by panels. `outerSize`: the editor's
// size with its window frame. Returns the frame's top left corner in global pixels, moved the
// least needed to keep the whole editor inside `available` (its top left corner wins when the
// editor is larger than that area).
QPoint editorTopLeft(QPoint clickInControl, QPoint offsetTwips, const QRect& screen, const QRect& available,
                     QSize outerSize);

} // namespace appearance
