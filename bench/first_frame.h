#pragma once

// What both measured programs do alike: report on stdout when their window's first frame has
// been painted, then either leave at once or go on to time clicks.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <unistd.h>

class FirstFrame : public QObject {
public:
    FirstFrame(QWidget& window, std::function<void()> then)
        : then_(std::move(then))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            watched->removeEventFilter(this);
            // Runs once the painting of this frame, and its flush, is over.
            QTimer::singleShot(0, [this] {
                std::printf("frame\n");
                std::fflush(stdout);
                then_();
            });
        }
        return false;
    }

private:
    std::function<void()> then_;
    bool seen_ = false;
};

// `--clicks N` asks for a timing of N clicks after the first frame; without it the program
// leaves right after the frame.
inline int ClicksAsked(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--clicks") {
            return QByteArray(argv[i + 1]).toInt();
        }
    }
    return 0;
}

inline void Leave()
{
    std::fflush(stdout);
    ::_exit(0);
}
