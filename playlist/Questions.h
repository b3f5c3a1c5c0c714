#pragma once

#include <QString>

class QWidget;

// The program's message boxes, modal over `parent`.
namespace Questions {

// A Yes/No question without an icon, Yes as the default button; Escape answers No.
// True when the answer is Yes.
bool askYesNo(QWidget* parent, const QString& title, const QString& text);

// A problem the user must know about: warning icon, OK, the program's title "Tunara".
void warn(QWidget* parent, const QString& text);

} // namespace Questions
