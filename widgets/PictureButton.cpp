#include "widgets/PictureButton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
}

QSize PictureButton::sizeHint() const {
    return iconSize().isValid() ? iconSize() : QSize(32, 32);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : (m_hover ? QIcon::Active : QIcon::Normal);
    // The picture keeps its own size (a 32x32 icon stays sharp on a larger button), centred.
    QSize pictureSize = iconSize().isValid() ? iconSize() : r.size();
    pictureSize = pictureSize.boundedTo(r.size());
    QRect pictureRect(QPoint(0, 0), pictureSize);
    pictureRect.moveCenter(r.center());
    if (isDown()) {
        pictureRect.translate(1, 1);
    }
    icon().paint(&p, pictureRect, Qt::AlignCenter, mode, isChecked() ? QIcon::On : QIcon::Off);
    if (isDown()) {
        p.setPen(QColor(0, 0, 0, 90));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else if (m_hover && isEnabled()) {
        p.setPen(QColor(255, 255, 255, 140));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(0, 0, 0, 110), 1, Qt::DotLine));
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
