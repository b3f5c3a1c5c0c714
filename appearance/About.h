#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The about window: what the program is, its version and two pictures. Changes nothing
// outside itself; build a fresh one for every opening. GUI thread only.
class About : public QDialog {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);

    // The paragraph shown in Label4, with the version of this build.
    static QString aboutText();

private Q_SLOTS:
    void OkKnop_Click();

private:
    void Form_Load();
};
