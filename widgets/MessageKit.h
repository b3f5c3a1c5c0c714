#pragma once

#include <QString>

class QWidget;

// Every message box and question of the program, modal over `parent`. Texts are shown as typed,
// never as markup: names of songs, folders and playlists reach them. A box without a title of its
// own carries the application title "Tunara". GUI thread only; each call returns when the user
// has answered.
namespace widgets {

// The application title, for boxes that have none of their own.
inline QString appTitle() {
    return QStringLiteral("Tunara");
}

// A Yes/No question without an icon, Yes as the default button; Escape answers No. True on Yes.
bool askYesNo(QWidget* parent, const QString& title, const QString& text);

// A message without an icon and an OK button.
void inform(QWidget* parent, const QString& text, const QString& title = appTitle());

// A problem the user must know about: warning icon, OK button.
void warn(QWidget* parent, const QString& text, const QString& title = appTitle());

} // namespace widgets
