#pragma once

#include <QBuffer>
#include <QObject>
#include <atomic>
#include <memory>

class QAudioSink;

namespace pythagoras {

// Plays decoded cues through Qt's audio output. It lives on a thread of its own: Qt's PulseAudio
// output waits on the server while it opens a stream and runs an event loop when it is
// destroyed, and neither may ever hold up the window.
class CueOutput : public QObject {
    Q_OBJECT
public:
    // `latest` is the newest cue the window has asked for; an older request still waiting in the
    // queue is dropped instead of opening a stream only to stop it again.
    explicit CueOutput(std::shared_ptr<const std::atomic<quint64>> latest, QObject* parent = nullptr);
    ~CueOutput() override;

public slots:
    // Plays `pcm` (interleaved signed 16-bit) once from its beginning; what was playing stops.
    void play(quint64 cue, const QByteArray& pcm, int sampleRate, int channels);
    void stop();

signals:
    // The cue has played out, or could not be played at all.
    void finished(quint64 cue);
    void unavailable(const QString& why);

private:
    bool ensureSink(int sampleRate, int channels, QString* why);

    QAudioSink* sink_ = nullptr;
    QBuffer buffer_;
    int sampleRate_ = 0;
    int channels_ = 0;
    quint64 cue_ = 0;
    std::shared_ptr<const std::atomic<quint64>> latest_;
};

} // namespace pythagoras
