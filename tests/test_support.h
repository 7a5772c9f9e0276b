#pragma once

#include "process_end.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

// QTEST_MAIN, ending the way the program ends: the test object is destroyed (its temporary
// folders go), then the process leaves without library teardown.
#define PT_TEST_MAIN(TestObject)                                                                             \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        int status = 0;                                                                                      \
        {                                                                                                    \
            TestObject test;                                                                                 \
            QTEST_SET_MAIN_SOURCE_PATH                                                                       \
            status = QTest::qExec(&test, argc, argv);                                                        \
        }                                                                                                    \
        pythagoras::EndProcess(status);                                                                      \
    }

// Rows of a data table naming the two cue files, for tests that run once with each.
inline void AddCueNameRows()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("reset cue") << "pinpon.wav";
    QTest::addRow("exit cue") << "endpinpon.wav";
}

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
