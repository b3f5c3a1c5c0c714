#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

// Acts on modal windows as a person would while the code under test waits in exec(): hands
// each modal widget to `handler` until it returns true.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<bool(QWidget*)> handler) : m_handler(std::move(handler)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (m_busy || !modal || !modal->isVisible()) {
                return;
            }
            m_busy = true; // the handler may wait in a nested event loop
            if (m_handler(modal)) {
                m_timer.stop(); // done: stays busy for good
                return;
            }
            m_busy = false;
        });
        m_timer.start(5);
    }

private:
    std::function<bool(QWidget*)> m_handler;
    QTimer m_timer;
    bool m_busy = false;
};

// What a message box showed.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Runs `act` on the first modal window of type T.
template <typename T> std::unique_ptr<ModalWatcher> onModal(std::function<void(T*)> act) {
    return std::make_unique<ModalWatcher>([act](QWidget* modal) {
        T* window = qobject_cast<T*>(modal);
        if (window) {
            act(window);
        }
        return window != nullptr;
    });
}

// Answers the next message box with `answer`, recording it in `seen`.
inline std::unique_ptr<ModalWatcher> answerBox(QMessageBox::StandardButton answer, SeenBox* seen) {
    return onModal<QMessageBox>([answer, seen](QMessageBox* box) {
        auto* def = box->defaultButton();
        *seen = {true,        box->windowTitle(),     box->text(),
                 box->icon(), box->standardButtons(), def ? box->standardButton(def) : QMessageBox::NoButton};
        box->button(answer) ? box->button(answer)->click() : box->reject();
    });
}

// Runs `act`, answering the message box it shows (if any) with `answer`.
inline SeenBox answering(QMessageBox::StandardButton answer, const std::function<void()>& act) {
    SeenBox seen;
    auto watcher = answerBox(answer, &seen);
    act();
    return seen;
}
