#include "form1.h"
#include "picture_box.h"

#include "test_support.h"
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <QtTest>

using namespace pythagoras;

// Run once for each scale factor (QT_SCALE_FACTOR): the layout stays in logical pixels, while
// the panel's text and the icon are drawn at the screen's own resolution.
class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void layoutStaysLogical();
    void panelIsDrawnAtDeviceResolution();
    void iconStaysSharp();

private:
    static qreal Scale() { return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble(); }
};

void TestHiDpi::layoutStaysLogical()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.devicePixelRatioF(), Scale());
    QCOMPARE(form.size(), QSize(625, 341));
    QCOMPARE(form.Picture1->geometry(), QRect(8, 128, 609, 153));
    QCOMPARE(form.Command2->geometry(), QRect(568, 0, 57, 25));
    QCOMPARE(form.Label1->geometry(), QRect(136, 80, 97, 25));
    QCOMPARE(form.Label1->text(), QStringLiteral("3"));
}

void TestHiDpi::panelIsDrawnAtDeviceResolution()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage surface = form.Picture1->surface();
    QCOMPARE(surface.devicePixelRatio(), Scale());
    QCOMPARE(surface.size(), form.Picture1->contentsRect().size() * Scale());
    if (Scale() < 2) {
        return;
    }
    // Drawn at one pixel per logical pixel and blown up, the same line would look like this;
    // the panel's own line has finer edges, so the two differ.
    QImage coarse(form.Picture1->contentsRect().size(), QImage::Format_RGB32);
    coarse.fill(Qt::white);
    {
        QPainter painter(&coarse);
        painter.setFont(form.Picture1->font());
        painter.setPen(form.Picture1->palette().color(QPalette::WindowText));
        const QFontMetrics metrics(form.Picture1->font());
        painter.drawText(QPoint(0, metrics.height() + metrics.ascent()), form.Picture1->printedLines().at(1));
    }
    const QImage blownUp = coarse.scaled(surface.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                               .convertToFormat(surface.format());
    int differing = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            differing += surface.pixel(x, y) != blownUp.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY2(differing > 1000, qPrintable(QString::number(differing)));
    QCOMPARE(form.Picture1->grab().devicePixelRatio(), Scale());
}

void TestHiDpi::iconStaysSharp()
{
    Form1 form;
    const QImage icon = form.windowIcon().pixmap(QSize(32, 32), Scale()).toImage();
    QCOMPARE(icon.size(), QSize(32, 32) * Scale());
    if (Scale() != 1 && Scale() != 2) {
        return; // in between, the picture is resampled from the next larger size
    }
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y) | 0xff000000u;
            QVERIFY(p == qRgb(255, 255, 255) || p == qRgb(0, 0, 255) || p == qRgb(255, 0, 128));
        }
    }
}

PT_TEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
