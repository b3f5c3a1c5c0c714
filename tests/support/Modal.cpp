#include "Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

#include <algorithm>

namespace testsupport {

ModalAnswerer::ModalAnswerer(std::vector<QMessageBox::StandardButton> answers,
                             std::function<void(QWidget*)> other, std::function<bool()> probe)
    : m_answers(std::move(answers)), m_other(std::move(other)), m_probe(std::move(probe)) {
    if (QWidget* open = QApplication::activeModalWidget()) {
        m_handled << open; // the window the test itself works in
    }
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
    m_timer.start(5);
}

void ModalAnswerer::poll() {
    m_handled.removeIf([](const QPointer<QWidget>& w) { return w.isNull() || !w->isVisible(); });
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr || !w->isVisible() || m_handled.contains(w)) {
        return;
    }
    m_handled << w;
    auto* box = qobject_cast<QMessageBox*>(w);
    QAbstractButton* def = box != nullptr ? box->defaultButton() : nullptr;
    m_seen << SeenBox{true,
                      w->windowTitle(),
                      box != nullptr ? box->text() : QString(),
                      box != nullptr ? box->icon() : QMessageBox::NoIcon,
                      box != nullptr ? box->standardButtons() : QMessageBox::StandardButtons(),
                      def != nullptr ? box->standardButton(def) : QMessageBox::NoButton,
                      m_probe && m_probe()};
    const auto answer =
        box != nullptr ? m_answers[std::min(m_boxes++, m_answers.size() - 1)] : QMessageBox::NoButton;
    QTimer::singleShot(0, w, [answer, other = m_other, w, box] {
        if (box == nullptr) {
            return other ? other(w) : void(w->close());
        }
        QAbstractButton* button = box->button(answer) ? box->button(answer) : box->escapeButton();
        button = button ? button : box->buttons().value(0);
        button ? button->click() : box->reject();
    });
}

QStringList ModalAnswerer::texts() const {
    QStringList out;
    for (const SeenBox& s : m_seen) {
        out << s.titleAndText();
    }
    return out;
}

SeenBox answering(QMessageBox::StandardButton answer, const std::function<void()>& act) {
    ModalAnswerer answerer({answer});
    act();
    return answerer.seen().value(0);
}

} // namespace testsupport
