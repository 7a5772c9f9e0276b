#pragma once

#include <QFrame>
#include <QImage>
#include <QStringList>

namespace pythagoras {

// A framed panel that keeps what is printed into it on a persistent surface. Printing draws one
// line at the print position and moves down one line; nothing wraps, scrolls or clears.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Draws `text` with its top-left corner at the print position, then moves to the start of
    // the next line. An empty text only moves.
    void print(const QString& text = QString());

    // In logical pixels from the top-left corner of the drawing surface.
    QPoint printPosition() const { return position_; }
    // Every line printed so far, in order, empty lines included.
    const QStringList& printedLines() const { return lines_; }
    // What the surface holds, at device resolution.
    const QImage& surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureSurface();

    QImage surface_;
    QPoint position_;
    QStringList lines_;
};

} // namespace pythagoras
