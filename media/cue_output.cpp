#include "cue_output.h"

#include "audio_probe.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace pythagoras {

bool CueMailbox::post(CueRequest request)
{
    const QMutexLocker lock(&mutex_);
    const bool wake = !pending_.has_value();
    pending_ = std::move(request);
    return wake;
}

std::optional<CueRequest> CueMailbox::take()
{
    const QMutexLocker lock(&mutex_);
    std::optional<CueRequest> request = std::move(pending_);
    pending_.reset();
    return request;
}

CueOutput::CueOutput(std::shared_ptr<CueMailbox> mailbox, QObject* parent)
    : QObject(parent)
    , mailbox_(std::move(mailbox))
{
}

CueOutput::~CueOutput()
{
    discardSink();
}

void CueOutput::discardSink()
{
    // Stopped first: Qt 6.4's PulseAudio sink runs pending events while it is destroyed, and a
    // feed still queued for a sink that is not stopped touches its stream after it is gone.
    stop();
    delete sink_;
    sink_ = nullptr;
}

void CueOutput::serve()
{
    const std::optional<CueRequest> request = mailbox_->take();
    if (!request) {
        return;
    }
    if (request->sound) {
        play(*request);
    } else {
        stop();
    }
}

bool CueOutput::ensureSink(int sampleRate, int channels, QString* why)
{
    if (sink_ != nullptr && sampleRate_ == sampleRate && channels_ == channels) {
        return true;
    }
    discardSink();

    // Until the server has answered once, ask it with a deadline before Qt waits on it unbounded.
    if (!serverAnswered_) {
        if (!AudioServerAnswers(1000)) {
            *why = QStringLiteral("no audio server answered");
            return false;
        }
        serverAnswered_ = true;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        *why = QStringLiteral("no audio output device");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        *why = QStringLiteral("the audio output cannot play %1 Hz with %2 channel(s)")
                   .arg(sampleRate)
                   .arg(channels);
        return false;
    }
    sink_ = new QAudioSink(device, format, this);
    sampleRate_ = sampleRate;
    channels_ = channels;
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Left idle, not stopped, so the output plays out what it already holds.
        if (state == QAudio::IdleState || state == QAudio::StoppedState) {
            emit finished(cue_);
        }
    });
    return true;
}

void CueOutput::play(const CueRequest& request)
{
    stop();
    cue_ = request.cue;
    QString why;
    if (!ensureSink(request.sampleRate, request.channels, &why)) {
        emit unavailable(why);
        emit finished(request.cue);
        return;
    }
    buffer_.setData(request.pcm);
    buffer_.open(QIODevice::ReadOnly);
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        emit unavailable(QStringLiteral("the audio output did not start"));
        emit finished(request.cue);
    }
}

void CueOutput::stop()
{
    if (sink_ != nullptr) {
        const QSignalBlocker quiet(sink_); // a stopped cue does not report itself finished
        sink_->stop();
    }
    buffer_.close();
}

} // namespace pythagoras
