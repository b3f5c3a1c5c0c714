#include "appearance/ColorsPlacement.h"

#include <algorithm>

namespace appearance {

QPoint editorTopLeft(QPoint clickInControl, QPoint offsetTwips, const QRect& screen, const QRect& available,
                     QSize outerSize) {
    // Twips to pixels on the offset alone: the click is already in pixels.
    const QPoint wanted =
        screen.topLeft() + clickInControl + QPoint(offsetTwips.x() / 15, offsetTwips.y() / 15);
    if (!available.isValid()) {
        return wanted;
    }
    const int maxLeft = std::max(available.left(), available.left() + available.width() - outerSize.width());
    const int maxTop = std::max(available.top(), available.top() + available.height() - outerSize.height());
    return QPoint(std::clamp(wanted.x(), available.left(), maxLeft),
                  std::clamp(wanted.y(), available.top(), maxTop));
}

} // namespace appearance
