// A bare Qt window with as many plain widgets as the program's, Qt Multimedia linked, and the
// same first-frame report; its "click" sets the four label texts directly.
#include "first_frame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Keeps Qt Multimedia loaded, as the program has it, without opening any audio.
    volatile const char* multimedia = QMediaDevices::staticMetaObject.className();
    (void)multimedia;
    const int clicks = ClicksAsked(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral(" ピタゴラス数"));
    window.setGeometry(206, 136, 625, 341);
    std::vector<QLabel*> labels;
    for (int i = 0; i < 10; ++i) {
        auto* label = new QLabel(QStringLiteral("ピタゴラス"), &window);
        label->setGeometry(10 + 60 * i, 80, 55, 25);
        labels.push_back(label);
    }
    for (const char* text : {"終了", "初期化", "次　へ"}) {
        auto* button = new QPushButton(QString::fromUtf8(text), &window);
        button->setGeometry(int(labels.size()) * 10, 296, 81, 25);
    }
    auto* panel = new QFrame(&window);
    panel->setGeometry(8, 128, 609, 153);
    new QWidget(&window);
    new QWidget(&window);

    std::vector<QString> a, b, c;
    for (int x = 4; x < 904; ++x) {
        a.push_back(QString::number(x));
        b.push_back(QString::number(x % 2 ? (x * x - 1) / 2 : (x / 2) * (x / 2) - 1));
        c.push_back(QString::number(x % 2 ? (x * x + 1) / 2 : (x / 2) * (x / 2) + 1));
    }
    FirstFrame frame(window, [&] {
        if (clicks > 0) {
            QElapsedTimer timer;
            qint64 spent = 0;
            for (int done = 0; done < clicks;) {
                QCoreApplication::processEvents();
                timer.start();
                for (int i = 0; i < 900 && done < clicks; ++i, ++done) {
                    labels[0]->setText(a[std::size_t(i)]);
                    labels[1]->setText(b[std::size_t(i)]);
                    labels[2]->setText(c[std::size_t(i)]);
                    labels[3]->setText(i % 2 ? QStringLiteral("＜プラトンの方法＞")
                                             : QStringLiteral("＜ピタゴラスの方法＞"));
                    QCoreApplication::processEvents();
                }
                spent += timer.nsecsElapsed();
            }
            std::printf("click %.0f ns\n", double(spent) / clicks);
        }
        Leave();
    });
    window.show();
    return app.exec();
}
