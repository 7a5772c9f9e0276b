#pragma once

#include <QPainter>
#include <QWidget>

namespace pythagoras {

// A straight stroke on the window's surface: paints its box in the window-text colour and
// takes neither focus nor clicks.
class RuleLine : public QWidget {
    Q_OBJECT

public:
    explicit RuleLine(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::WindowText));
    }
};

} // namespace pythagoras
