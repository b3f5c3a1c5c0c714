#pragma once

// Helpers for the player pane's GUI tests: answering message boxes as a person would, and
// reading the pane's state.

#include "app/Main.h"
#include "app/MainControls.h"
#include "appearance/PictureButton.h"
#include "appearance/Plaatjes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <functional>
#include <vector>

namespace playbacktest {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    bool okButton = false;
    bool timer1Active = false; // Timer1's state while the box was open
};

// Watches for modal message boxes while it lives, records each one and presses OK (or its only
// button). Polls every few milliseconds, from inside the box's own event loop.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const MainControls& c) : m_c(c) {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(5);
    }
    const std::vector<SeenBox>& boxes() const { return m_boxes; }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        SeenBox seen;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttonCount = static_cast<int>(box->buttons().size());
        seen.okButton = box->button(QMessageBox::Ok) != nullptr;
        seen.timer1Active = m_c.Timer1->isActive();
        m_boxes.push_back(seen);
        QAbstractButton* b = box->button(QMessageBox::Ok);
        if (b == nullptr && !box->buttons().isEmpty()) {
            b = box->buttons().first();
        }
        if (b != nullptr) {
            b->click();
        }
    }

    const MainControls& m_c;
    QTimer m_poll;
    std::vector<SeenBox> m_boxes;
};

// True when the button shows the same picture as `icon`.
inline bool showsPicture(const PictureButton* button, const QIcon& icon) {
    const QSize size(80, 28);
    return button->icon().pixmap(size).toImage() == icon.pixmap(size).toImage();
}

inline bool commandButtonsEnabled(const MainControls& c) {
    return c.KnopBottom[5]->isEnabled() && c.KnopBottom[6]->isEnabled() && c.KnopBottom[7]->isEnabled();
}
inline bool commandButtonsDisabled(const MainControls& c) {
    return !c.KnopBottom[5]->isEnabled() && !c.KnopBottom[6]->isEnabled() && !c.KnopBottom[7]->isEnabled();
}

// Enabled state of Knop 1 to 4 as "1111" (enabled) / "0010" (only the pause button).
inline QString playerButtonsEnabled(const MainControls& c) {
    QString s;
    for (int i = 1; i <= 4; ++i) {
        s += c.Knop[i]->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return s;
}

} // namespace playbacktest
