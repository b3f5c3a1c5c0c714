#include "widgets/FormKit.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace widgets {

void paint(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

void fillBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* backdrop(QWidget* parent, const char* name, int left, int top, int width, int height,
                 const QColor& colour) {
    auto* l = place<QLabel>(parent, name, left, top, width, height);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    if (colour.isValid()) {
        l->setAutoFillBackground(true);
        paint(l, QPalette::Window, colour);
    }
    return l;
}

QLabel* plainLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

void readerName(QWidget* w, const QString& accessibleName) {
    w->setAccessibleName(accessibleName);
    // Over AT-SPI a combo box gives its current entry as its name; what it is comes from the
    // label it is the buddy of. That label is never shown.
    if (!qobject_cast<QComboBox*>(w) || !w->parentWidget()) {
        return;
    }
    const QString labelName = w->objectName() + QStringLiteral("Name");
    auto* label = w->parentWidget()->findChild<QLabel*>(labelName, Qt::FindDirectChildrenOnly);
    if (!label) {
        label = plainLabel(w->parentWidget(), "", QRect());
        label->setObjectName(labelName);
        label->setBuddy(w);
        label->setVisible(false);
    }
    label->setText(accessibleName);
}

void tip(QWidget* w, const QString& text) {
    w->setToolTip(text);
    readerName(w, text.trimmed());
}

} // namespace widgets
