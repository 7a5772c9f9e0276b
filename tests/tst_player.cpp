#include "audio_probe.h"
#include "chime.h"
#include "cue_control.h"
#include "mm_control.h"

#include "test_support.h"
#include <QAudioDevice>
#include <QLocalServer>
#include <QMediaDevices>

#include <QtTest>
#include <sndfile.h>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace pythagoras;

Q_DECLARE_METATYPE(PlayerState)

namespace {

class RecordingPlayer : public CueControl {
public:
    QStringList writes;
    void setCommand(const QString& word) override { writes << "Command=" + word; }
    void setFileName(const QString& name) override { writes << "FileName=" + name; }
};

bool WriteSamples(const QString& path, int format, int rate, int channels, double seconds)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const auto frames = static_cast<sf_count_t>(seconds * rate);
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.3f * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
    }
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    sf_close(file);
    return ok;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void playCueWritesFiveCommandsInOrder_data();
    void playCueWritesFiveCommandsInOrder();
    void unknownWordIsAnError();
    void stopAndCloseWithNothingOpenDoNothing();
    void soundsOpenFilesAndMovesBetweenStates();
    void replaysFromTheBeginningAndSwitchesFiles();
    void openResolvesTheBareNameAtThatMoment();
    void readsCommonWaveVariants_data();
    void readsCommonWaveVariants();
    void badCueFilesAreSilentAndNeverWait_data();
    void badCueFilesAreSilentAndNeverWait();
    void longFilesAreCut();
    void decodingClosesOnlyItsOwnDescriptor_data();
    void decodingClosesOnlyItsOwnDescriptor();
    void audioServerIsAskedWithADeadline_data();
    void audioServerIsAskedWithADeadline();

private:
    QTemporaryDir dir_;
    QString savedCwd_;
    bool audio_ = false;
};

void TestPlayer::initTestCase()
{
    QVERIFY(dir_.isValid());
    audio_ = !QMediaDevices::defaultAudioOutput().isNull();
    QString why;
    QVERIFY2(WriteCueFiles(dir_.path(), &why), qPrintable(why));
}

void TestPlayer::init()
{
    savedCwd_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
}

void TestPlayer::cleanup()
{
    QDir::setCurrent(savedCwd_);
}

void TestPlayer::playCueWritesFiveCommandsInOrder_data()
{
    AddCueNameRows();
}

void TestPlayer::playCueWritesFiveCommandsInOrder()
{
    QFETCH(QString, name);
    RecordingPlayer player;
    PlayCue(player, name);
    QCOMPARE(player.writes,
        QStringList({"Command=Stop", "Command=Close", "FileName=" + name, "Command=Open", "Command=Sound"}));
}

void TestPlayer::unknownWordIsAnError()
{
    MMControl player;
    QVERIFY_THROWS_EXCEPTION(PlayerError, player.setCommand(QStringLiteral("Play")));
    QVERIFY_THROWS_EXCEPTION(PlayerError, player.setCommand(QString()));
    QCOMPARE(player.state(), PlayerState::NothingOpen);
}

void TestPlayer::stopAndCloseWithNothingOpenDoNothing()
{
    MMControl player;
    QSignalSpy changes(&player, &MMControl::stateChanged);
    player.setCommand("Stop");
    player.setCommand("Close");
    player.setCommand("Sound"); // nothing open: silent, and no second warning
    QCOMPARE(changes.count(), 0);
    QVERIFY(!player.outputStarted());
}

void TestPlayer::soundsOpenFilesAndMovesBetweenStates()
{
    MMControl player;
    player.setFileName("pinpon.wav");
    QCOMPARE(player.state(), PlayerState::NothingOpen); // the name alone changes nothing
    player.setCommand("Open");
    QCOMPARE(player.state(), PlayerState::Open);
    player.setCommand("Sound");
    QCOMPARE(player.state(), PlayerState::Sounding);
    // The cue plays out (or, with no audio device, is dropped at once) and the file stays open.
    QTRY_COMPARE_WITH_TIMEOUT(player.state(), PlayerState::Open, 5000);
    player.setCommand("Sound");
    QCOMPARE(player.state(), PlayerState::Sounding);
    player.setCommand("Stop");
    QCOMPARE(player.state(), PlayerState::Open);
    player.setCommand("Close");
    QCOMPARE(player.state(), PlayerState::NothingOpen);
}

