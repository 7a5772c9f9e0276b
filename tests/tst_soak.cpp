#include "chime.h"
#include "cue_control.h"
#include "form1.h"
#include "mm_control.h"
#include "test_support.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <unistd.h>

using namespace pythagoras;

namespace {

qint64 ResidentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

// Counts warnings instead of printing thousands of them.
int g_warnings = 0;
void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtWarningMsg) {
        ++g_warnings;
    }
}

} // namespace

// Long runs and bursts: memory and descriptors come back to where they were, nothing waits.
class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void manyClicksAndCuesLeaveNothingBehind();
    void burstOfClicksWhileACueSounds();
    void exitClickedAgainWhileItsQuestionIsOpen();

private:
    QTemporaryDir dir_;
    QString savedCwd_;
    QtMessageHandler previousHandler_ = nullptr;
};

void TestSoak::initTestCase()
{
    QString why;
    QVERIFY2(WriteCueFiles(dir_.path(), &why), qPrintable(why));
    QFile garbage(dir_.filePath("broken.wav"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray("RIFF\x10\0\0\0WAVEjunk", 16));
    garbage.close();
    savedCwd_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
}

void TestSoak::cleanup()
{
    if (previousHandler_ != nullptr) {
        qInstallMessageHandler(previousHandler_);
        previousHandler_ = nullptr;
    }
}

void TestSoak::manyClicksAndCuesLeaveNothingBehind()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    MMControl player;
    previousHandler_ = qInstallMessageHandler(CountWarnings);

    // Warm up: the audio output, fonts and caches are made once and kept.
    for (int i = 0; i < 20; ++i) {
        form.Command2->click();
        PlayCue(player, i % 2 ? "pinpon.wav" : "broken.wav");
        QCoreApplication::processEvents();
    }
    QTest::qWait(200);
    const qint64 rssBefore = ResidentBytes();
    const int fdsBefore = OpenDescriptors();
    g_warnings = 0;

    qint64 slowest = 0;
    QElapsedTimer each;
    const int clicks = 100000;
    for (int i = 0; i < clicks; ++i) {
        each.start();
        (i % 50 == 49 ? form.Command2 : form.Command1)->click();
        slowest = std::max(slowest, each.nsecsElapsed());
        if (i % 100 == 0) {
            QCoreApplication::processEvents();
        }
    }
    const int cues = 2000;
    for (int i = 0; i < cues; ++i) {
        each.start();
        PlayCue(player, i % 10 == 9 ? "broken.wav" : (i % 2 ? "pinpon.wav" : "endpinpon.wav"));
        slowest = std::max(slowest, each.nsecsElapsed());
        QCoreApplication::processEvents();
    }
    player.setCommand("Stop");
    player.setCommand("Close");
    form.Command2->click();
    QTest::qWait(500); // the output settles on its own thread

    const qint64 rssGrowth = ResidentBytes() - rssBefore;
    const int fdsAfter = OpenDescriptors();
    cleanup();
    qInfo("slowest click or cue %.2f ms; resident memory %+lld KiB; descriptors %d -> %d; %d warnings",
        double(slowest) / 1e6, rssGrowth / 1024, fdsBefore, fdsAfter, g_warnings);
    QCOMPARE(g_warnings, cues / 10); // one for each broken cue, nothing else
    QVERIFY(fdsAfter <= fdsBefore);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer holds freed memory back in quarantine
    QVERIFY2(rssGrowth < 2 * 1024 * 1024, qPrintable(QString::number(rssGrowth)));
#endif
    QVERIFY2(slowest < 100'000'000, qPrintable(QString::number(slowest)));
    QCOMPARE(form.Label1->text(), QStringLiteral("3"));
}

void TestSoak::burstOfClicksWhileACueSounds()
{
    Form1 form;
    form.show();
    form.Command2->click(); // the reset cue starts
    QCOMPARE(form.MMControl1->state(), PlayerState::Sounding);
    for (int i = 0; i < 301; ++i) {
        QTest::mouseClick(form.Command1, Qt::LeftButton);
    }
    QCOMPARE(form.Label1->text(), QStringLiteral("304"));
    QCOMPARE(form.Label2->text(), QStringLiteral("23103"));
    QCOMPARE(form.Label3->text(), QStringLiteral("23105"));
    QCOMPARE(form.Label8->text(), QStringLiteral("＜プラトンの方法＞"));
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(form.Command2, Qt::LeftButton);
    }
    QCOMPARE(form.Label1->text(), QStringLiteral("3"));
    QCOMPARE(form.MMControl1->fileName(), QStringLiteral("pinpon.wav"));
}

void TestSoak::exitClickedAgainWhileItsQuestionIsOpen()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setProgramEnd([](int) { QFAIL("No was the answer"); });
    int questions = 0;
    WhenModalAppears([&](QWidget* box) {
        ++questions;
        // Clicks on the window, through the window system, while the question is up.
        const QPoint exit = form.Command3->geometry().center();
        const QPoint next = form.Command1->geometry().center();
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, exit);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, next);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeModalWidget(), box);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                     [](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->isVisible(); }),
            1);
        static_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
    });
    QTest::mouseClick(form.Command3, Qt::LeftButton);
    QCOMPARE(questions, 1);
    QCOMPARE(form.Label1->text(), QStringLiteral("3"));
}

PT_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
