#include "widgets/PaneColours.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QTreeView>

#include <algorithm>

namespace widgets {

namespace {

void setBackground(QWidget* w, const QColor& colour) {
    if (!w) {
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    if (qobject_cast<QLabel*>(w)) {
        w->setAutoFillBackground(true);
    }
}

void setForeground(QWidget* w, const QColor& colour) {
    if (!w) {
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

int clampComponent(int v) {
    return std::clamp(v, 0, 255);
}

} // namespace

QColor toColor(const ColourTriple& triple) {
    return QColor(clampComponent(triple.red), clampComponent(triple.green), clampComponent(triple.blue));
}

void applyPaneColour(const MainControls& c, Pane pane, const ColourTriple& triple) {
    const QColor colour = toColor(triple);
    switch (pane) {
    case Pane::Left:
        for (QWidget* w : {static_cast<QWidget*>(c.Drive1), static_cast<QWidget*>(c.Dir1),
                           static_cast<QWidget*>(c.File1), static_cast<QWidget*>(c.List1)}) {
            setBackground(w, colour);
        }
        break;
    case Pane::Right:
        setBackground(c.List2, colour);
        setBackground(c.Text1, colour);
        break;
    case Pane::InfoBars:
        setBackground(c.Label1, colour);
        setBackground(c.Label6, colour);
        setBackground(c.Label9, colour);
        break;
    case Pane::Texts:
        setForeground(c.TellerLabel, colour);
        setForeground(c.InfoLabel, colour);
        setForeground(c.Label10, colour);
        break;
    }
}

void applyPaneColours(const MainControls& c, const Settings& settings) {
    applyPaneColour(c, Pane::Left, settings.leftColour);
    applyPaneColour(c, Pane::Right, settings.rightColour);
    applyPaneColour(c, Pane::InfoBars, settings.infoBarColour);
    applyPaneColour(c, Pane::Texts, settings.textColour);
}

} // namespace widgets