void TestPlayer::replaysFromTheBeginningAndSwitchesFiles()
{
    if (!audio_) {
        QSKIP("no audio output device: a cue cannot be caught sounding");
    }
    MMControl player;
    PlayCue(player, "endpinpon.wav");
    QCOMPARE(player.state(), PlayerState::Sounding);
    QTest::qWait(100);
    QElapsedTimer timer;
    timer.start();
    PlayCue(player, "pinpon.wav"); // stops and closes the exit cue while it sounds
    QVERIFY(timer.elapsed() < 200);
    QCOMPARE(player.fileName(), QStringLiteral("pinpon.wav"));
    QCOMPARE(player.state(), PlayerState::Sounding);
    // A second start restarts the cue: it is still sounding well after the first would have ended.
    QTest::qWait(500);
    PlayCue(player, "pinpon.wav");
    QTest::qWait(600);
    QCOMPARE(player.state(), PlayerState::Sounding);
    QTRY_COMPARE_WITH_TIMEOUT(player.state(), PlayerState::Open, 5000);
}

void TestPlayer::openResolvesTheBareNameAtThatMoment()
{
    MMControl player;
    player.setFileName("pinpon.wav");
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cue \"pinpon.wav\" is silent: .*"));
    player.setCommand("Open");
    QCOMPARE(player.state(), PlayerState::NothingOpen);
    QDir::setCurrent(dir_.path());
    player.setCommand("Open");
    QCOMPARE(player.state(), PlayerState::Open);
    QCOMPARE(player.fileName(), QStringLiteral("pinpon.wav"));
}

void TestPlayer::readsCommonWaveVariants_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addRow("8-bit unsigned") << (SF_FORMAT_WAV | SF_FORMAT_PCM_U8) << 22050 << 1;
    QTest::addRow("16-bit stereo") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 44100 << 2;
    QTest::addRow("24-bit 48 kHz") << (SF_FORMAT_WAV | SF_FORMAT_PCM_24) << 48000 << 1;
    QTest::addRow("32-bit float") << (SF_FORMAT_WAV | SF_FORMAT_FLOAT) << 44100 << 1;
    QTest::addRow("IMA ADPCM") << (SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM) << 11025 << 1;
    QTest::addRow("mu-law") << (SF_FORMAT_WAV | SF_FORMAT_ULAW) << 8000 << 1;
    QTest::addRow("six channels keep two") << (SF_FORMAT_WAVEX | SF_FORMAT_PCM_16) << 48000 << 6;
}

void TestPlayer::readsCommonWaveVariants()
{
    QFETCH(int, format);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QVERIFY(WriteSamples(dir_.filePath("variant.wav"), format, rate, channels, 0.2));
    QString why;
    const auto cue = DecodeCue(dir_.filePath("variant.wav"), &why);
    QVERIFY2(cue.has_value(), qPrintable(why));
    QCOMPARE(cue->sampleRate, rate);
    QCOMPARE(cue->channels, std::min(channels, 2));
    QVERIFY(cue->pcm.size() >= int(0.19 * rate) * cue->channels * 2);

    MMControl player;
    PlayCue(player, "variant.wav");
    QCOMPARE(player.state(), PlayerState::Sounding);
}

void TestPlayer::badCueFilesAreSilentAndNeverWait_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("missing") << "missing";
    QTest::addRow("empty") << "empty";
    QTest::addRow("header only") << "header";
    QTest::addRow("garbage") << "garbage";
    QTest::addRow("text") << "text";
    QTest::addRow("unknown compression") << "codec";
    QTest::addRow("folder") << "folder";
    QTest::addRow("named pipe") << "fifo";
    QTest::addRow("unreadable") << "unreadable";
}

