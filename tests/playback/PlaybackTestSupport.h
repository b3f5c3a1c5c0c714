#pragma once

#include "support/MainWindow.h"

namespace playbacktest {

// While it lives, records every modal window and answers it with OK, noting whether Timer1 ran
// while it was open (the probe).
struct BoxAnswerer : testsupport::ModalAnswerer {
    explicit BoxAnswerer(const MainControls& c)
        : ModalAnswerer({QMessageBox::Ok}, {}, [&c] { return c.Timer1->isActive(); }) {}
};

// Exactly one box was shown, with this text, in the program's plain form (titled "Tunara", no
// icon, only an OK button), while Timer1 was off.
inline void expectOneBox(const BoxAnswerer& answerer, const QString& text) {
    ASSERT_EQ(answerer.seen().size(), 1);
    const testsupport::SeenBox& box = answerer.seen()[0];
    EXPECT_EQ(std::tuple(box.titleAndText(), box.icon, int(box.buttons), box.probe),
              std::tuple("Tunara|" + text, QMessageBox::NoIcon, int(QMessageBox::Ok), false));
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
