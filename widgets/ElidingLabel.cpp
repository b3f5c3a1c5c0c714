#include "widgets/ElidingLabel.h"

#include <QPainter>
#include <QStyle>

QString ElidingLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidingLabel::paintEvent(QPaintEvent* event) {
    const QString shown = shownText();
    if (shown == text()) {
        if (!toolTip().isEmpty()) {
            setToolTip(QString());
        }
        QLabel::paintEvent(event);
        return;
    }
    if (toolTip() != text()) {
        setToolTip(text());
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}