void TestPlayer::badCueFilesAreSilentAndNeverWait()
{
    QFETCH(QString, kind);
    QTemporaryDir bad;
    const QString path = bad.filePath("pinpon.wav");
    const QByteArray good = Contents(dir_.filePath("pinpon.wav"));
    if (kind == "empty") {
        WriteBytes(path, QByteArray());
    } else if (kind == "header") {
        WriteBytes(path, good.left(30));
    } else if (kind == "garbage") {
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i) {
            noise[i] = char((i * 7919) ^ (i >> 3));
        }
        WriteBytes(path, noise);
    } else if (kind == "text") {
        WriteBytes(path, "ピンポン\n");
    } else if (kind == "codec") {
        QByteArray wav = good;
        wav[20] = char(0x55); // format tag of a compression nobody here decodes
        wav[21] = char(0x77);
        WriteBytes(path, wav);
    } else if (kind == "folder") {
        QVERIFY(QDir(bad.path()).mkdir("pinpon.wav"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    } else if (kind == "unreadable") {
        WriteBytes(path, good);
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (::geteuid() == 0) {
            QFile::remove(path); // root reads anything: make it a dangling link instead
            QVERIFY(QFile::link(bad.filePath("nowhere.wav"), path));
        }
    }

    QDir::setCurrent(bad.path());
    MMControl player;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cue \"pinpon.wav\" is silent: .+"));
    QElapsedTimer timer;
    timer.start();
    PlayCue(player, "pinpon.wav");
    QVERIFY2(timer.elapsed() < 250, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(player.state(), PlayerState::NothingOpen);
    QVERIFY(!player.outputStarted());

    // The next cue is not held up by the bad one.
    QDir::setCurrent(dir_.path());
    PlayCue(player, "endpinpon.wav");
    QCOMPARE(player.state(), PlayerState::Sounding);
}

void TestPlayer::longFilesAreCut()
{
    // A header that claims far more than is there, and a real minute of sound.
    QVERIFY(WriteSamples(dir_.filePath("minute.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 60));
    QString why;
    QElapsedTimer timer;
    timer.start();
    const auto cue = DecodeCue(dir_.filePath("minute.wav"), &why);
    QVERIFY(cue.has_value());
    QCOMPARE(cue->pcm.size(), MaxCueSeconds * 8000 * 2);
    QVERIFY(timer.elapsed() < 1000);

    QByteArray truncated = Contents(dir_.filePath("pinpon.wav"));
    truncated.chop(truncated.size() / 2);
    WriteBytes(dir_.filePath("half.wav"), truncated);
    const auto half = DecodeCue(dir_.filePath("half.wav"), &why);
    QVERIFY2(half.has_value(), qPrintable(why)); // what is there still plays
    QVERIFY(half->pcm.size() < Contents(dir_.filePath("pinpon.wav")).size());
}

void TestPlayer::decodingClosesOnlyItsOwnDescriptor_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addRow("good cue") << Contents(dir_.filePath("pinpon.wav"));
    QTest::addRow("garbage after a wave header") << QByteArray("RIFF\x10\0\0\0WAVEjunk", 16);
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("header only") << Contents(dir_.filePath("pinpon.wav")).left(30);
}

// The audio output opens its server socket on another thread while cues are decoded. A descriptor
// closed twice by the decoder would be that socket, reused under the same number.
void TestPlayer::decodingClosesOnlyItsOwnDescriptor()
{
    QFETCH(QByteArray, contents);
    WriteBytes(dir_.filePath("cue.wav"), contents);
    std::atomic<bool> done { false };
    std::atomic<int> lost { 0 };
    std::thread neighbour([&] {
        while (!done) {
            int ends[2];
            if (::pipe(ends) != 0) {
                continue;
            }
            std::this_thread::yield();
            for (int end : ends) {
                if (::fcntl(end, F_GETFD) < 0) {
                    ++lost;
                } else {
                    ::close(end);
                }
            }
        }
    });
    QString why;
    for (int i = 0; i < 3000 && lost == 0; ++i) {
        DecodeCue(dir_.filePath("cue.wav"), &why);
    }
    done = true;
    neighbour.join();
    QCOMPARE(lost.load(), 0);
}

void TestPlayer::audioServerIsAskedWithADeadline_data()
{
    QTest::addColumn<QString>("server");
    QTest::addRow("nothing listening") << "nothing";
    QTest::addRow("listening but never answering") << "stalled";
}

void TestPlayer::audioServerIsAskedWithADeadline()
{
    QFETCH(QString, server);
    QTemporaryDir dir;
    const QString socket = dir.filePath("native");
    QLocalServer stalled; // accepts the connection, then says nothing
    if (server == "stalled") {
        QVERIFY(stalled.listen(socket));
    }
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:" + socket.toLocal8Bit());
    QElapsedTimer timer;
    timer.start();
    const bool answered = AudioServerAnswers(400);
    const qint64 elapsed = timer.elapsed();
    qputenv("PULSE_SERVER", saved);
    if (saved.isEmpty()) {
        qunsetenv("PULSE_SERVER");
    }
    QVERIFY(!answered);
    QVERIFY2(elapsed < 900, qPrintable(QString::number(elapsed)));
    if (audio_) {
        QVERIFY(AudioServerAnswers(2000)); // the real one still answers
    }
}

PT_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
