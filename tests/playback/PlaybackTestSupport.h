#pragma once

#include "app/Main.h"
#include "common/MainControls.h"
#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace playbacktest {

struct SeenBox {
    QString text;
    bool plainOk = false;      // titled "Tunara", no icon, only an OK button
    bool timer1Active = false; // Timer1 while the box was open
};

// While it lives, records every modal message box and presses its OK button as a person would.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const MainControls& c) : m_c(c) {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            m_boxes.push_back({box->text(),
                               box->windowTitle() == "Tunara" && box->icon() == QMessageBox::NoIcon &&
                                   box->buttons().size() == 1 && ok != nullptr,
                               m_c.Timer1->isActive()});
            (ok != nullptr ? ok : box->buttons().first())->click();
        });
        m_poll.start(5);
    }
    const std::vector<SeenBox>& boxes() const { return m_boxes; }

private:
    const MainControls& m_c;
    QTimer m_poll;
    std::vector<SeenBox> m_boxes;
};

// Exactly one box was shown, with this text, in the program's plain form, while Timer1 was off.
inline void expectOneBox(const BoxAnswerer& answerer, const QString& text) {
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, text);
    EXPECT_TRUE(answerer.boxes()[0].plainOk);
    EXPECT_FALSE(answerer.boxes()[0].timer1Active);
}

inline bool showsPicture(const PictureButton* button, int img) {
    const QSize size(80, 28);
    return button->icon().pixmap(size).toImage() == Plaatjes::Img(img).pixmap(size).toImage();
}

// Enabled state of buttons[from..to] as "1111" / "0010".
template <size_t N> QString enabled(const std::array<PictureButton*, N>& buttons, int from, int to) {
    QString s;
    for (int i = from; i <= to; ++i) {
        s += buttons[i]->isEnabled() ? '1' : '0';
    }
    return s;
}

} // namespace playbacktest
