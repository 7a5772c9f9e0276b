#pragma once

#include <QBuffer>
#include <QMutex>
#include <QObject>
#include <memory>
#include <optional>

class QAudioSink;

namespace pythagoras {

// What the window last asked of the output: sound a cue, or stop. A newer request replaces an
// older one that the output has not taken yet, so however far the output falls behind, it holds
// at most one cue waiting.
struct CueRequest {
    quint64 cue = 0;
    bool sound = false;
    QByteArray pcm; // interleaved signed 16-bit
    int sampleRate = 0;
    int channels = 0;
};

class CueMailbox {
public:
    // True when the output has to be woken to take it.
    bool post(CueRequest request);
    std::optional<CueRequest> take();

private:
    QMutex mutex_;
    std::optional<CueRequest> pending_;
};

// Plays decoded cues through Qt's audio output. It lives on a thread of its own: Qt's PulseAudio
// output waits on the server while it opens a stream and runs an event loop when it is
// destroyed, and neither may ever hold up the window.
class CueOutput : public QObject {
    Q_OBJECT
public:
    explicit CueOutput(std::shared_ptr<CueMailbox> mailbox, QObject* parent = nullptr);
    ~CueOutput() override;

public slots:
    // Carries out the request waiting in the mailbox, if any.
    void serve();

signals:
    // The cue has played out, or could not be played at all.
    void finished(quint64 cue);
    void unavailable(const QString& why);

private:
    void play(const CueRequest& request);
    void stop();
    void discardSink();
    bool ensureSink(int sampleRate, int channels, QString* why);

    std::shared_ptr<CueMailbox> mailbox_;
    QAudioSink* sink_ = nullptr;
    QBuffer buffer_;
    int sampleRate_ = 0;
    int channels_ = 0;
    quint64 cue_ = 0;
    bool serverAnswered_ = false;
};

} // namespace pythagoras
