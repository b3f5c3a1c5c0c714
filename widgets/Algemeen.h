#pragma once

#include <QLabel>
#include <QString>

// Small routines shared by several parts of the main window.
namespace widgets {

// Puts `text`, unchanged, into the info line.
inline void SetInfoLine(QLabel* infoLabel, const QString& text) {
    if (infoLabel) {
        infoLabel->setText(text);
    }
}

} // namespace widgets
