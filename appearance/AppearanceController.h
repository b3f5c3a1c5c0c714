#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QPoint>

class QLabel;

// The main window's appearance: the colour editor opened by a right-click on List1, List2,
// Label6 or InfoLabel; the logo and the advertisement text, each replaced by a double-click;
// and the about window (command bar button 1). GUI thread only.
class AppearanceController : public QObject {
    Q_OBJECT
public:
    AppearanceController(const MainContext& ctx, QObject* parent = nullptr);

    // Shows the picture in `path` in `logo`, stretched over the logo's whole area. Returns false,
    // leaving the picture `logo` shows, when the file cannot be read as a picture.
    static bool loadLogo(QLabel* logo, const QString& path);
    // Pictures larger than this on either side (pixels) are not shown.
    static constexpr int kMaxLogoSide = 8192;

public Q_SLOTS:
    // Command bar button 1: the about window, modal.
    void showAbout();
    void Logo_DblClick();
    void ReclameLabel_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // `pos`: the mouse in the clicked control's own pixels.
    void List1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void List2_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void Label6_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void InfoLabel_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);

    void openColors(Pane pane, QPoint pos, QPoint offsetTwips, const QString& caption);

    MainContext m_ctx;
};
