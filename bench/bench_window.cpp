// The program's own window, started as the program starts it.
#include "first_frame.h"
#include "form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int clicks = ClicksAsked(argc, argv);
    pythagoras::Form1 form;
    FirstFrame frame(form, [&] {
        if (clicks > 0) {
            QElapsedTimer timer;
            qint64 spent = 0;
            for (int done = 0; done < clicks;) {
                // Back to the start outside the timing, without the reset cue.
                form.triple() = pythagoras::TripleState{3, 4, 5};
                form.Command1->setEnabled(true);
                QCoreApplication::processEvents();
                timer.start();
                for (int i = 0; i < 900 && done < clicks; ++i, ++done) {
                    emit form.Command1->clicked();
                    QCoreApplication::processEvents(); // the changed labels repaint
                }
                spent += timer.nsecsElapsed();
            }
            std::printf("click %.0f ns\n", double(spent) / clicks);
        }
        Leave();
    });
    form.show();
    return app.exec();
}
