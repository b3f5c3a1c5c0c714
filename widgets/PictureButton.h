#pragma once

#include <QAbstractButton>
#include <QIcon>

// A button that is only its picture: the icon fills the button, with a thin sunken look while
// pressed and a faded picture while disabled. The icon is vector (SVG), so it stays sharp at
// any device pixel ratio.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hover = false;
};
