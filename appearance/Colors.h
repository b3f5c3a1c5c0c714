#pragma once

#include "common/MainControls.h"
#include "common/ProgramState.h"

#include <QDialog>
#include <QSize>

#include <array>

class QLabel;
class QPushButton;
class QScrollBar;

// The colour editor: three bars for red, green and blue, their values and a preview.
// It edits the triple of the pane named by ProgramState::colourTarget when it is built. "Ok"
// stores the triple in the settings and recolours that pane of the main window; every other way
// of closing changes nothing. However it closes, the target is cleared. Build a fresh one for every opening;
// GUI thread only.
class Colors : public QDialog {
    Q_OBJECT
public:
    // The window's outer size with a frame: 3000 x 2490 twips.
    static constexpr QSize kOuterSize{200, 166};

    Colors(ProgramState& state, const MainControls& mainControls, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void Scroll_Change(int index);
    void OkKnop_Click();
    void CancelKnop_Click();

private:
    void Form_Load();
    void createControls();

    ProgramState& m_state;
    const MainControls& m_main;

    QWidget* m_frame1 = nullptr;
    std::array<QScrollBar*, 4> m_scroll{}; // indexes 1 to 3
    std::array<QLabel*, 4> m_valueLabel{}; // Label5, Label6, Label7 by bar index
    QLabel* m_preview = nullptr;           // Label8
    QPushButton* m_okKnop = nullptr;
    QPushButton* m_cancelKnop = nullptr;
};
