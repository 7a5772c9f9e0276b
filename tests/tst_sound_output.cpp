#include "chime.h"
#include "cue_control.h"
#include "mm_control.h"

#include "test_support.h"
#include <QProcess>
#include <QStandardPaths>

#include <QtTest>

using namespace pythagoras;

// Plays a cue on the real audio output and records what the default sink sends out through its
// monitor. The test environment gives PulseAudio a null sink, so nothing is heard, but the
// samples are real.
class TestSoundOutput : public QObject {
    Q_OBJECT

private slots:
    void cueReachesTheSpeakers_data();
    void cueReachesTheSpeakers();
};

namespace {

int Peak(const QByteArray& raw)
{
    int peak = 0;
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    for (qsizetype i = 0; i < raw.size() / 2; ++i) {
        peak = std::max(peak, std::abs(int(samples[i])));
    }
    return peak;
}

} // namespace

void TestSoundOutput::cueReachesTheSpeakers_data()
{
    AddCueNameRows();
}

void TestSoundOutput::cueReachesTheSpeakers()
{
    QFETCH(QString, name);
    QProcess probe;
    probe.start("pactl", {"info"});
    const bool server
        = probe.waitForFinished(3000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
    if (QStandardPaths::findExecutable("parec").isEmpty() || !server) {
        QSKIP("no PulseAudio server to record from");
    }
    QTemporaryDir dir;
    QString why;
    QVERIFY2(WriteCueFiles(dir.path(), &why), qPrintable(why));
    QDir::setCurrent(dir.path());

    QProcess recorder;
    recorder.start("parec",
        {"--device=@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--rate=44100", "--channels=1",
            "--latency-msec=20"});
    QVERIFY(recorder.waitForStarted());
    QTest::qWait(300);
    recorder.readAllStandardOutput();
    const QByteArray before = recorder.readAllStandardOutput();

    MMControl player;
    PlayCue(player, name);
    QTRY_COMPARE_WITH_TIMEOUT(player.state(), PlayerState::Open, 5000);
    QTest::qWait(300);
    recorder.terminate();
    QVERIFY(recorder.waitForFinished(3000));
    const QByteArray recorded = recorder.readAllStandardOutput();

    QVERIFY2(recorded.size() > 44100, qPrintable(QString::number(recorded.size())));
    QVERIFY2(Peak(recorded) > 3000, qPrintable(QString::number(Peak(recorded))));
    QVERIFY(Peak(before) < 100);
}

PT_TEST_MAIN(TestSoundOutput)
#include "tst_sound_output.moc"
