#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Acts on modal windows the way a person would, while the code under test waits in exec():
// polls for the active modal widget and hands each new one to `handler`, which returns true
// when it has dealt with the one it was waiting for. Lives as long as the test keeps it.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<bool(QWidget*)> handler) : m_handler(std::move(handler)) {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }
    bool done() const { return m_done; }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_busy || m_done || !modal || !modal->isVisible()) {
            return;
        }
        m_busy = true;
        if (m_handler(modal)) {
            m_done = true;
            m_timer.stop();
        }
        m_busy = false;
    }

    std::function<bool(QWidget*)> m_handler;
    QTimer m_timer;
    bool m_busy = false;
    bool m_done = false;
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

// Answers the next message box with `answer`, recording it in `seen`.
inline std::unique_ptr<ModalWatcher> answerBox(QMessageBox::StandardButton answer, SeenBox* seen) {
    return std::make_unique<ModalWatcher>([answer, seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            return false;
        }
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        seen->defaultButton =
            box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (QAbstractButton* button = box->button(answer)) {
            button->click();
        } else {
            box->reject();
        }
        return true;
    });
}

// Runs `act` on the first modal window of type T.
template <typename T> std::unique_ptr<ModalWatcher> onModal(std::function<void(T*)> act) {
    return std::make_unique<ModalWatcher>([act](QWidget* modal) {
        T* window = qobject_cast<T*>(modal);
        if (!window) {
            return false;
        }
        act(window);
        return true;
    });
}
