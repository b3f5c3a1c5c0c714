#pragma once

#include <QLabel>

// A one-line label that ends a text too long for it with an ellipsis instead of cutting it off at
// its edge. text() keeps the whole text (assistive tools read it), and so does the tooltip while
// the text does not fit. Plain text only.
class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // What the label draws: the text, or its start and an ellipsis when it is too long.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
