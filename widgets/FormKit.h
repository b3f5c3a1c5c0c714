#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// The building blocks every window of the program is laid out with. Layout figures are twips
// (1/1440 inch); 15 twips are one pixel at 96 dots per inch, and fractions are dropped.
namespace widgets {

constexpr int px(int twips) {
    return twips / 15;
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// A new child of `parent` of type W, named `name`, at a place given in twips.
template <typename W> W* place(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(twipRect(left, top, width, height));
    return w;
}

// Sets one colour role of a widget.
void paint(QWidget* w, QPalette::ColorRole role, const QColor& colour);

// Fills the widget's background, whatever kind of widget it is (label, list, button).
void fillBackground(QWidget* w, const QColor& colour);

// A sunken panel without text that other controls sit on; `colour` fills it when valid.
QLabel* backdrop(QWidget* parent, const char* name, int left, int top, int width, int height,
                 const QColor& colour = QColor());

// A label that shows `text` as typed, never as markup (names of songs and folders reach labels).
QLabel* plainLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text = QString());

// Names `w` for screen readers and other assistive tools: the words a picture button shows, or
// what a list, tree, slider or combo box holds. Nothing on the screen changes (a combo box gets
// a hidden label, named after it with "Name" appended, that carries its name).
void readerName(QWidget* w, const QString& accessibleName);

// Sets the tooltip `text` and names `w` by the same words without the framing blanks, so that
// tooltip and name never drift apart; the tooltip then serves as the control's description.
void tip(QWidget* w, const QString& text);

// The colour of the backdrops behind the main window's button groups and sliders.
inline const QColor kBackdropColour{126, 142, 168};

} // namespace widgets
