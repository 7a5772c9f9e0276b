#include "mm_control.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QDir>
#include <QMediaDevices>

namespace pythagoras {

MMControl::MMControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

MMControl::~MMControl()
{
    if (sink_ != nullptr) {
        sink_->stop();
    }
}

void MMControl::setFileName(const QString& name)
{
    // Takes effect at the next "Open".
    fileName_ = name;
}

void MMControl::setCommand(const QString& word)
{
    if (word.compare(QLatin1String("Stop"), Qt::CaseInsensitive) == 0) {
        stop();
    } else if (word.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
        close();
    } else if (word.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0) {
        open();
    } else if (word.compare(QLatin1String("Sound"), Qt::CaseInsensitive) == 0) {
        sound();
    } else {
        throw PlayerError("unknown player command: " + word.toStdString());
    }
}

void MMControl::setState(PlayerState state)
{
    if (state_ != state) {
        state_ = state;
        emit stateChanged(state);
    }
}

void MMControl::stop()
{
    if (state_ != PlayerState::Sounding) {
        return;  // nothing sounding: no effect, nothing reported
    }
    if (sink_ != nullptr) {
        sink_->stop();
    }
    setState(PlayerState::Open);
}

void MMControl::close()
{
    stop();
    if (state_ == PlayerState::NothingOpen) {
        return;
    }
    buffer_.close();
    buffer_.setData(QByteArray());
    cue_.reset();
    setState(PlayerState::NothingOpen);
}

void MMControl::open()
{
    close();
    QString why;
    const QString path = QDir::current().absoluteFilePath(fileName_);
    cue_ = DecodeCue(path, &why);
    if (!cue_) {
        qWarning("cue \"%s\" is silent: %s", qUtf8Printable(fileName_), qUtf8Printable(why));
        return;
    }
    buffer_.setData(cue_->pcm);
    buffer_.open(QIODevice::ReadOnly);
    setState(PlayerState::Open);
}

bool MMControl::ensureSink()
{
    if (sink_ != nullptr && sinkRate_ == cue_->sampleRate && sinkChannels_ == cue_->channels) {
        return true;
    }
    delete sink_;
    sink_ = nullptr;

    static bool warnedNoDevice = false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        if (!warnedNoDevice) {
            qWarning("no audio output device: cues are silent");
            warnedNoDevice = true;
        }
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(cue_->sampleRate);
    format.setChannelCount(cue_->channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        qWarning("cue \"%s\" is silent: the audio output cannot play %d Hz with %d channel(s)",
                 qUtf8Printable(fileName_), cue_->sampleRate, cue_->channels);
        return false;
    }
    sink_ = new QAudioSink(device, format, this);
    sinkRate_ = cue_->sampleRate;
    sinkChannels_ = cue_->channels;
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
        // The sound has run out: the file stays open and silent. The sink is left idle rather
        // than stopped, so the output plays out what it already holds.
        if (s == QAudio::IdleState && state_ == PlayerState::Sounding) {
            setState(PlayerState::Open);
        }
    });
    return true;
}

void MMControl::sound()
{
    if (state_ == PlayerState::NothingOpen) {
        return;  // the failed "Open" has said why already
    }
    if (sink_ != nullptr) {
        sink_->stop();
    }
    if (!ensureSink()) {
        return;
    }
    buffer_.seek(0);
    setState(PlayerState::Sounding);
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError) {
        qWarning("cue \"%s\" is silent: the audio output did not start", qUtf8Printable(fileName_));
        sink_->stop();
        setState(PlayerState::Open);
    }
}

}  // namespace pythagoras
