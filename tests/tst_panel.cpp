#include "picture_box.h"

#include "test_support.h"

#include <QtTest>

using namespace pythagoras;

namespace {

// Rows of the surface (device pixels) that hold any non-white pixel.
QList<int> InkedRows(const QImage& surface)
{
    QList<int> rows;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixel(x, y) != qRgb(255, 255, 255)) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

// A panel on white, as the window has it.
std::unique_ptr<PictureBox> WhitePanel(QWidget& window, const QRect& geometry)
{
    auto panel = std::make_unique<PictureBox>(&window);
    panel->setGeometry(geometry);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

} // namespace

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void printMovesDownOneLineAndNeverWraps();
    void secondBlockStartsBelowTheFirst();
    void textPastTheLowerEdgeIsCutNotScrolled();
};

void TestPanel::printMovesDownOneLineAndNeverWraps()
{
    QWidget window;
    auto owned = WhitePanel(window, QRect(8, 128, 609, 153));
    PictureBox& panel = *owned;
    const int lineHeight = QFontMetrics(panel.font()).height();

    panel.print();
    QCOMPARE(panel.printPosition(), QPoint(0, lineHeight));
    QVERIFY(InkedRows(panel.surface()).isEmpty());

    const QString wide = QString(400, QChar(0x6570)); // far wider than the panel
    panel.print(wide);
    QCOMPARE(panel.printPosition(), QPoint(0, 2 * lineHeight));
    QCOMPARE(panel.printedLines(), QStringList({QString(), wide}));
    const QList<int> rows = InkedRows(panel.surface());
    QVERIFY(!rows.isEmpty());
    const qreal ratio = panel.surface().devicePixelRatio();
    QVERIFY(rows.first() >= lineHeight * ratio);
    QVERIFY(rows.last() < 2 * lineHeight * ratio); // the rest was cut, not continued below
}

void TestPanel::secondBlockStartsBelowTheFirst()
{
    QWidget window;
    auto owned = WhitePanel(window, QRect(8, 128, 609, 400));
    PictureBox& panel = *owned;
    const int lineHeight = QFontMetrics(panel.font()).height();
    for (int block = 0; block < 2; ++block) {
        panel.print();
        panel.print(QStringLiteral("ａ"));
    }
    QCOMPARE(panel.printPosition(), QPoint(0, 4 * lineHeight));
    const qreal ratio = panel.surface().devicePixelRatio();
    const QList<int> rows = InkedRows(panel.surface());
    QVERIFY(rows.first() >= lineHeight * ratio && rows.first() < 2 * lineHeight * ratio);
    QVERIFY(rows.last() >= 3 * lineHeight * ratio && rows.last() < 4 * lineHeight * ratio);
}

void TestPanel::textPastTheLowerEdgeIsCutNotScrolled()
{
    QWidget window;
    auto owned = WhitePanel(window, QRect(0, 0, 200, 40));
    PictureBox& panel = *owned;
    for (int i = 0; i < 10; ++i) {
        panel.print(QStringLiteral("行%1").arg(i));
    }
    const QImage first = panel.surface();
    panel.print(QStringLiteral("もう一行"));
    QCOMPARE(panel.surface(), first); // nothing moved up to make room
    QCOMPARE(panel.printedLines().size(), 11);
}

PT_TEST_MAIN(TestPanel)
#include "tst_panel.moc"
