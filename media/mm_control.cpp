#include "mm_control.h"

#include "cue_output.h"

#include <QDir>
#include <QThread>

namespace pythagoras {

MMControl::MMControl(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

MMControl::~MMControl()
{
    if (thread_ == nullptr) {
        return;
    }
    thread_->quit(); // the output is deleted on its own thread as that thread finishes
    if (!thread_->wait(QDeadlineTimer(2000))) {
        // The audio server has the output stuck; the window does not wait for it. The thread is
        // left to the end of the process (which skips library teardown) rather than destroyed
        // while it runs.
        qWarning("the audio output did not close in time");
        return;
    }
    delete thread_;
}

void MMControl::setFileName(const QString& name)
{
    // Takes effect at the next "Open".
    fileName_ = name;
}

void MMControl::setCommand(const QString& word)
{
    if (word.compare(QLatin1String("Stop"), Qt::CaseInsensitive) == 0) {
        stopCue();
    } else if (word.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
        closeFile();
    } else if (word.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0) {
        openFile();
    } else if (word.compare(QLatin1String("Sound"), Qt::CaseInsensitive) == 0) {
        soundCue();
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

void MMControl::stopCue()
{
    if (state_ != PlayerState::Sounding) {
        return; // nothing sounding: no effect, nothing reported
    }
    post(false);
    setState(PlayerState::Open);
}

void MMControl::closeFile()
{
    stopCue();
    cue_.reset();
    setState(PlayerState::NothingOpen);
}

void MMControl::openFile()
{
    closeFile();
    QString why;
    cue_ = DecodeCue(QDir::current().absoluteFilePath(fileName_), &why);
    if (!cue_) {
        qWarning("cue \"%s\" is silent: %s", qUtf8Printable(fileName_), qUtf8Printable(why));
        return;
    }
    setState(PlayerState::Open);
}

void MMControl::startOutput()
{
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("cue output"));
    mailbox_ = std::make_shared<CueMailbox>();
    output_ = new CueOutput(mailbox_);
    output_->moveToThread(thread_);
    connect(thread_, &QThread::finished, output_, &QObject::deleteLater);
    connect(output_, &CueOutput::finished, this, [this](quint64 cue) {
        if (cue == sounding_ && state_ == PlayerState::Sounding) {
            setState(PlayerState::Open); // the cue has run out; the file stays open
        }
    });
    connect(output_, &CueOutput::unavailable, this, [](const QString& why) {
        static QString said;
        if (why != said) { // once, not at every cue
            qWarning("cues are silent: %s", qUtf8Printable(why));
            said = why;
        }
    });
    thread_->start();
}

void MMControl::soundCue()
{
    if (state_ == PlayerState::NothingOpen) {
        return; // the failed "Open" has said why already
    }
    if (thread_ == nullptr) {
        startOutput();
    }
    post(true);
    setState(PlayerState::Sounding);
}

void MMControl::post(bool sound)
{
    CueRequest request;
    request.cue = ++sounding_;
    request.sound = sound;
    if (sound) {
        request.pcm = cue_->pcm;
        request.sampleRate = cue_->sampleRate;
        request.channels = cue_->channels;
    }
    if (mailbox_->post(std::move(request))) {
        QMetaObject::invokeMethod(output_, &CueOutput::serve, Qt::QueuedConnection);
    }
}

} // namespace pythagoras
