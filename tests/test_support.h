#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Hands the application's modal window to `answer` as soon as it is up. A handler that asks a
// question or reports an error waits inside exec(), so the answer has to come from the event loop.
inline void WhenModalAppears(std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}
