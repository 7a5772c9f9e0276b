#include "cue_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace pythagoras {

CueOutput::CueOutput(std::shared_ptr<const std::atomic<quint64>> latest, QObject* parent)
    : QObject(parent)
    , latest_(std::move(latest))
{
}

CueOutput::~CueOutput()
{
    delete sink_;
}

bool CueOutput::ensureSink(int sampleRate, int channels, QString* why)
{
    if (sink_ != nullptr && sampleRate_ == sampleRate && channels_ == channels) {
        return true;
    }
    delete sink_;
    sink_ = nullptr;

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

void CueOutput::play(quint64 cue, const QByteArray& pcm, int sampleRate, int channels)
{
    stop();
    cue_ = cue;
    if (cue != latest_->load()) {
        return; // stopped or replaced before it could start
    }
    QString why;
    if (!ensureSink(sampleRate, channels, &why)) {
        emit unavailable(why);
        emit finished(cue);
        return;
    }
    buffer_.setData(pcm);
    buffer_.open(QIODevice::ReadOnly);
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        emit unavailable(QStringLiteral("the audio output did not start"));
        emit finished(cue);
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
