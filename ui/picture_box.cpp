#include "picture_box.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>

namespace pythagoras {

PictureBox::PictureBox(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_StaticContents);
}

void PictureBox::ensureSurface()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = contentsRect().size() * ratio;
    if (surface_.size() == size && qFuzzyCompare(surface_.devicePixelRatio(), ratio)) {
        return;
    }
    // Kept at device resolution so the text stays crisp on dense screens.
    QImage fresh(size, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(ratio);
    fresh.fill(palette().color(QPalette::Window));
    if (!surface_.isNull()) {
        QPainter painter(&fresh);
        painter.drawImage(QPoint(0, 0), surface_);
    }
    surface_ = fresh;
}

void PictureBox::print(const QString& text)
{
    ensureSurface();
    const QFontMetrics metrics(font());
    if (!text.isEmpty()) {
        QPainter painter(&surface_);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPoint(position_.x(), position_.y() + metrics.ascent()), text);
        update();
    }
    lines_.append(text);
    position_ = QPoint(0, position_.y() + metrics.height());
    if (QAccessible::isActive()) {
        // A screen reader hears the new line as text added to the panel, after all before it.
        qsizetype offset = 0;
        for (qsizetype i = 0; i + 1 < lines_.size(); ++i) {
            offset += lines_[i].size() + 1;
        }
        QAccessibleTextInsertEvent event(this, int(offset), text + QLatin1Char('\n'));
        QAccessible::updateAccessibility(&event);
    }
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (surface_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), surface_);
}

} // namespace pythagoras
