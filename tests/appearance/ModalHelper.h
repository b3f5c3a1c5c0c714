#pragma once

// Answering modal windows from a test: exec() blocks, so the answer is scheduled before the call
// that opens the window and runs from the nested event loop.

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace modal {

struct Outcome {
    bool seen = false; // the window appeared and the answer ran
    QString title;
};

// Runs `answerFn` once on the first visible modal window of type T, or gives up after `timeoutMs`.
template <typename T = QWidget>
std::shared_ptr<Outcome> answer(std::function<void(T*)> answerFn, int timeoutMs = 5000) {
    auto outcome = std::make_shared<Outcome>();
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(timeoutMs);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, outcome, deadline, answerFn] {
        T* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if ((w && w->isVisible()) || deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
        if (w && w->isVisible()) {
            outcome->seen = true;
            outcome->title = w->windowTitle();
            answerFn(w);
        }
    });
    timer->start();
    return outcome;
}

// Closes and counts every modal window that shows up while it lives: checks that nothing opens.
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
