#pragma once

// Answering modal windows from a test: the window's exec() blocks the test, so the answer is
// scheduled before the call that opens it and runs from the nested event loop.

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace modal {

// What became of one scheduled answer.
struct Outcome {
    bool seen = false; // the modal window appeared and `answer` ran
    QString title;     // its window title
    QString className; // its class, e.g. "QMessageBox"
};

// Polls every few milliseconds for a visible modal window of type T and runs `answer` on it
// once. Gives up after `timeoutMs` (Outcome::seen stays false).
template <typename T = QWidget>
std::shared_ptr<Outcome> answer(std::function<void(T*)> answerFn, int timeoutMs = 5000) {
    auto outcome = std::make_shared<Outcome>();
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(timeoutMs);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, outcome, deadline, answerFn] {
        QWidget* w = QApplication::activeModalWidget();
        T* typed = qobject_cast<T*>(w);
        if (typed && typed->isVisible()) {
            timer->stop();
            timer->deleteLater();
            outcome->seen = true;
            outcome->title = typed->windowTitle();
            outcome->className = QString::fromLatin1(typed->metaObject()->className());
            answerFn(typed);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return outcome;
}

// Closes any modal window that shows up while it lives, and remembers that one did: for
// checking that an action opens nothing (instead of hanging the test if it does).
class Watchdog {
public:
    Watchdog() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (QWidget* w = QApplication::activeModalWidget(); w && w->isVisible()) {
                ++m_count;
                w->close();
            }
        });
        m_timer.start();
    }
    int count() const { return m_count; }

private:
    QTimer m_timer;
    int m_count = 0;
};

} // namespace modal
